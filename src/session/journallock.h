#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Keeps two running copies of the program off the same journal: each would
// store its own entries over the other's at close. The lock is a file beside
// the journal; QLockFile clears it when the process that made it is gone.
struct JournalLockAttempt {
    std::unique_ptr<QLockFile> lock; // null when the journal could not be locked
    bool inUseElsewhere = false;     // true: another running copy holds it
};

QString journalLockPath(const QString &journalPath);

// inUseElsewhere is false also when no lock can be made at all (a read-only
// folder): that is no reason to keep the user from reading the journal.
JournalLockAttempt lockJournal(const QString &journalPath);
