#include "session/journalsession.h"

#include "dialogs/uitext.h"
#include "journal/cquilloxdoc.h"
#include "session/damagedcopy.h"
#include "session/journallock.h"
#include "session/pathnames.h"
#include "session/sessiontexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

std::string nativePath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

namespace {

// The lock guards the file that is written, so that two links to one journal
// share one lock.
QString lockTarget(const QString &path)
{
    const std::string target = saveTarget(nativePath(path));
    // A link to a name that is not text: the lock goes beside the link
    // rather than under a name that is not the target's.
    return isTextName(target) ? QFile::decodeName(QByteArray::fromStdString(target)) : path;
}

SessionFailure inUseElsewhere(const JournalLockAttempt &lock)
{
    SessionFailure failure;
    failure.inUseElsewhere = true;
    failure.lockPath = lock.lockPath;
    failure.lockHolderPid = lock.holderPid;
    failure.lockHolderHost = lock.holderHost;
    return failure;
}

SessionFailure fileFailure(FileProblem problem, const std::string &systemReason)
{
    return {problem, false, QString::fromLocal8Bit(systemReason)};
}

} // namespace

JournalSession::JournalSession(CQuilloxDoc &doc, QSettings *recentFileSettings)
    : doc_(doc), settings_(recentFileSettings)
{
    if (settings_)
        recentFiles_.load(*settings_);
}

JournalSession::~JournalSession() = default;

QString JournalSession::fullPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString JournalSession::title() const
{
    return path_.isEmpty() ? ui(sessiontext::untitled) : QFileInfo(path_).fileName();
}

OpenOutcome JournalSession::open(const QString &path, OpenMode mode, Date today)
{
    OpenOutcome outcome;
    outcome.path = fullPath(path);
    if (!path_.isEmpty() && outcome.path == path_) {
        outcome.status = OpenOutcome::Status::alreadyOpen;
        return outcome;
    }

    JournalLockAttempt lock = lockJournal(lockTarget(outcome.path));
    if (lock.inUseElsewhere) {
        outcome.failure = inUseElsewhere(lock);
        return outcome;
    }

    // A dangling link counts as missing: the first store creates its target.
    if (mode == OpenMode::currentUser && isMissingFile(outcome.path)) {
        outcome.status = OpenOutcome::Status::startedEmpty;
        adopt(outcome.path, std::move(lock.lock));
        return outcome;
    }

    const JournalLoadResult result = doc_.readJournal(nativePath(outcome.path), today);
    if (!result.opened) {
        // A journal that exists but cannot be read must never be replaced by
        // an empty one at the next store: the session keeps off it.
        outcome.failure = fileFailure(result.problem, result.error);
        recentFiles_.remove(outcome.path);
        saveRecentFiles();
        return outcome;
    }

    outcome.status = OpenOutcome::Status::opened;
    adopt(outcome.path, std::move(lock.lock));
    outcome.skippedLines = result.skippedLines;
    outcome.alteredLines = result.alteredLines;
    outcome.damagedCopyLeftToWindow = outcome.damaged() && !keepsDamagedCopies_;
    if (outcome.damaged() && keepsDamagedCopies_) {
        // Now, before anything can store over the file.
        const DamagedCopy copy =
            keepDamagedCopy(outcome.path, QDate(yearOf(today), monthOf(today), dayOf(today)));
        outcome.damagedCopyPath = copy.path;
        outcome.damagedCopyAlreadyKept = copy.alreadyKept;
        if (copy.path.isEmpty())
            outcome.damagedCopyFailure = fileFailure(copy.problem, copy.systemReason.toStdString());
    }
    return outcome;
}

StoreOutcome JournalSession::writeTo(const QString &path, bool holdingLock)
{
    StoreOutcome outcome;
    outcome.path = path;
    // Hidden files of stores that were killed half-way, each as large as the
    // journal. Only the lock holder may remove them: another copy of the
    // program could be writing one right now.
    if (holdingLock)
        removeSaveLeftovers(nativePath(path));

    const JournalStoreResult result = doc_.writeJournal(nativePath(path));
    outcome.stored = result.written;
    if (!result.written) {
        outcome.failure = fileFailure(result.problem, result.systemReason);
        return outcome;
    }
    if (result.backupProblem != FileProblem::none) {
        outcome.backupPath = lockTarget(path) + QStringLiteral(".bak");
        outcome.backupFailure = fileFailure(result.backupProblem, result.backupSystemReason);
    }
    return outcome;
}

StoreOutcome JournalSession::store()
{
    return writeTo(path_, lock_ != nullptr);
}

StoreOutcome JournalSession::storeAs(const QString &path)
{
    const QString target = fullPath(path);
    if (target == path_)
        return store();

    JournalLockAttempt lock = lockJournal(lockTarget(target));
    if (lock.inUseElsewhere) {
        StoreOutcome outcome;
        outcome.path = target;
        outcome.failure = inUseElsewhere(lock);
        return outcome;
    }
    StoreOutcome outcome = writeTo(target, lock.lock != nullptr);
    if (outcome.stored)
        adopt(target, std::move(lock.lock));
    return outcome;
}

void JournalSession::startUntitled()
{
    doc_.clearDays();
    doc_.setModified(false);
    path_.clear();
    lock_.reset();
}

void JournalSession::adopt(const QString &path, std::unique_ptr<QLockFile> lock)
{
    path_ = path;
    // The old file's lock goes only now, when the new one is held.
    lock_ = std::move(lock);
    recentFiles_.add(path);
    saveRecentFiles();
}

void JournalSession::saveRecentFiles()
{
    if (!settings_)
        return;
    recentFiles_.save(*settings_);
    settings_->sync();
}
