#include "session/journalcompanion.h"

#include "session/keptcopy.h"

#include "journal/safesave.h"

#include <QFile>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace {

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileId &) const = default;
};

std::optional<FileId> fileIdOf(const std::string &path, bool followLinks = true)
{
    struct stat status {};
    const int result = followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status);
    if (result != 0) {
        return std::nullopt;
    }
    return FileId{status.st_dev, status.st_ino};
}

// The companions of the journal named `journal.baseName` in `journal.directory`
// that exist there now, by device and inode.
void addCompanionIds(const PathParts &journal, std::vector<FileId> &ids)
{
    DIR *folder = ::opendir(journal.directory.c_str());
    if (folder == nullptr) {
        return;
    }
    while (const dirent *entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (!isCompanionName(journal.baseName, name)) {
            continue;
        }
        if (const auto id = fileIdOf(joinPath(journal.directory, name))) {
            ids.push_back(*id);
        }
    }
    ::closedir(folder);
}

// Whether path's name is a companion name of the journal, in the journal's
// folder (the same folder by device and inode, however it is spelled).
bool hasCompanionName(const PathParts &journal, const std::optional<FileId> &journalFolder,
                      const std::string &path)
{
    const PathParts candidate = splitPath(path);
    if (!journalFolder || !isCompanionName(journal.baseName, candidate.baseName)) {
        return false;
    }
    return fileIdOf(candidate.directory) == journalFolder;
}

} // namespace

bool isCompanionName(const std::string &journalName, const std::string &name)
{
    if (journalName.empty()) {
        return false;
    }
    if (name == "." + journalName + recoverySuffix) {
        return true;
    }
    if (!name.starts_with(journalName)) {
        return false;
    }
    const std::string_view rest = std::string_view(name).substr(journalName.size());
    static constexpr std::array<std::string_view, 4> whole{"", ".bak", ".lock", ".lock.rmlock"};
    for (const std::string_view suffix : whole) {
        if (rest == suffix) {
            return true;
        }
    }
    for (const char *kind : keptcopykind::all) {
        if (rest.starts_with("." + std::string(kind) + "-")) {
            return true;
        }
    }
    return false;
}

bool isJournalCompanion(const std::string &journalPath, const std::string &candidatePath)
{
    // The journal's companions sit beside its path (the kept copies) and
    // beside the file its links end in (the .bak and the lock).
    const std::array<PathParts, 2> journals{splitPath(journalPath),
                                            splitPath(saveTarget(journalPath))};
    // What a write to the candidate would write, and the name as given.
    const std::array<std::string, 2> candidates{candidatePath, saveTarget(candidatePath)};

    for (const PathParts &journal : journals) {
        const auto folder = fileIdOf(journal.directory);
        for (const std::string &candidate : candidates) {
            if (hasCompanionName(journal, folder, candidate)) {
                return true;
            }
        }
    }

    const auto candidateId = fileIdOf(candidatePath);
    if (!candidateId) {
        return false;
    }
    std::vector<FileId> ids;
    if (const auto journalId = fileIdOf(journalPath)) {
        ids.push_back(*journalId);
    }
    for (const PathParts &journal : journals) {
        addCompanionIds(journal, ids);
    }
    for (const FileId &id : ids) {
        if (id == *candidateId) {
            return true;
        }
    }
    return false;
}

bool isJournalCompanion(const QString &journalPath, const QString &candidatePath)
{
    return isJournalCompanion(QFile::encodeName(journalPath).toStdString(),
                              QFile::encodeName(candidatePath).toStdString());
}
