#pragma once

#include "journal/folder.h"

#include <QLockFile>
#include <QString>

#include <memory>

// Keeps two running copies of the program off the same journal: each would
// store its own entries over the other's at close. The lock is a file beside
// the journal ("<journal>.lock") holding the process number, program and host
// of its holder.
//
// A lock file is stale, and is taken over, when it names this host and a
// process that is not running (QLockFile judges that itself), or when it is
// empty or unreadable and was last modified more than abandonedLockSeconds
// ago: a program killed between creating the file and writing into it (or a
// power cut) leaves such a file, and nothing else would ever clear it. Age
// alone never makes a lock stale: the window may hold one for days.
//
// The lock is taken through a descriptor of its folder (QLockFile is given
// "/proc/self/fd/N/<name>.lock"): QLockFile removes its file by the name it
// was given when it is released, and through the descriptor that removal
// reaches the file in the folder the journal moved to, never a file in
// another folder that has taken the old name since. The folder must
// therefore outlive the lock: whoever keeps the lock keeps the folder too
// and releases the lock first.
struct JournalLockAttempt {
    Folder folder;                   // the lock file's folder, held for the lock
    std::unique_ptr<QLockFile> lock; // null when the journal could not be locked
    bool inUseElsewhere = false;     // true: another running copy holds it
    QString lockPath;                // the lock file, also when it was not taken
    // Who holds it, as its lock file says; pid 0 when the file does not say
    // (it is being written right now, or was left empty a moment ago).
    qint64 holderPid = 0;
    QString holderHost;
    // Why no lock could be made when nobody else holds one (a read-only or
    // full folder): the system's own text.
    QString systemReason;
};

// An empty or unreadable lock file younger than this may be one another
// copy is writing into right now.
inline constexpr int abandonedLockSeconds = 5;

QString journalLockPath(const QString &journalPath);

// inUseElsewhere is false also when no lock can be made at all (a read-only
// folder): that is no reason to keep the user from reading the journal.
JournalLockAttempt lockJournal(const QString &journalPath);

// Removes the lock file at lockPath (or QLockFile's own ".rmlock" beside a
// lock) when it is empty or unreadable, older than abandonedLockSeconds and
// no process holds it open under its flock; true when it was removed.
bool removeAbandonedLockFile(const QString &lockPath);
