#include "session/editlogwriter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

void EditLogWriter::setTarget(const std::string &path, const EditLogHeader &header,
                              std::optional<unsigned> permissions)
{
    if (path != path_) {
        closeLog();
        unwritten_.clear();
        path_ = path;
    }
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
    if (!path_.empty())
        ::unlink(path_.c_str());
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
    const std::size_t slash = path_.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path_.substr(0, slash);
    std::string temporary = path_ + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    const mode_t mode = static_cast<mode_t>(permissions_.value_or(0600) & 07777);
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
    if (written && ::rename(temporary.c_str(), path_.c_str()) != 0)
        written = false;
    if (!written) {
        error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
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
    folderToSync_ = folder;
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
    if (path_.empty() || applied.empty())
        return;
    unwritten_ += encodeLogRecord(applied);
    int error = 0;
    bool written = false;
    if (fd_ < 0) {
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
        const std::string folder = std::exchange(folderToSync_, std::string());
        wakeLock.unlock();
        {
            std::lock_guard lock(fdMutex_);
            if (fd_ >= 0)
                ::fdatasync(fd_);
        }
        // A new log's name in its folder, so that a power cut keeps the file.
        if (!folder.empty()) {
            const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (dir >= 0) {
                ::fsync(dir);
                ::close(dir);
            }
        }
        wakeLock.lock();
    }
}
