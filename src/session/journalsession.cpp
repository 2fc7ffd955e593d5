#include "session/journalsession.h"

#include "journal/cquilloxdoc.h"
#include "journal/merge.h"
#include "qttext/qtdate.h"
#include "qttext/uitext.h"
#include "session/damagedcopy.h"
#include "session/journallock.h"
#include "session/keptcopy.h"
#include "session/pathnames.h"
#include "session/sessiontexts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

#include <cerrno>
#include <cstring>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

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

// Size and modification time as the file system has them now; exists false
// when the file cannot be looked at.
DiskState lookAt(const QString &path)
{
    DiskState state;
    struct stat status {};
    if (::stat(nativePath(path).c_str(), &status) != 0)
        return state;
    state.exists = true;
    state.size = static_cast<qint64>(status.st_size);
    state.modifiedNs =
        static_cast<qint64>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return state;
}

// The state of a file that holds bytes, looked at right after reading or
// writing them.
DiskState holding(const QString &path, std::string_view bytes)
{
    DiskState state = lookAt(path);
    state.exists = true;
    state.size = static_cast<qint64>(bytes.size());
    state.hash = hashContent(bytes);
    return state;
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
    const QString lockFailure = lock.lock ? QString() : lock.systemReason;

    // A dangling link counts as missing: the first store creates its target.
    if (mode == OpenMode::currentUser && isMissingFile(outcome.path)) {
        outcome.status = OpenOutcome::Status::startedEmpty;
        adopt(outcome.path, std::move(lock.lock));
        lockFailureReason_ = lockFailure;
        disk_ = {};
        baseBytes_.clear();
        return outcome;
    }

    std::string bytes;
    std::string error;
    FileProblem problem = FileProblem::none;
    if (!readFileBytes(nativePath(outcome.path), bytes, error, &problem)) {
        // A journal that exists but cannot be read must never be replaced by
        // an empty one at the next store: the session keeps off it.
        outcome.failure = fileFailure(problem, error);
        recentFiles_.remove(outcome.path);
        saveRecentFiles();
        return outcome;
    }

    adopt(outcome.path, std::move(lock.lock));
    lockFailureReason_ = lockFailure;
    loadBytes(bytes, today, outcome);
    return outcome;
}

void JournalSession::loadBytes(const std::string &bytes, Date today, OpenOutcome &outcome)
{
    outcome.status = OpenOutcome::Status::opened;
    outcome.skippedLines = doc_.loadJournalText(bytes, today, &outcome.alteredLines);
    outcome.headerMissing = !hasJournalHeader(bytes);
    disk_ = holding(path_, bytes);
    baseBytes_ = bytes;
    outcome.damagedCopyLeftToWindow = outcome.damaged() && !keepsDamagedCopies_;
    if (outcome.damaged() && keepsDamagedCopies_) {
        // Now, before anything can store over the file.
        const DamagedCopy copy = keepDamagedCopy(outcome.path, toQDate(today));
        outcome.damagedCopyPath = copy.path;
        outcome.damagedCopyAlreadyKept = copy.alreadyKept;
        if (copy.path.isEmpty())
            outcome.damagedCopyFailure = fileFailure(copy.problem, copy.systemReason.toStdString());
    }
}

OpenOutcome JournalSession::reload(Date today)
{
    OpenOutcome outcome;
    outcome.path = path_;
    std::string bytes;
    std::string error;
    FileProblem problem = FileProblem::none;
    if (!readFileBytes(nativePath(path_), bytes, error, &problem)) {
        outcome.failure = fileFailure(problem, error);
        return outcome;
    }
    loadBytes(bytes, today, outcome);
    return outcome;
}

std::optional<std::string> JournalSession::foreignBytesOnDisk() const
{
    const DiskState now = lookAt(path_);
    // A journal that went away loses nothing: the next store writes it anew.
    if (!now.exists)
        return std::nullopt;
    if (disk_.exists && now.size == disk_.size && now.modifiedNs == disk_.modifiedNs)
        return std::nullopt;
    std::string bytes;
    std::string error;
    if (!readFileBytes(nativePath(path_), bytes, error))
        return std::nullopt; // nothing to keep that could be read; the store says the rest
    if (disk_.exists && static_cast<qint64>(bytes.size()) == disk_.size &&
        hashContent(bytes) == disk_.hash)
        return std::nullopt; // touched, not changed
    return bytes;
}

bool JournalSession::changedOnDisk()
{
    if (path_.isEmpty())
        return false;
    if (foreignBytesOnDisk())
        return true;
    // Same bytes: remember the new time, so that the next look is cheap again.
    const DiskState now = lookAt(path_);
    if (now.exists && disk_.exists)
        disk_.modifiedNs = now.modifiedNs;
    return false;
}

DiskVersion JournalSession::lookAtDisk(Date today)
{
    DiskVersion version;
    if (path_.isEmpty())
        return version;
    const std::optional<std::string> foreign = foreignBytesOnDisk();
    if (!foreign) {
        changedOnDisk(); // the same bytes, touched: the next look is cheap again
        return version;
    }
    version.bytes = *foreign;
    if (!looksLikeWholeJournal(version.bytes)) {
        version.kind = DiskVersion::Kind::notWhole;
        return version;
    }
    version.document = std::make_shared<CQuilloxDoc>(today);
    std::vector<std::size_t> altered;
    if (!version.document->loadJournalText(version.bytes, today, &altered).empty() ||
        !altered.empty()) {
        version.document.reset();
        version.kind = DiskVersion::Kind::damaged;
        return version;
    }
    version.missingDays = daysMissingFrom(baseDocument(today), *version.document);
    version.kind =
        version.missingDays > 0 ? DiskVersion::Kind::lacksDays : DiskVersion::Kind::clean;
    return version;
}

CQuilloxDoc JournalSession::baseDocument(Date today) const
{
    CQuilloxDoc base(today);
    base.loadJournalText(baseBytes_, today);
    return base;
}

void JournalSession::adoptDiskVersion(const DiskVersion &version)
{
    disk_ = holding(path_, version.bytes);
    baseBytes_ = version.bytes;
}

QString JournalSession::keepBaseAsConflictCopy(SessionFailure &failure)
{
    const KeptCopy copy = keepCopy(
        path_, baseBytes_,
        keptCopyPath(path_, keptcopykind::conflict, conflictStamp(QDateTime::currentDateTime())));
    if (copy.path.isEmpty())
        failure = fileFailure(copy.problem, copy.systemReason.toStdString());
    return copy.path;
}

bool JournalSession::hasUnsavedChanges() const
{
    // Every edit sets the flag and every load and store clears it; undoing
    // back to what was stored clears it too. A change undone by hand still
    // counts: keeping both versions then costs a copy, never a day.
    return doc_.isModified();
}

QString JournalSession::recoveryPath() const
{
    return path_.isEmpty() ? QString() : recoveryPathFor(path_);
}

EditLogHeader JournalSession::editLogHeader() const
{
    EditLogHeader header;
    if (path_.isEmpty())
        return header;
    journalIdentity(path_, header);
    header.base = disk_.exists ? disk_.hash : hashContent({});
    return header;
}

void JournalSession::adoptLeftoverLog()
{
    // A writer killed between writing a new log and renaming it into place
    // leaves "<log>.XXXXXX" (an earlier release's writer "<log>.XXXXXXXX"),
    // holding edits that no log holds when the log itself is missing. The
    // newest one becomes the log, to be offered like any other.
    const QString log = recoveryPath();
    const QFileInfo logInfo(log);
    if (!lock_ || logInfo.exists() || logInfo.isSymLink())
        return;
    const QFileInfoList leftovers =
        QDir(logInfo.path())
            .entryInfoList({logInfo.fileName() + QStringLiteral(".??????"),
                            logInfo.fileName() + QStringLiteral(".????????")},
                           QDir::Files | QDir::Hidden, QDir::Time);
    if (!leftovers.isEmpty())
        ::rename(nativePath(leftovers.front().filePath()).c_str(), nativePath(log).c_str());
}

RecoveryFile JournalSession::findRecovery()
{
    if (path_.isEmpty())
        return {};
    adoptLeftoverLog();
    RecoveryFile recovery = readRecoveryFile(path_, editLogHeader());
    bool nothingToRestore = recovery.state == RecoveryFile::State::none;
    if (recovery.state == RecoveryFile::State::wholeJournal && disk_.exists &&
        static_cast<qint64>(recovery.bytes.size()) == disk_.size &&
        hashContent(recovery.bytes) == disk_.hash) {
        std::string journal;
        std::string error;
        nothingToRestore =
            readFileBytes(nativePath(path_), journal, error) && journal == recovery.bytes;
    }
    if (nothingToRestore) {
        recoveryUnresolved_ = false;
        const QFileInfo file(recovery.path);
        if (file.exists() || file.isSymLink())
            removeRecovery();
        return {};
    }
    return recovery;
}

QString JournalSession::keepConflictCopy(SessionFailure &failure)
{
    std::string bytes;
    std::string error;
    FileProblem problem = FileProblem::none;
    if (!readFileBytes(nativePath(path_), bytes, error, &problem)) {
        if (problem == FileProblem::notFound)
            return QString(); // nothing on disk to keep
        failure = fileFailure(problem, error);
        return QString();
    }
    const KeptCopy copy = keepCopy(
        path_, bytes,
        keptCopyPath(path_, keptcopykind::conflict, conflictStamp(QDateTime::currentDateTime())));
    if (copy.path.isEmpty())
        failure = fileFailure(copy.problem, copy.systemReason.toStdString());
    return copy.path;
}

OpenOutcome JournalSession::restoreRecovery(const RecoveryFile &recovery, Date today,
                                            CQuilloxDoc &restored)
{
    OpenOutcome outcome;
    outcome.status = OpenOutcome::Status::opened;
    outcome.path = recovery.path;
    outcome.skippedLines = restored.loadJournalText(recovery.bytes, today, &outcome.alteredLines);
    recoveryUnresolved_ = false;
    if (outcome.damaged()) {
        // The next recovery file written replaces this one: what it could
        // not read is kept the way a damaged journal's lines are.
        const DamagedCopy copy = keepDamagedCopy(path_, recovery.bytes, toQDate(today));
        outcome.damagedCopyPath = copy.path;
        outcome.damagedCopyAlreadyKept = copy.alreadyKept;
        if (copy.path.isEmpty())
            outcome.damagedCopyFailure = fileFailure(copy.problem, copy.systemReason.toStdString());
    }
    return outcome;
}

QString JournalSession::setRecoveryAside(Date today, SessionFailure &failure)
{
    const QString from = recoveryPath();
    const QString to = recoveredPathFor(path_, toQDate(today));
    // A link, unlike a rename, never replaces a file that appeared meanwhile.
    if (::link(nativePath(from).c_str(), nativePath(to).c_str()) != 0) {
        const int error = errno;
        failure = fileFailure(fileProblemOf(error), std::strerror(error));
        return {};
    }
    ::unlink(nativePath(from).c_str());
    recoveryUnresolved_ = false;
    if (const auto permissions = journalPermissions(path_))
        ::chmod(nativePath(to).c_str(), static_cast<mode_t>(*permissions));
    return to;
}

void JournalSession::removeRecovery()
{
    if (lock_ && !path_.isEmpty() && !recoveryUnresolved_)
        ::unlink(nativePath(recoveryPath()).c_str());
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

    // Another program's version of the journal is kept before it is replaced.
    if (path == path_) {
        if (const std::optional<std::string> foreign = foreignBytesOnDisk()) {
            const KeptCopy copy =
                keepCopy(path, *foreign,
                         keptCopyPath(path, keptcopykind::conflict,
                                      conflictStamp(QDateTime::currentDateTime())));
            if (copy.path.isEmpty()) {
                outcome.failure = fileFailure(copy.problem, copy.systemReason.toStdString());
                outcome.conflictNotKept = true;
                return outcome;
            }
            outcome.conflictCopyPath = copy.path;
            // The .bak takes the version this program last had, not the
            // other one (best effort, as every .bak).
            if (!baseBytes_.empty())
                saveFileAtomically(nativePath(lockTarget(path)) + ".bak", baseBytes_, false,
                                   journalPermissions(path));
        }
    }

    const std::string text = doc_.journalText();
    // The .bak only ever holds bytes this program loaded or stored: a
    // version it never took is in the conflict copy instead.
    const JournalStoreResult result =
        doc_.writeJournalText(nativePath(path), text, outcome.conflictCopyPath.isEmpty());
    outcome.stored = result.written;
    if (result.written) {
        disk_ = holding(path, text);
        baseBytes_ = text;
        // What the recovery file held is in the journal now.
        if (path == path_)
            removeRecovery();
    }
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
    if (outcome.stored) {
        removeRecovery(); // the old name's: its days are in the new file
        lockFailureReason_ = lock.lock ? QString() : lock.systemReason;
        adopt(target, std::move(lock.lock));
    }
    return outcome;
}

void JournalSession::startUntitled()
{
    doc_.startUntitled();
    path_.clear();
    lock_.reset();
    disk_ = {};
    baseBytes_.clear();
    lockFailureReason_.clear();
    recoveryUnresolved_ = false;
}

void JournalSession::adopt(const QString &path, std::unique_ptr<QLockFile> lock)
{
    path_ = path;
    const QFileInfo recovery(recoveryPathFor(path));
    recoveryUnresolved_ = recovery.exists() || recovery.isSymLink();
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
