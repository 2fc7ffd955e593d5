#include "session/damagedcopy.h"

#include "session/keptcopy.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace {

// An earlier damaged copy of the journal that holds exactly `bytes`: its name.
std::optional<std::string> identicalCopy(int folder, const std::string &journalName,
                                         const std::string &bytes)
{
    const std::string prefix = journalName + "." + keptcopykind::damaged + "-";
    // A descriptor of its own: a listing moves the descriptor's position.
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *directory = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (directory == nullptr) {
        if (listed >= 0)
            ::close(listed);
        return std::nullopt;
    }
    std::optional<std::string> found;
    while (const dirent *entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        if (!name.starts_with(prefix))
            continue;
        struct stat status {};
        // Sizes first: a copy of other bytes is passed over without reading it.
        if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode) || static_cast<std::uint64_t>(status.st_size) != bytes.size())
            continue;
        std::string copy;
        std::string error;
        if (readFileBytes(folder, name, copy, error) && copy == bytes) {
            found = name;
            break;
        }
    }
    ::closedir(directory);
    return found;
}

} // namespace

DamagedCopy keepDamagedCopy(int folder, const std::string &journalName, const std::string &bytes,
                            const QDate &day, const QString &folderPath)
{
    DamagedCopy copy;
    const unsigned journalBits = journalPermissions(folder, journalName).value_or(0600);
    if (const std::optional<std::string> earlier = identicalCopy(folder, journalName, bytes)) {
        struct stat status {};
        if (::fstatat(folder, earlier->c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            (status.st_mode & 0777 & ~journalBits) != 0) {
            // Best effort: the copy is kept either way.
            [[maybe_unused]] const int narrowed =
                ::fchmodat(folder, earlier->c_str(), status.st_mode & journalBits & 0777, 0);
        }
        copy.path = folderPath + QLatin1Char('/') + QFile::decodeName(earlier->c_str());
        copy.alreadyKept = true;
        return copy;
    }
    const KeptCopy kept = keepCopy(folder, journalName, bytes,
                                   keptCopyName(folder, journalName, keptcopykind::damaged,
                                                day.toString(QStringLiteral("yyyyMMdd"))),
                                   folderPath);
    copy.path = kept.path;
    copy.problem = kept.problem;
    copy.systemReason = kept.systemReason;
    return copy;
}
