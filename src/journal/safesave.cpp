#include "journal/safesave.h"

#include "journal/folder.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string systemReason(int error)
{
    return std::strerror(error);
}

// Closes a descriptor on every path out of a function unless released.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now and reports the result; on Linux the descriptor is gone
    // even when close() fails, so it is never closed twice.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

constexpr std::size_t temporarySuffixLength = 8;
// The last two characters of the suffix check the six random ones before
// them, so that the clean-up of interrupted saves recognises a name this
// code made and leaves alone a user's own ".zph0001.txt.20261208" or
// ".zph0001.txt.original", which have the same length and alphabet.
constexpr std::size_t temporaryCheckLength = 2;
constexpr char temporaryAlphabet[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t temporaryAlphabetSize = sizeof temporaryAlphabet - 1;

std::string temporaryCheck(std::string_view randomPart)
{
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : randomPart) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return {temporaryAlphabet[hash % temporaryAlphabetSize],
            temporaryAlphabet[(hash / temporaryAlphabetSize) % temporaryAlphabetSize]};
}

// A name nobody else is likely to pick, hidden, beside the target: a rename
// is atomic only within one file system, so the temporary file must be in
// the target's own directory.
std::string temporaryName(const std::string &baseName)
{
    static std::mt19937_64 generator{
        std::random_device{}() ^ static_cast<std::uint64_t>(::getpid()) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::string suffix(temporarySuffixLength - temporaryCheckLength, 'x');
    for (char &c : suffix) {
        c = temporaryAlphabet[generator() % temporaryAlphabetSize];
    }
    suffix += temporaryCheck(suffix);
    return "." + baseName + "." + suffix;
}

constexpr int maxNameAttempts = 100;

// Writes all of bytes, resuming after short writes and signals.
int writeAll(int fd, std::string_view bytes)
{
    const char *next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            // A regular file accepts at least one byte unless the device is full.
            return ENOSPC;
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

int syncFile(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

// The rename is on disk only once its directory is; failing that is not
// reported because the new file is already in place (and some file systems
// do not support syncing a directory at all).
void syncDirectory(int folder)
{
    // A folder held by its path alone (O_PATH) cannot be synced: a new
    // descriptor of it can, when the folder may be read.
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

constexpr int maxLinkHops = 40; // as the kernel's own limit on a path's links

// The folder and name a save writes: the name given, or what its chain of
// symbolic links names in the end (also when that does not exist yet). A
// link into another folder opens that folder, relative to the link's own.
struct SaveTarget {
    Folder held; // the target's folder when it is not the one given
    int folder = AT_FDCWD;
    std::string name;
    int error = 0; // the target's folder cannot be opened
};

// Splits path (relative to base) into its folder, opened when it is not
// base itself, and its last name.
bool locate(SaveTarget &target, int base, const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        target.folder = base;
        target.name = path;
        return true;
    }
    target.held = Folder::openAt(base, slash == 0 ? "/" : path.substr(0, slash), &target.error);
    if (!target.held.isOpen()) {
        return false;
    }
    target.folder = target.held.fd();
    target.name = path.substr(slash + 1);
    return true;
}

SaveTarget resolveTarget(int folder, const std::string &name)
{
    SaveTarget target;
    if (!locate(target, folder, name)) {
        return target;
    }
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        struct stat status {};
        if (target.name.empty() ||
            ::fstatat(target.folder, target.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISLNK(status.st_mode)) {
            return target;
        }
        std::string link(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t length =
            ::readlinkat(target.folder, target.name.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) {
            return target;
        }
        link.resize(static_cast<std::size_t>(length));
        SaveTarget next;
        if (!locate(next, target.folder, link)) {
            return next;
        }
        if (next.held.isOpen()) {
            target = std::move(next);
        } else {
            target.name = std::move(next.name); // in the same folder
        }
    }
    return target;
}

struct OriginalFile {
    bool exists = false;
    struct stat status {};
};

// Permission bits asked for by the caller; none keeps the original's (or the
// kernel's default for a new file).
using Permissions = std::optional<unsigned>;

// How creating and filling a temporary file went: 0, or the errno value and
// whether it came from creating the file or from writing it.
struct TemporaryFileResult {
    int error = 0;
    bool creating = false;
};

// Creates a temporary file beside the target, fills it with bytes and
// flushes it to disk. On success the caller owns temporaryPath (renames it
// or removes it); on failure nothing is left behind.
TemporaryFileResult writeTemporaryFile(int folder, const std::string &baseName,
                                       std::string_view bytes, const OriginalFile &original,
                                       std::string &temporaryPath,
                                       Permissions permissions = std::nullopt)
{
    int fd = -1;
    for (int attempt = 0; attempt < maxNameAttempts && fd < 0; ++attempt) {
        temporaryPath = temporaryName(baseName);
        // A new file gets 0666 less the umask from the kernel; a replacement
        // starts private and takes the old file's bits below.
        // Asked-for bits are set below, so the file is private until then.
        const mode_t mode = original.exists || permissions ? 0600 : 0666;
        fd = ::openat(folder, temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST) {
            return {errno, true};
        }
    }
    if (fd < 0) {
        return {EEXIST, true};
    }
    FileDescriptor file(fd);
    const auto fail = [&](int error) {
        file.close();
        ::unlinkat(folder, temporaryPath.c_str(), 0);
        return TemporaryFileResult{error, false};
    };

    if (original.exists) {
        const struct stat &old = original.status;
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            // Only possible with privileges; without them the file simply
            // belongs to whoever saves it, as any new file would.
            [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        }
        // After fchown, which may clear the set-id bits.
        ::fchmod(fd, old.st_mode & 07777);
    }
    if (permissions) {
        ::fchmod(fd, static_cast<mode_t>(*permissions & 0777));
    }
    if (const int error = writeAll(fd, bytes); error != 0) {
        return fail(error);
    }
    if (const int error = syncFile(fd); error != 0) {
        return fail(error);
    }
    // After a successful fsync an EINTR from close() loses nothing.
    if (file.close() != 0 && errno != EINTR) {
        const int error = errno;
        ::unlinkat(folder, temporaryPath.c_str(), 0);
        return {error, false};
    }
    return {};
}

void fail(SaveResult &result, std::string message, FileProblem problem, std::string reason)
{
    result.error = std::move(message) + ": " + reason;
    result.problem = problem;
    result.systemReason = std::move(reason);
}

void describe(SaveResult &result, const TemporaryFileResult &failure, const std::string &path)
{
    fail(result,
         failure.creating ? "Cannot create a file in the folder of " + path
                          : "Cannot write " + path,
         fileProblemOf(failure.error), systemReason(failure.error));
}

bool isAlphanumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Whether name is prefix followed by exactly the eight characters temporaryName adds.
bool isTemporaryNameOf(std::string_view name, std::string_view prefix)
{
    if (name.size() != prefix.size() + temporarySuffixLength || !name.starts_with(prefix)) {
        return false;
    }
    const std::string_view suffix = name.substr(prefix.size());
    for (const char c : suffix) {
        if (!isAlphanumeric(c)) {
            return false;
        }
    }
    const std::size_t randomLength = temporarySuffixLength - temporaryCheckLength;
    return suffix.substr(randomLength) == temporaryCheck(suffix.substr(0, randomLength));
}

// Keeps the version about to be replaced as target + ".bak". A hard link
// costs no space and no copying; where links are not supported the file is
// copied. Either way the .bak is replaced by a rename, so an existing one is
// never left half-written. Sets the result's backup warning on failure.
void keepPreviousVersion(SaveResult &result, const SaveTarget &target, const OriginalFile &original)
{
    const std::string backupName = target.name + ".bak";
    const auto warn = [&](FileProblem problem, std::string reason) {
        result.backupWarning = "Cannot keep the previous version as " + backupName + ": " + reason;
        result.backupProblem = problem;
        result.backupSystemReason = std::move(reason);
    };
    const int folder = target.folder;
    std::string linkName;
    int linkError = EEXIST;
    for (int attempt = 0; attempt < maxNameAttempts && linkError == EEXIST; ++attempt) {
        linkName = temporaryName(backupName);
        linkError =
            ::linkat(folder, target.name.c_str(), folder, linkName.c_str(), 0) == 0 ? 0 : errno;
    }
    if (linkError == 0) {
        if (::renameat(folder, linkName.c_str(), folder, backupName.c_str()) == 0) {
            // When the .bak is already a hard link of the target (a user's
            // "ln zph0001.txt zph0001.txt.bak"), rename() between two links
            // of one file does nothing and leaves the temporary link: the
            // .bak then holds the previous version anyway.
            ::unlinkat(folder, linkName.c_str(), 0);
            return;
        }
        const int error = errno;
        ::unlinkat(folder, linkName.c_str(), 0);
        warn(fileProblemOf(error), systemReason(error));
        return;
    }

    std::string oldBytes;
    std::string readError;
    FileProblem readProblem = FileProblem::none;
    if (!readFileBytes(folder, target.name, oldBytes, readError, &readProblem)) {
        warn(readProblem, readError);
        return;
    }
    std::string copyName;
    if (const auto failure = writeTemporaryFile(folder, backupName, oldBytes, original, copyName);
        failure.error != 0) {
        warn(fileProblemOf(failure.error), systemReason(failure.error));
        return;
    }
    if (::renameat(folder, copyName.c_str(), folder, backupName.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(folder, copyName.c_str(), 0);
        warn(fileProblemOf(error), systemReason(error));
    }
}

} // namespace

FileProblem fileProblemOf(int errorNumber)
{
    switch (errorNumber) {
    case 0:
        return FileProblem::none;
    case ENOSPC:
    case EDQUOT:
        return FileProblem::noSpace;
    case EROFS:
        return FileProblem::readOnlyFileSystem;
    case EACCES:
    case EPERM:
        return FileProblem::permissionDenied;
    case ENOENT:
    case ENOTDIR:
        return FileProblem::notFound;
    case EISDIR:
    case ENXIO:
    case ENODEV:
        return FileProblem::notRegularFile;
    case EFBIG:
        return FileProblem::tooLarge;
    default:
        return FileProblem::other;
    }
}

bool readFileBytes(const std::string &path, std::string &bytes, std::string &error,
                   FileProblem *problem)
{
    return readFileBytes(AT_FDCWD, path, bytes, error, problem);
}

bool readFileBytes(int folder, const std::string &name, std::string &bytes, std::string &error,
                   FileProblem *problem)
{
    const auto fail = [&](FileProblem kind, std::string reason) {
        error = std::move(reason);
        if (problem) {
            *problem = kind;
        }
        return false;
    };
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int openError = errno;
        return fail(fileProblemOf(openError), systemReason(openError));
    }
    FileDescriptor file(fd);
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int statError = errno;
        return fail(fileProblemOf(statError), systemReason(statError));
    }
    if (!S_ISREG(status.st_mode)) {
        return fail(FileProblem::notRegularFile,
                    S_ISDIR(status.st_mode) ? systemReason(EISDIR) : "not a regular file");
    }
    if (static_cast<std::uint64_t>(status.st_size) > maxReadableFileBytes) {
        return fail(FileProblem::tooLarge, systemReason(EFBIG));
    }
    std::string buffer;
    // One more byte than the size so that the end is found in one read.
    buffer.resize(status.st_size > 0 ? static_cast<std::size_t>(status.st_size) + 1 : 64 * 1024);
    std::size_t used = 0;
    for (;;) {
        if (used == buffer.size()) {
            // A file that grows while it is read still stops at the limit.
            if (used > maxReadableFileBytes) {
                return fail(FileProblem::tooLarge, systemReason(EFBIG));
            }
            buffer.resize(buffer.size() * 2);
        }
        const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int readError = errno;
            return fail(fileProblemOf(readError), systemReason(readError));
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    if (used > maxReadableFileBytes) {
        return fail(FileProblem::tooLarge, systemReason(EFBIG));
    }
    buffer.resize(used);
    bytes = std::move(buffer);
    return true;
}

std::string saveTarget(const std::string &path)
{
    std::string target = path;
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return target;
        }
        std::string link(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size()) {
            return target;
        }
        link.resize(static_cast<std::size_t>(length));
        // A relative link is relative to the folder the link is in.
        target = link.starts_with('/') ? link : joinPath(splitPath(target).directory, link);
    }
    return target;
}

int removeSaveLeftovers(const std::string &path)
{
    return removeSaveLeftovers(AT_FDCWD, path);
}

int removeSaveLeftovers(int folder, const std::string &name)
{
    const SaveTarget target = resolveTarget(folder, name);
    if (target.error != 0 || target.name.empty()) {
        return 0;
    }
    // A descriptor of its own: a listing moves the descriptor's position.
    const int listed = ::openat(target.folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *directory = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (directory == nullptr) {
        if (listed >= 0) {
            ::close(listed);
        }
        return 0;
    }
    const std::string prefix = "." + target.name + ".";
    const std::string backupPrefix = "." + target.name + ".bak.";
    int removed = 0;
    while (const dirent *entry = ::readdir(directory)) {
        const std::string_view entryName = entry->d_name;
        if (!isTemporaryNameOf(entryName, prefix) && !isTemporaryNameOf(entryName, backupPrefix)) {
            continue;
        }
        struct stat status {};
        if (::fstatat(target.folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && ::unlinkat(target.folder, entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    ::closedir(directory);
    return removed;
}

SaveResult saveFileAtomically(const std::string &path, std::string_view bytes, bool keepBackup,
                              std::optional<unsigned> permissions)
{
    return saveFileAtomically(AT_FDCWD, path, bytes, keepBackup, permissions);
}

SaveResult saveFileAtomically(int folder, const std::string &name, std::string_view bytes,
                              bool keepBackup, std::optional<unsigned> permissions)
{
    SaveResult result;
    // Renaming over a link would turn it into a plain file and leave the file
    // it names behind unchanged.
    const SaveTarget target = resolveTarget(folder, name);
    if (target.error != 0) {
        fail(result, "Cannot create a file in the folder of " + name, fileProblemOf(target.error),
             systemReason(target.error));
        return result;
    }
    if (target.name.empty()) {
        fail(result, "Cannot write " + name, FileProblem::notRegularFile, systemReason(EISDIR));
        return result;
    }

    OriginalFile original;
    if (::fstatat(target.folder, target.name.c_str(), &original.status, 0) == 0) {
        original.exists = true;
        if (!S_ISREG(original.status.st_mode)) {
            fail(result, "Cannot write " + name, FileProblem::notRegularFile,
                 S_ISDIR(original.status.st_mode) ? systemReason(EISDIR) : "not a regular file");
            return result;
        }
        // Root passes the access check on any file; the missing write bits
        // still say that the user wants the file left alone.
        const bool writable =
            ::faccessat(target.folder, target.name.c_str(), W_OK, AT_EACCESS) == 0;
        if (!writable && errno == EROFS) {
            fail(result, "Cannot write " + name, FileProblem::readOnlyFileSystem,
                 systemReason(EROFS));
            return result;
        }
        if (!writable || (original.status.st_mode & 0222) == 0) {
            fail(result, "Cannot write " + name, FileProblem::readOnlyFile,
                 "the file is read-only");
            return result;
        }
    } else if (errno != ENOENT) {
        const int error = errno;
        fail(result, "Cannot write " + name, fileProblemOf(error), systemReason(error));
        return result;
    }

    std::string temporaryName;
    if (const auto failure = writeTemporaryFile(target.folder, target.name, bytes, original,
                                                temporaryName, permissions);
        failure.error != 0) {
        describe(result, failure, name);
        return result;
    }

    if (keepBackup && original.exists) {
        keepPreviousVersion(result, target, original);
    }

    if (::renameat(target.folder, temporaryName.c_str(), target.folder, target.name.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(target.folder, temporaryName.c_str(), 0);
        fail(result, "Cannot replace " + name, fileProblemOf(error), systemReason(error));
        return result;
    }
    syncDirectory(target.folder);
    result.saved = true;
    return result;
}

SaveResult saveBackupOf(int folder, const std::string &name, std::string_view bytes,
                        std::optional<unsigned> permissions)
{
    const SaveTarget target = resolveTarget(folder, name);
    if (target.error != 0 || target.name.empty()) {
        SaveResult result;
        fail(result, "Cannot write the .bak of " + name,
             fileProblemOf(target.error != 0 ? target.error : EISDIR),
             systemReason(target.error != 0 ? target.error : EISDIR));
        return result;
    }
    return saveFileAtomically(target.folder, target.name + ".bak", bytes, false, permissions);
}

SaveResult saveNewFile(const std::string &path, std::string_view bytes,
                       std::optional<unsigned> permissions)
{
    return saveNewFile(AT_FDCWD, path, bytes, permissions);
}

SaveResult saveNewFile(int folder, const std::string &name, std::string_view bytes,
                       std::optional<unsigned> permissions)
{
    SaveResult result;
    SaveTarget target;
    if (!locate(target, folder, name)) {
        fail(result, "Cannot create a file in the folder of " + name, fileProblemOf(target.error),
             systemReason(target.error));
        return result;
    }
    std::string temporaryName;
    if (const auto failure = writeTemporaryFile(target.folder, target.name, bytes, OriginalFile{},
                                                temporaryName, permissions);
        failure.error != 0) {
        describe(result, failure, name);
        return result;
    }
    const int linked =
        ::linkat(target.folder, temporaryName.c_str(), target.folder, target.name.c_str(), 0) == 0
            ? 0
            : errno;
    ::unlinkat(target.folder, temporaryName.c_str(), 0);
    if (linked != 0) {
        fail(result, "Cannot create " + name, fileProblemOf(linked), systemReason(linked));
        return result;
    }
    syncDirectory(target.folder);
    result.saved = true;
    return result;
}

PathParts splitPath(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

std::string joinPath(const std::string &directory, const std::string &name)
{
    return directory == "/" ? "/" + name : directory + "/" + name;
}
