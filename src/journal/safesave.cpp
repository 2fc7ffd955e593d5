#include "journal/safesave.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

struct PathParts {
    std::string directory; // never empty: "." for a bare name
    std::string baseName;
};

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

// A name nobody else is likely to pick, hidden, beside the target: a rename
// is atomic only within one file system, so the temporary file must be in
// the target's own directory.
std::string temporaryName(const std::string &directory, const std::string &baseName)
{
    static std::mt19937_64 generator{
        std::random_device{}() ^ static_cast<std::uint64_t>(::getpid()) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    static constexpr char alphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix(8, 'x');
    for (char &c : suffix) {
        c = alphabet[generator() % (sizeof alphabet - 1)];
    }
    return joinPath(directory, "." + baseName + "." + suffix);
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
void syncDirectory(const std::string &directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

struct OriginalFile {
    bool exists = false;
    struct stat status {};
};

// How creating and filling a temporary file went: 0, or the errno value and
// whether it came from creating the file or from writing it.
struct TemporaryFileResult {
    int error = 0;
    bool creating = false;
};

// Creates a temporary file beside the target, fills it with bytes and
// flushes it to disk. On success the caller owns temporaryPath (renames it
// or removes it); on failure nothing is left behind.
TemporaryFileResult writeTemporaryFile(const PathParts &parts, std::string_view bytes,
                                       const OriginalFile &original, std::string &temporaryPath)
{
    int fd = -1;
    for (int attempt = 0; attempt < maxNameAttempts && fd < 0; ++attempt) {
        temporaryPath = temporaryName(parts.directory, parts.baseName);
        // A new file gets 0666 less the umask from the kernel; a replacement
        // starts private and takes the old file's bits below.
        const mode_t mode = original.exists ? 0600 : 0666;
        fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
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
        ::unlink(temporaryPath.c_str());
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
    if (const int error = writeAll(fd, bytes); error != 0) {
        return fail(error);
    }
    if (const int error = syncFile(fd); error != 0) {
        return fail(error);
    }
    // After a successful fsync an EINTR from close() loses nothing.
    if (file.close() != 0 && errno != EINTR) {
        const int error = errno;
        ::unlink(temporaryPath.c_str());
        return {error, false};
    }
    return {};
}

std::string describe(const TemporaryFileResult &failure, const PathParts &parts,
                     const std::string &path)
{
    return failure.creating
               ? "Cannot create a file in " + parts.directory + ": " + systemReason(failure.error)
               : "Cannot write " + path + ": " + systemReason(failure.error);
}

// Keeps the version about to be replaced as target + ".bak". A hard link
// costs no space and no copying; where links are not supported the file is
// copied. Either way the .bak is replaced by a rename, so an existing one is
// never left half-written. Returns a warning, empty on success.
std::string keepPreviousVersion(const std::string &target, const PathParts &parts,
                                const OriginalFile &original)
{
    const std::string backupPath = target + ".bak";
    std::string linkPath;
    int linkError = EEXIST;
    for (int attempt = 0; attempt < maxNameAttempts && linkError == EEXIST; ++attempt) {
        linkPath = temporaryName(parts.directory, parts.baseName + ".bak");
        linkError = ::link(target.c_str(), linkPath.c_str()) == 0 ? 0 : errno;
    }
    if (linkError == 0) {
        if (::rename(linkPath.c_str(), backupPath.c_str()) == 0) {
            return {};
        }
        const int error = errno;
        ::unlink(linkPath.c_str());
        return "Cannot keep the previous version as " + backupPath + ": " + systemReason(error);
    }

    std::string oldBytes;
    std::string readError;
    if (!readFileBytes(target, oldBytes, readError)) {
        return "Cannot keep the previous version as " + backupPath + ": " + readError;
    }
    std::string copyPath;
    const PathParts backupParts{parts.directory, parts.baseName + ".bak"};
    if (const auto failure = writeTemporaryFile(backupParts, oldBytes, original, copyPath);
        failure.error != 0) {
        return "Cannot keep the previous version as " + backupPath + ": " +
               systemReason(failure.error);
    }
    if (::rename(copyPath.c_str(), backupPath.c_str()) != 0) {
        const int error = errno;
        ::unlink(copyPath.c_str());
        return "Cannot keep the previous version as " + backupPath + ": " + systemReason(error);
    }
    return {};
}

} // namespace

bool readFileBytes(const std::string &path, std::string &bytes, std::string &error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = systemReason(errno);
        return false;
    }
    FileDescriptor file(fd);
    std::string buffer;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        // One more byte than the size so that the end is found in one read.
        buffer.resize(static_cast<std::size_t>(status.st_size) + 1);
    } else {
        buffer.resize(64 * 1024);
    }
    std::size_t used = 0;
    for (;;) {
        if (used == buffer.size()) {
            buffer.resize(buffer.size() * 2);
        }
        const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = systemReason(errno);
            return false;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    buffer.resize(used);
    bytes = std::move(buffer);
    return true;
}

SaveResult saveFileAtomically(const std::string &path, std::string_view bytes, bool keepBackup)
{
    SaveResult result;
    std::string target = path;
    struct stat linkStatus {};
    if (::lstat(path.c_str(), &linkStatus) == 0 && S_ISLNK(linkStatus.st_mode)) {
        // Renaming over the link would turn it into a plain file and leave
        // the file it names behind unchanged.
        if (char *resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }

    OriginalFile original;
    if (::stat(target.c_str(), &original.status) == 0) {
        original.exists = true;
        if (!S_ISREG(original.status.st_mode)) {
            const int error = S_ISDIR(original.status.st_mode) ? EISDIR : EINVAL;
            result.error = "Cannot write " + path + ": " +
                           (error == EISDIR ? systemReason(error) : "not a regular file");
            return result;
        }
    } else if (errno != ENOENT) {
        result.error = "Cannot write " + path + ": " + systemReason(errno);
        return result;
    }

    const PathParts parts = splitPath(target);
    if (parts.baseName.empty()) {
        result.error = "Cannot write " + path + ": " + systemReason(EISDIR);
        return result;
    }

    std::string temporaryPath;
    if (const auto failure = writeTemporaryFile(parts, bytes, original, temporaryPath);
        failure.error != 0) {
        result.error = describe(failure, parts, path);
        return result;
    }

    if (keepBackup && original.exists) {
        result.backupWarning = keepPreviousVersion(target, parts, original);
    }

    if (::rename(temporaryPath.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporaryPath.c_str());
        result.error = "Cannot replace " + path + ": " + systemReason(error);
        return result;
    }
    syncDirectory(parts.directory);
    result.saved = true;
    return result;
}
