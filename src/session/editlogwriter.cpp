#include "session/editlogwriter.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

EditLogWriter::EditLogWriter() : worker_([this] { syncLoop(); })
{
}

EditLogWriter::~EditLogWriter()
{
    {
        std::lock_guard lock(wakeMutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
    closeLog();
}

namespace {

bool sameFolder(const Folder &a, const Folder &b)
{
    struct stat first {};
    struct stat second {};
    return a.isOpen() && b.isOpen() && ::fstat(a.fd(), &first) == 0 &&
           ::fstat(b.fd(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// ".XXXXXX" as mkstemp would make it: the session recognises a killed
// writer's leftover by this shape.
std::string temporarySuffix()
{
    static constexpr char alphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937_64 generator{
        std::random_device{}() ^ static_cast<std::uint64_t>(::getpid()) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::string suffix = ".";
    for (int i = 0; i < 6; ++i)
        suffix += alphabet[generator() % (sizeof alphabet - 1)];
    return suffix;
}

constexpr int maxNameAttempts = 100;

} // namespace

void EditLogWriter::retarget(Folder folder, const std::string &name, const std::string &shownPath)
{
    closeLog();
    unwritten_.clear();
    {
        std::lock_guard lock(fdMutex_);
        folder_ = std::move(folder);
    }
    name_ = name;
    path_ = shownPath;
}

void EditLogWriter::setTarget(const std::string &path, const EditLogHeader &header,
                              std::optional<unsigned> permissions)
{
    if (path.empty()) {
        retarget(Folder(), std::string(), std::string());
    } else if (path != path_ || !folder_.isOpen()) {
        const std::size_t slash = path.rfind('/');
        retarget(Folder::open(slash == std::string::npos ? "."
                              : slash == 0               ? "/"
                                                         : path.substr(0, slash)),
                 slash == std::string::npos ? path : path.substr(slash + 1), path);
    }
    header_ = header;
    permissions_ = permissions;
}

void EditLogWriter::setTarget(const Folder &folder, const std::string &name,
                              const std::string &shownPath, const EditLogHeader &header,
                              std::optional<unsigned> permissions)
{
    if (name != name_ || !sameFolder(folder, folder_))
        retarget(folder.duplicate(), name, shownPath);
    path_ = shownPath;
    header_ = header;
    permissions_ = permissions;
}

void EditLogWriter::closeLog()
{
    std::lock_guard lock(fdMutex_);
    if (fd_ >= 0) {
        ::fdatasync(fd_);
        ::close(fd_);
    }
    fd_ = -1;
    length_ = 0;
}

void EditLogWriter::startOver(const EditLogHeader &header)
{
    closeLog();
    unwritten_.clear();
    header_ = header;
    if (folder_.isOpen() && !name_.empty())
        ::unlinkat(folder_.fd(), name_.c_str(), 0);
    if (failing_)
        report(false, 0);
}

void EditLogWriter::rebase(const EditLogHeader &header)
{
    closeLog();
    unwritten_.clear();
    header_ = header;
}

bool EditLogWriter::create(std::string &bytes, int &error)
{
    if (!folder_.isOpen()) {
        error = ENOENT;
        return false;
    }
    const int folder = folder_.fd();
    const mode_t mode = static_cast<mode_t>(permissions_.value_or(0600) & 07777);
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < maxNameAttempts && fd < 0; ++attempt) {
        temporary = name_ + temporarySuffix();
        fd = ::openat(folder, temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        error = errno;
        return false;
    }
    bool written = ::fchmod(fd, mode) == 0;
    for (std::size_t done = 0; written && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        written = n > 0;
        if (written)
            done += static_cast<std::size_t>(n);
        else if (n == 0)
            errno = ENOSPC;
    }
    if (written && ::renameat(folder, temporary.c_str(), folder, name_.c_str()) != 0)
        written = false;
    if (!written) {
        error = errno;
        ::close(fd);
        ::unlinkat(folder, temporary.c_str(), 0);
        return false;
    }
    // The renamed file is the log: go on appending through the same
    // descriptor (O_APPEND is not needed: only this writer writes it).
    {
        std::lock_guard lock(fdMutex_);
        fd_ = fd;
    }
    length_ = bytes.size();
    std::lock_guard lock(wakeMutex_);
    folderToSync_ = true;
    return true;
}

bool EditLogWriter::appendAll(const std::string &bytes, int &error)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(length_ + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n == 0 ? ENOSPC : errno;
            // A part of a record would hide every later one from a reader.
            if (::ftruncate(fd_, static_cast<off_t>(length_)) != 0) {
                // Cannot cut it back: a new file takes everything at the next edit.
                std::lock_guard lock(fdMutex_);
                ::close(fd_);
                fd_ = -1;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    length_ += bytes.size();
    return true;
}

void EditLogWriter::record(const Edit &applied)
{
    if (name_.empty() || applied.empty())
        return;
    unwritten_ += encodeLogRecord(applied);
    int error = 0;
    bool written = false;
    if (folder_.deleted()) {
        // A log without a name would go with the process: the edits wait
        // here, and the trouble is told, until a store puts the journal and
        // its log somewhere that exists (see rescuefolder.h).
        error = ENOENT;
    } else if (fd_ < 0) {
        std::string bytes = encodeLogHeader(header_) + unwritten_;
        written = create(bytes, error);
    } else {
        written = appendAll(unwritten_, error);
    }
    if (written) {
        unwritten_.clear();
        {
            std::lock_guard lock(wakeMutex_);
            syncWanted_ = true;
        }
        wake_.notify_one();
    }
    if (written == failing_)
        report(!written, error);
}

void EditLogWriter::report(bool failing, int error)
{
    failing_ = failing;
    if (!listener_)
        return;
    Trouble trouble;
    trouble.failing = failing;
    if (failing) {
        trouble.problem = fileProblemOf(error);
        trouble.systemReason = std::strerror(error);
    }
    listener_(trouble);
}

void EditLogWriter::syncNow()
{
    std::lock_guard lock(fdMutex_);
    if (fd_ >= 0)
        ::fdatasync(fd_);
}

void EditLogWriter::syncLoop()
{
    std::unique_lock wakeLock(wakeMutex_);
    for (;;) {
        wake_.wait(wakeLock, [this] { return stopping_ || syncWanted_; });
        if (stopping_)
            return;
        syncWanted_ = false;
        const bool syncFolder = std::exchange(folderToSync_, false);
        wakeLock.unlock();
        {
            std::lock_guard lock(fdMutex_);
            if (fd_ >= 0)
                ::fdatasync(fd_);
            // A new log's name in its folder, so that a power cut keeps the
            // file (through a descriptor that may be synced: the folder may
            // be held by its path alone).
            if (syncFolder && folder_.isOpen()) {
                const int dir = ::openat(folder_.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (dir >= 0) {
                    ::fsync(dir);
                    ::close(dir);
                }
            }
        }
        wakeLock.lock();
    }
}
