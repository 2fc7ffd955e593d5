#include "session/journallock.h"

JournalLockAttempt lockJournal(const QString &journalPath)
{
    JournalLockAttempt attempt;
    auto lock = std::make_unique<QLockFile>(journalLockPath(journalPath));
    // Only a dead owner makes the lock stale; the age of the lock says nothing,
    // since the program may run for days.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        attempt.lock = std::move(lock);
        return attempt;
    }
    attempt.inUseElsewhere = lock->error() == QLockFile::LockFailedError;
    return attempt;
}

QString journalLockPath(const QString &journalPath)
{
    return journalPath + QStringLiteral(".lock");
}
