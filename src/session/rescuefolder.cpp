#include "session/rescuefolder.h"

#include "session/nativepath.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Names of the rescue files not yet told, one a line, appended by each
// writer (O_APPEND keeps two writers' lines whole).
constexpr char noticeName[] = ".untold";

constexpr mode_t privateFolderMode = 0700;
constexpr unsigned privateFileMode = 0600;
constexpr int maxRescueNames = 100;

QString dataHome()
{
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and ignored, as the basedir rules say.
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// "zph0001.txt" -> "zph0001"; a name without an extension (or a hidden one
// with only its leading dot) stays as it is.
std::string stemOf(const std::string &name)
{
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

} // namespace

QString rescueFolderPath()
{
    return dataHome() + QStringLiteral("/zephalonte/rescue");
}

Folder openRescueFolder(int *error)
{
    const std::string path = nativePath(rescueFolderPath());
    // Every missing folder on the way is made private: the user's data folder
    // may not exist yet on a fresh account.
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), privateFolderMode) != 0 && errno != EEXIST)
            break; // opening says why
        if (slash == std::string::npos)
            break;
    }
    Folder folder = Folder::open(path, error);
    struct stat status {};
    if (folder.isOpen() && ::fstat(folder.fd(), &status) == 0 &&
        (status.st_mode & 07777) != privateFolderMode && status.st_uid == ::geteuid())
        ::fchmod(folder.fd(), privateFolderMode);
    return folder;
}

RescueFile writeRescueFile(const Folder &rescueFolder, const std::string &journalName,
                           std::string_view bytes, const QDateTime &when)
{
    RescueFile file;
    const std::string base =
        stemOf(journalName) + "-" + when.toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    SaveResult saved;
    std::string name;
    for (int n = 1; n <= maxRescueNames; ++n) {
        name = base + (n > 1 ? "-" + std::to_string(n) : std::string()) + ".txt";
        saved = saveNewFile(rescueFolder.fd(), name, bytes, privateFileMode);
        if (saved.saved || saved.problem != FileProblem::other ||
            saved.systemReason != std::strerror(EEXIST))
            break;
    }
    if (!saved.saved) {
        file.problem = saved.problem;
        file.systemReason = QString::fromLocal8Bit(saved.systemReason);
        return file;
    }
    file.path = rescueFolderPath() + QLatin1Char('/') + QFile::decodeName(name.c_str());
    const int notice = ::openat(rescueFolder.fd(), noticeName,
                                O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, privateFileMode);
    if (notice >= 0) {
        const std::string line = name + "\n";
        [[maybe_unused]] const ssize_t written = ::write(notice, line.data(), line.size());
        ::close(notice);
    }
    return file;
}

QStringList takeRescueNotices()
{
    QStringList paths;
    const Folder folder = Folder::open(nativePath(rescueFolderPath()));
    if (!folder.isOpen())
        return paths;
    // Taken under a name of this process's own first, so that a line a
    // writer appends meanwhile goes to a new list instead of being lost.
    const std::string taken = std::string(noticeName) + "." + std::to_string(::getpid());
    if (::renameat(folder.fd(), noticeName, folder.fd(), taken.c_str()) != 0)
        return paths;
    std::string lines;
    std::string error;
    readFileBytes(folder.fd(), taken, lines, error);
    ::unlinkat(folder.fd(), taken.c_str(), 0);
    for (std::size_t start = 0; start < lines.size();) {
        std::size_t end = lines.find('\n', start);
        if (end == std::string::npos)
            end = lines.size();
        const std::string name = lines.substr(start, end - start);
        start = end + 1;
        struct stat status {};
        if (name.empty() || name.find('/') != std::string::npos ||
            ::fstatat(folder.fd(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode))
            continue;
        const QString path =
            rescueFolderPath() + QLatin1Char('/') + QFile::decodeName(name.c_str());
        if (!paths.contains(path))
            paths << path;
    }
    return paths;
}

std::string rescueLogName(const EditLogHeader &header)
{
    char identity[64];
    std::snprintf(identity, sizeof identity, "%llx-%llx",
                  static_cast<unsigned long long>(header.folderDevice),
                  static_cast<unsigned long long>(header.folderInode));
    return "." + header.journalName + "." + identity + ".recovery";
}
