#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What went wrong with a file, in the terms a user can act on. The user
// interface words each kind in the user's language; the system's own text
// travels beside it.
enum class FileProblem {
    none,
    noSpace,            // the disk or the user's quota is full
    readOnlyFileSystem, // the whole file system refuses writes
    permissionDenied,   // the folder or the file may not be used by this user
    readOnlyFile,       // the file itself is marked read-only
    notFound,           // the file or its folder does not exist
    notRegularFile,     // a folder, a FIFO, a device
    tooLarge,           // beyond maxReadableFileBytes
    other,
};

// The kind of an errno value.
FileProblem fileProblemOf(int errorNumber);

// No journal comes near this size (a century of days is under 4 MiB); a file
// beyond it is read no further instead of filling the memory.
inline constexpr std::uint64_t maxReadableFileBytes = 256ull * 1024 * 1024;

struct SaveResult {
    // True when the file now holds exactly the given bytes. When false, the
    // file at the path is exactly as it was before the call and no temporary
    // file is left behind.
    bool saved = false;
    // Why the file could not be written (English, with the system's reason).
    std::string error;
    FileProblem problem = FileProblem::none;
    std::string systemReason; // the system's text alone, e.g. strerror
    // Set when the file was written but its previous version could not be
    // kept as path + ".bak"; the old .bak, if any, is then still whole.
    std::string backupWarning;
    FileProblem backupProblem = FileProblem::none;
    std::string backupSystemReason;
};

// The one way this program writes a file. The bytes go to a new file in the
// same directory, which is flushed to disk and then renamed over the target,
// so a crash or a full disk never leaves a truncated file in its place. The
// new file keeps the permission bits of the one it replaces (a new file gets
// 0666 less the umask). A file the user made read-only is not replaced:
// renaming over it needs only the folder's permission, which would defeat the
// user's intent. With keepBackup, the version being replaced is kept as
// path + ".bak" first; that is best effort and never stops the save. A
// symbolic link at the path, also a dangling one, is followed: the file it
// names is written and the link stays.
//
// permissions, when given, are the permission bits the written file gets
// instead (companions of a journal take the journal's, which may be private).
SaveResult saveFileAtomically(const std::string &path, std::string_view bytes, bool keepBackup,
                              std::optional<unsigned> permissions = std::nullopt);

// Each function on a path also comes taking a folder's descriptor (see
// journal/folder.h, or AT_FDCWD) and a name in that folder: the journal's
// companions are written relative to the folder the session holds, so that
// they follow it when it is renamed or moved, and a deleted folder fails
// with notFound instead of a folder of the same name taking the files.
SaveResult saveFileAtomically(int folder, const std::string &name, std::string_view bytes,
                              bool keepBackup, std::optional<unsigned> permissions = std::nullopt);

// Writes bytes as the .bak of the file a save of `name` writes (beside the
// end of its chain of links), replacing the .bak atomically: for a version
// kept as the .bak although it is not the file's current one.
SaveResult saveBackupOf(int folder, const std::string &name, std::string_view bytes,
                        std::optional<unsigned> permissions = std::nullopt);

// Writes bytes to a new file at path, never over an existing one: the bytes
// go to a temporary file first, which is then linked in under the final name
// (a link fails rather than replace). Used for copies that must never
// overwrite an older copy.
SaveResult saveNewFile(const std::string &path, std::string_view bytes,
                       std::optional<unsigned> permissions = std::nullopt);
SaveResult saveNewFile(int folder, const std::string &name, std::string_view bytes,
                       std::optional<unsigned> permissions = std::nullopt);

// The file a save to path writes: path itself, or what its chain of symbolic
// links names in the end (also when that does not exist yet).
std::string saveTarget(const std::string &path);

// Removes the hidden temporary files that saves of path left behind when the
// program was killed during a save (".<name>.XXXXXXXX" and
// ".<name>.bak.XXXXXXXX" beside the target, exactly as the save names them).
// Only safe while no other save of the same file can run: the caller holds
// the file's lock. Returns how many were removed.
int removeSaveLeftovers(const std::string &path);
int removeSaveLeftovers(int folder, const std::string &name);

// Reads the whole regular file at path into bytes. On failure bytes is
// untouched, error holds the system's reason and *problem (when given) its
// kind. A folder, a FIFO or a device is refused without reading (a FIFO
// would block) and so is a file over maxReadableFileBytes.
bool readFileBytes(const std::string &path, std::string &bytes, std::string &error,
                   FileProblem *problem = nullptr);
bool readFileBytes(int folder, const std::string &name, std::string &bytes, std::string &error,
                   FileProblem *problem = nullptr);

// A path's folder and last name, as saves and the journal's companions take
// paths apart and put them together again.
struct PathParts {
    std::string directory; // never empty: "." for a bare name
    std::string baseName;
};
PathParts splitPath(const std::string &path);
std::string joinPath(const std::string &directory, const std::string &name);
