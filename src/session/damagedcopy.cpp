#include "session/damagedcopy.h"

#include "session/keptcopy.h"
#include "session/nativepath.h"

#include <QFileInfo>

#include <dirent.h>
#include <sys/stat.h>

#include <optional>
#include <string>

namespace {

// An earlier damaged copy of the journal that holds exactly `bytes`.
std::optional<QString> identicalCopy(const QString &journalPath, const std::string &bytes)
{
    const QFileInfo journal(journalPath);
    const std::string folder = nativePath(journal.absolutePath());
    const std::string prefix = nativePath(journal.fileName()) + "." + keptcopykind::damaged + "-";
    DIR *directory = ::opendir(folder.c_str());
    if (directory == nullptr) {
        return std::nullopt;
    }
    std::optional<QString> found;
    while (const dirent *entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        if (!name.starts_with(prefix)) {
            continue;
        }
        const std::string path = folder + "/" + name;
        struct stat status {};
        // Sizes first: a copy of other bytes is passed over without reading it.
        if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
            static_cast<std::uint64_t>(status.st_size) != bytes.size()) {
            continue;
        }
        std::string copy;
        std::string error;
        if (readFileBytes(path, copy, error) && copy == bytes) {
            found = QFile::decodeName(QByteArray::fromStdString(path));
            break;
        }
    }
    ::closedir(directory);
    return found;
}

} // namespace

QString damagedCopyPath(const QString &journalPath, const QDate &day)
{
    return keptCopyPath(journalPath, keptcopykind::damaged,
                        day.toString(QStringLiteral("yyyyMMdd")));
}

DamagedCopy keepDamagedCopy(const QString &journalPath, const QDate &day)
{
    DamagedCopy copy;
    std::string bytes;
    std::string error;
    if (!readFileBytes(nativePath(journalPath), bytes, error, &copy.problem)) {
        copy.systemReason = QString::fromLocal8Bit(error);
        return copy;
    }
    return keepDamagedCopy(journalPath, bytes, day);
}

DamagedCopy keepDamagedCopy(const QString &journalPath, const std::string &bytes, const QDate &day)
{
    DamagedCopy copy;
    const unsigned journalBits = journalPermissions(journalPath).value_or(0600);
    if (const std::optional<QString> earlier = identicalCopy(journalPath, bytes)) {
        struct stat status {};
        const std::string native = nativePath(*earlier);
        if (::lstat(native.c_str(), &status) == 0 && (status.st_mode & 0777 & ~journalBits) != 0)
            ::chmod(native.c_str(), status.st_mode & journalBits & 0777);
        copy.path = *earlier;
        copy.alreadyKept = true;
        return copy;
    }
    const KeptCopy kept = keepCopy(journalPath, bytes, damagedCopyPath(journalPath, day));
    copy.path = kept.path;
    copy.problem = kept.problem;
    copy.systemReason = kept.systemReason;
    return copy;
}
