#include "journal/folder.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

Folder::~Folder()
{
    close();
}

Folder::Folder(Folder &&other) noexcept : fd_(std::exchange(other.fd_, -1))
{
}

Folder &Folder::operator=(Folder &&other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void Folder::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = -1;
}

Folder Folder::open(const std::string &path, int *error)
{
    return openAt(AT_FDCWD, path, error);
}

Folder Folder::openAt(int base, const std::string &path, int *error)
{
    const char *name = path.empty() ? "." : path.c_str();
    // Read access lets the folder be listed and synced; a folder that may
    // only be entered is held by its path alone (O_PATH), which the *at()
    // calls take all the same.
    int fd = ::openat(base, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && errno == EACCES) {
        fd = ::openat(base, name, O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    if (fd < 0 && error != nullptr) {
        *error = errno;
    }
    return Folder(fd);
}

Folder Folder::duplicate() const
{
    return Folder(fd_ >= 0 ? ::fcntl(fd_, F_DUPFD_CLOEXEC, 0) : -1);
}

bool Folder::deleted() const
{
    struct stat status {};
    // rmdir() leaves a held folder with no links; a file system that does
    // not count a folder's links reports at least one while it exists.
    return fd_ >= 0 && ::fstat(fd_, &status) == 0 && status.st_nlink == 0;
}

std::string Folder::pathThrough(const std::string &name) const
{
    return "/proc/self/fd/" + std::to_string(fd_) + "/" + name;
}

std::string Folder::currentPath() const
{
    if (fd_ < 0) {
        return {};
    }
    std::string path(PATH_MAX, '\0');
    const std::string link = "/proc/self/fd/" + std::to_string(fd_);
    const ssize_t length = ::readlink(link.c_str(), path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size() || path[0] != '/') {
        return {};
    }
    path.resize(static_cast<std::size_t>(length));
    return path;
}
