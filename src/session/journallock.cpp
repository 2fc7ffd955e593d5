#include "session/journallock.h"

#include <cerrno>
#include <cstring>

#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What QLockFile writes first: the holder's process number on a line of its
// own. A file without one is one QLockFile cannot judge, and would keep
// forever with a stale time of 0.
bool namesAProcess(int fd)
{
    char buffer[64];
    ssize_t got = 0;
    do {
        got = ::pread(fd, buffer, sizeof buffer, 0);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        return false;
    }
    qint64 pid = 0;
    ssize_t i = 0;
    for (; i < got && buffer[i] >= '0' && buffer[i] <= '9' && pid < (qint64{1} << 40); ++i) {
        pid = pid * 10 + (buffer[i] - '0');
    }
    return i > 0 && i < got && buffer[i] == '\n' && pid > 0;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A file being written right now was modified a moment ago; one modified
// "in the future" (a clock set back) is no sign of a live holder either.
bool oldEnough(const struct stat &status)
{
    const std::time_t now = std::time(nullptr);
    const std::time_t age = now > status.st_mtime ? now - status.st_mtime : status.st_mtime - now;
    return age > abandonedLockSeconds;
}

} // namespace

bool removeAbandonedLockFile(const QString &lockPath)
{
    const QByteArray name = QFile::encodeName(lockPath);
    struct stat before {};
    if (::lstat(name.constData(), &before) != 0 || !S_ISREG(before.st_mode) || !oldEnough(before)) {
        return false;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        // Unreadable (another user's, mode 000): nobody can judge it, and
        // removing it needs only the folder's permission.
        if (errno != EACCES) {
            return false;
        }
        struct stat again {};
        return ::lstat(name.constData(), &again) == 0 && sameFile(before, again) &&
               oldEnough(again) && ::unlink(name.constData()) == 0;
    }
    bool removed = false;
    // A live QLockFile holds a flock on its file all the time it holds the
    // lock, and QLockFile's own removal of a stale lock takes the flock
    // first: holding it here keeps both off while the file is judged and
    // removed, and the check of the name against the open file makes sure
    // the file removed is the one judged.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        struct stat opened {};
        struct stat current {};
        if (::fstat(fd, &opened) == 0 && ::lstat(name.constData(), &current) == 0 &&
            sameFile(opened, current) && oldEnough(current) && !namesAProcess(fd)) {
            removed = ::unlink(name.constData()) == 0;
        }
    }
    ::close(fd);
    return removed;
}

JournalLockAttempt lockJournal(const QString &journalPath)
{
    JournalLockAttempt attempt;
    attempt.lockPath = journalLockPath(journalPath);
    // QLockFile takes "<lock>.rmlock" before it removes a stale lock; one left
    // empty by a kill would stop that for 30 seconds.
    removeAbandonedLockFile(attempt.lockPath + QStringLiteral(".rmlock"));
    removeAbandonedLockFile(attempt.lockPath);

    const QByteArray nativeLock = QFile::encodeName(attempt.lockPath);
    const std::string lockPath(nativeLock.constData(), static_cast<std::size_t>(nativeLock.size()));
    const auto slash = lockPath.rfind('/');
    if (slash != std::string::npos && ::access("/proc/self/fd", X_OK) == 0)
        attempt.folder = Folder::open(slash == 0 ? "/" : lockPath.substr(0, slash));
    auto lock = std::make_unique<QLockFile>(
        attempt.folder.isOpen() ? QFile::decodeName(QByteArray::fromStdString(
                                      attempt.folder.pathThrough(lockPath.substr(slash + 1))))
                                : attempt.lockPath);
    // Only a dead owner makes the lock stale; the age of the lock says nothing,
    // since the program may run for days (and Qt 6.4 takes over any lock
    // older than a positive stale time, even one a running window holds).
    lock->setStaleLockTime(0);
    errno = 0;
    if (lock->tryLock(0)) {
        attempt.lock = std::move(lock);
        return attempt;
    }
    const int error = errno;
    attempt.inUseElsewhere = lock->error() == QLockFile::LockFailedError;
    if (!attempt.inUseElsewhere)
        attempt.systemReason = QString::fromLocal8Bit(std::strerror(error != 0 ? error : EACCES));
    if (attempt.inUseElsewhere) {
        QString application;
        if (!lock->getLockInfo(&attempt.holderPid, &attempt.holderHost, &application)) {
            attempt.holderPid = 0;
            attempt.holderHost.clear();
        }
    }
    return attempt;
}

QString journalLockPath(const QString &journalPath)
{
    return journalPath + QStringLiteral(".lock");
}
