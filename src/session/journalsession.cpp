#include "session/journalsession.h"

#include "journal/cquilloxdoc.h"
#include "journal/merge.h"
#include "qttext/qtdate.h"
#include "qttext/uitext.h"
#include "session/damagedcopy.h"
#include "session/editlogwriter.h"
#include "session/journallock.h"
#include "session/keptcopy.h"
#include "session/pathnames.h"
#include "session/rescuefolder.h"
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

#include <fcntl.h>
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
DiskState lookAt(const Folder &folder, const std::string &name)
{
    DiskState state;
    struct stat status {};
    if (!folder.isOpen() || ::fstatat(folder.fd(), name.c_str(), &status, 0) != 0)
        return state;
    state.exists = true;
    state.size = static_cast<qint64>(status.st_size);
    state.modifiedNs =
        static_cast<qint64>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return state;
}

// The state of a file that holds bytes, looked at right after reading or
// writing them.
DiskState holding(const Folder &folder, const std::string &name, std::string_view bytes)
{
    DiskState state = lookAt(folder, name);
    state.exists = true;
    state.size = static_cast<qint64>(bytes.size());
    state.hash = hashContent(bytes);
    return state;
}

// The folder of a full path, held, and the path's last name.
Folder folderOf(const QString &fullPath, std::string &name, int &error)
{
    const QFileInfo file(fullPath);
    name = nativePath(file.fileName());
    return Folder::open(nativePath(file.path()), &error);
}

SessionFailure errnoFailure(int error)
{
    return fileFailure(fileProblemOf(error), std::strerror(error));
}

bool sameFolder(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Releases a lock before its folder goes. A lock file that went with its
// deleted folder is left to the process's end instead: QLockFile would warn
// that it could not remove it, and there is nothing to remove.
void releaseLock(std::unique_ptr<QLockFile> &lock, const Folder &folder)
{
    if (lock && folder.deleted())
        static_cast<void>(lock.release()); // deliberately kept, see above
    lock.reset();
}

} // namespace

JournalSession::JournalSession(CQuilloxDoc &doc, QSettings *recentFileSettings)
    : doc_(doc), settings_(recentFileSettings)
{
    if (settings_)
        recentFiles_.load(*settings_);
}

JournalSession::~JournalSession()
{
    releaseLock(lock_, lockFolder_);
}

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

    std::string name;
    int folderError = 0;
    Folder folder = folderOf(outcome.path, name, folderError);
    if (!folder.isOpen()) {
        outcome.failure = errnoFailure(folderError);
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
        adopt(outcome.path, std::move(folder), lock);
        lockFailureReason_ = lockFailure;
        disk_ = {};
        baseBytes_.clear();
        return outcome;
    }

    std::string bytes;
    std::string error;
    FileProblem problem = FileProblem::none;
    if (!readFileBytes(folder.fd(), name, bytes, error, &problem)) {
        // A journal that exists but cannot be read must never be replaced by
        // an empty one at the next store: the session keeps off it.
        outcome.failure = fileFailure(problem, error);
        recentFiles_.remove(outcome.path);
        saveRecentFiles();
        return outcome;
    }

    adopt(outcome.path, std::move(folder), lock);
    lockFailureReason_ = lockFailure;
    loadBytes(bytes, today, outcome);
    return outcome;
}

void JournalSession::loadBytes(const std::string &bytes, Date today, OpenOutcome &outcome)
{
    outcome.status = OpenOutcome::Status::opened;
    outcome.skippedLines = doc_.loadJournalText(bytes, today, &outcome.alteredLines);
    outcome.headerMissing = !hasJournalHeader(bytes);
    disk_ = holding(folder_, name_, bytes);
    baseBytes_ = bytes;
    outcome.damagedCopyLeftToWindow = outcome.damaged() && !keepsDamagedCopies_;
    if (outcome.damaged() && keepsDamagedCopies_) {
        // Now, before anything can store over the file.
        const DamagedCopy copy =
            keepDamagedCopy(folder_.fd(), name_, bytes, toQDate(today), folderPath());
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
    if (!readFileBytes(folder_.fd(), name_, bytes, error, &problem)) {
        outcome.failure = fileFailure(problem, error);
        return outcome;
    }
    loadBytes(bytes, today, outcome);
    return outcome;
}

std::optional<std::string> JournalSession::foreignBytesOnDisk() const
{
    const DiskState now = lookAt(folder_, name_);
    // A journal that went away loses nothing: the next store writes it anew.
    if (!now.exists)
        return std::nullopt;
    if (disk_.exists && now.size == disk_.size && now.modifiedNs == disk_.modifiedNs)
        return std::nullopt;
    std::string bytes;
    std::string error;
    if (!readFileBytes(folder_.fd(), name_, bytes, error))
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
    const DiskState now = lookAt(folder_, name_);
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
    disk_ = holding(folder_, name_, version.bytes);
    baseBytes_ = version.bytes;
}

QString JournalSession::keepBaseAsConflictCopy(SessionFailure &failure)
{
    return keepConflictCopyOf(baseBytes_, failure);
}

QString JournalSession::keepConflictCopyOf(const std::string &bytes, SessionFailure &failure)
{
    const KeptCopy copy = keepCopy(folder_.fd(), name_, bytes,
                                   keptCopyName(folder_.fd(), name_, keptcopykind::conflict,
                                                conflictStamp(QDateTime::currentDateTime())),
                                   folderPath());
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
    if (path_.isEmpty())
        return {};
    if (recoveryInRescueFolder_)
        return rescueFolderPath() + QLatin1Char('/') +
               QFile::decodeName(rescueLogName(editLogHeader()).c_str());
    return recoveryPathFor(path_);
}

const Folder &JournalSession::recoveryFolder() const
{
    return recoveryInRescueFolder_ ? rescueFolder_ : folder_;
}

std::string JournalSession::recoveryName() const
{
    return recoveryInRescueFolder_ ? rescueLogName(editLogHeader()) : recoveryNameFor(name_);
}

QString JournalSession::folderPath() const
{
    return QFileInfo(path_).path();
}

EditLogHeader JournalSession::editLogHeader() const
{
    EditLogHeader header;
    if (path_.isEmpty())
        return header;
    journalIdentity(folder_.fd(), name_, header);
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
        ::renameat(folder_.fd(), nativePath(leftovers.front().fileName()).c_str(), folder_.fd(),
                   recoveryNameFor(name_).c_str());
}

RecoveryFile JournalSession::findRecovery()
{
    if (path_.isEmpty())
        return {};
    adoptLeftoverLog();
    recoveryInRescueFolder_ = false;
    RecoveryFile recovery = readRecoveryFile(folder_.fd(), recoveryNameFor(name_),
                                             recoveryPathFor(path_), editLogHeader());
    if (recovery.state == RecoveryFile::State::unreadable) {
        // A folder, or a file this user may not read, where the log belongs:
        // it is left for the user to look at, the log goes to the rescue
        // folder meanwhile, and a log kept there by an earlier session is
        // offered in its place.
        logInRescueFolder_ = true;
        // Only looked at here: pointEditLog makes it when a log is to go there.
        if (!rescueFolder_.isOpen())
            rescueFolder_ = Folder::open(nativePath(rescueFolderPath()));
        if (rescueFolder_.isOpen()) {
            const std::string rescueLog = rescueLogName(editLogHeader());
            RecoveryFile kept = readRecoveryFile(rescueFolder_.fd(), rescueLog,
                                                 rescueFolderPath() + QLatin1Char('/') +
                                                     QFile::decodeName(rescueLog.c_str()),
                                                 editLogHeader());
            if (kept.state == RecoveryFile::State::editLog) {
                recoveryInRescueFolder_ = true;
                return kept;
            }
            if (kept.state == RecoveryFile::State::none)
                ::unlinkat(rescueFolder_.fd(), rescueLog.c_str(), 0); // nothing in it
        }
        return recovery;
    }
    bool nothingToRestore = recovery.state == RecoveryFile::State::none;
    if (recovery.state == RecoveryFile::State::wholeJournal && disk_.exists &&
        static_cast<qint64>(recovery.bytes.size()) == disk_.size &&
        hashContent(recovery.bytes) == disk_.hash) {
        std::string journal;
        std::string error;
        nothingToRestore =
            readFileBytes(folder_.fd(), name_, journal, error) && journal == recovery.bytes;
    }
    if (nothingToRestore) {
        recoveryUnresolved_ = false;
        struct stat status {};
        if (::fstatat(folder_.fd(), recoveryNameFor(name_).c_str(), &status, AT_SYMLINK_NOFOLLOW) ==
            0)
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
    if (!readFileBytes(folder_.fd(), name_, bytes, error, &problem)) {
        if (problem == FileProblem::notFound)
            return QString(); // nothing on disk to keep
        failure = fileFailure(problem, error);
        return QString();
    }
    return keepConflictCopyOf(bytes, failure);
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
        const DamagedCopy copy =
            keepDamagedCopy(folder_.fd(), name_, recovery.bytes, toQDate(today), folderPath());
        outcome.damagedCopyPath = copy.path;
        outcome.damagedCopyAlreadyKept = copy.alreadyKept;
        if (copy.path.isEmpty())
            outcome.damagedCopyFailure = fileFailure(copy.problem, copy.systemReason.toStdString());
    }
    return outcome;
}

QString JournalSession::setRecoveryAside(Date today, SessionFailure &failure)
{
    // Kept beside the log it was (a log from the rescue folder stays there).
    const Folder &folder = recoveryFolder();
    const std::string from = recoveryName();
    const std::string to = keptCopyName(folder.fd(), name_, keptcopykind::recovered,
                                        toQDate(today).toString(QStringLiteral("yyyyMMdd")));
    // A link, unlike a rename, never replaces a file that appeared meanwhile.
    if (::linkat(folder.fd(), from.c_str(), folder.fd(), to.c_str(), 0) != 0) {
        failure = errnoFailure(errno);
        return {};
    }
    ::unlinkat(folder.fd(), from.c_str(), 0);
    recoveryUnresolved_ = false;
    if (const auto permissions = journalPermissions(folder_.fd(), name_)) {
        [[maybe_unused]] const int narrowed =
            ::fchmodat(folder.fd(), to.c_str(), static_cast<mode_t>(*permissions), 0);
    }
    const QString shownFolder = recoveryInRescueFolder_ ? rescueFolderPath() : folderPath();
    recoveryInRescueFolder_ = false;
    return shownFolder + QLatin1Char('/') + QFile::decodeName(to.c_str());
}

void JournalSession::removeRecovery()
{
    if (!lock_ || path_.isEmpty() || recoveryUnresolved_)
        return;
    if (recoveryInRescueFolder_) {
        ::unlinkat(rescueFolder_.fd(), rescueLogName(editLogHeader()).c_str(), 0);
        recoveryInRescueFolder_ = false;
    }
    // An unreadable file in the log's place is the user's to look at.
    if (!logInRescueFolder_)
        ::unlinkat(folder_.fd(), recoveryNameFor(name_).c_str(), 0);
}

void JournalSession::pointEditLog(EditLogWriter &writer)
{
    const std::optional<unsigned> permissions = journalPermissions(folder_.fd(), name_);
    // Only the holder of the journal's lock writes its log, and not over
    // one found at the open that is still to be restored or kept.
    if (path_.isEmpty() || !lock_ || (recoveryUnresolved_ && !logInRescueFolder_)) {
        writer.setTarget(std::string(), editLogHeader(), permissions);
        return;
    }
    if (logInRescueFolder_) {
        const std::string name = rescueLogName(editLogHeader());
        if (!rescueFolder_.isOpen())
            rescueFolder_ = openRescueFolder();
        if (!rescueFolder_.isOpen()) {
            writer.setTarget(std::string(), editLogHeader(), permissions);
            return;
        }
        writer.setTarget(rescueFolder_, name, nativePath(rescueFolderPath()) + "/" + name,
                         editLogHeader(), permissions);
        return;
    }
    writer.setTarget(folder_, recoveryNameFor(name_), nativePath(recoveryPathFor(path_)),
                     editLogHeader(), permissions);
}

StoreOutcome JournalSession::writeTo(const QString &path, const Folder &folder,
                                     const std::string &name, bool holdingLock)
{
    StoreOutcome outcome;
    outcome.path = path;
    const bool own = path == path_;
    std::string text = doc_.journalText();
    // Nothing can be created in a deleted folder, and the same name would
    // now be another folder, or none.
    if (own && folder.deleted())
        return rescue(text, outcome);

    // Hidden files of stores that were killed half-way, each as large as the
    // journal. Only the lock holder may remove them: another copy of the
    // program could be writing one right now.
    if (holdingLock)
        removeSaveLeftovers(folder.fd(), name);

    // Another program's version of the journal is kept before it is replaced.
    if (own) {
        if (const std::optional<std::string> foreign = foreignBytesOnDisk()) {
            const KeptCopy copy =
                keepCopy(folder.fd(), name, *foreign,
                         keptCopyName(folder.fd(), name, keptcopykind::conflict,
                                      conflictStamp(QDateTime::currentDateTime())),
                         folderPath());
            if (copy.path.isEmpty()) {
                outcome.failure = fileFailure(copy.problem, copy.systemReason.toStdString());
                outcome.conflictNotKept = true;
                return outcome;
            }
            outcome.conflictCopyPath = copy.path;
            // The .bak takes the version this program last had, not the
            // other one (best effort, as every .bak).
            if (!baseBytes_.empty())
                saveBackupOf(folder.fd(), name, baseBytes_, journalPermissions(folder.fd(), name));
        }
    }

    // The .bak only ever holds bytes this program loaded or stored: a
    // version it never took is in the conflict copy instead.
    const JournalStoreResult result =
        doc_.writeJournalText(folder.fd(), name, text, outcome.conflictCopyPath.isEmpty());
    outcome.stored = result.written;
    if (!result.written && own && result.problem == FileProblem::notFound)
        return rescue(text, outcome); // the folder went while it was written
    if (result.written) {
        disk_ = holding(folder, name, text);
        // Taken, not copied: the text is several megabytes in a long journal.
        baseBytes_ = std::move(text);
        // What the recovery file held is in the journal now.
        if (own)
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

StoreOutcome JournalSession::rescue(const std::string &text, StoreOutcome outcome)
{
    // When no rescue file can be written either, the store failed because
    // the journal's folder is gone: that is what the user can act on (Save
    // As elsewhere), so that is the reason given.
    outcome.stored = false;
    outcome.failure = errnoFailure(ENOENT);
    Folder rescueFolder = openRescueFolder();
    if (!rescueFolder.isOpen())
        return outcome;
    const RescueFile file =
        writeRescueFile(rescueFolder, name_, text, QDateTime::currentDateTime());
    if (file.path.isEmpty())
        return outcome;
    outcome = {};
    outcome.stored = true;
    outcome.path = file.path;
    outcome.rescuePath = file.path;
    outcome.rescuedFrom = path_;
    doc_.setModified(false);

    // The rescue file is the journal from now on: the next store goes on
    // into it, and the edit log follows it into the rescue folder. Its lock
    // can hardly fail in the user's own folder; if it does, the old one
    // (whose folder is gone) is kept, so the journal does not turn read-only.
    std::string name;
    int folderError = 0;
    Folder folder = folderOf(file.path, name, folderError);
    JournalLockAttempt lock = lockJournal(file.path);
    if (!lock.lock) {
        lock.lock = std::move(lock_);
        lock.folder = std::move(lockFolder_);
    }
    if (!folder.isOpen())
        folder = std::move(rescueFolder);
    recentFiles_.remove(path_); // gone with its folder
    adopt(file.path, std::move(folder), lock);
    recoveryUnresolved_ = false; // a log beside a brand-new file is no one's
    disk_ = holding(folder_, name_, text);
    baseBytes_ = text;
    return outcome;
}

void JournalSession::followFolder()
{
    // A folder renamed or moved while the journal is open: the path follows
    // it, so that messages, the title's path and the recent list name the
    // place the journal now is.
    struct stat held {};
    struct stat named {};
    if (path_.isEmpty() || ::fstat(folder_.fd(), &held) != 0 || held.st_nlink == 0)
        return;
    if (::stat(nativePath(folderPath()).c_str(), &named) == 0 && sameFolder(held, named))
        return;
    const std::string now = folder_.currentPath();
    if (now.empty() || !isTextName(now))
        return;
    const QString moved = QFile::decodeName(QByteArray::fromStdString(now)) + QLatin1Char('/') +
                          QFileInfo(path_).fileName();
    recentFiles_.remove(path_);
    path_ = moved;
    recentFiles_.add(path_);
    saveRecentFiles();
}

StoreOutcome JournalSession::store()
{
    followFolder();
    return writeTo(path_, folder_, name_, lock_ != nullptr);
}

StoreOutcome JournalSession::storeAs(const QString &path)
{
    const QString target = fullPath(path);
    if (target == path_)
        return store();

    std::string name;
    int folderError = 0;
    Folder folder = folderOf(target, name, folderError);
    if (!folder.isOpen()) {
        StoreOutcome outcome;
        outcome.path = target;
        outcome.failure = errnoFailure(folderError);
        return outcome;
    }
    JournalLockAttempt lock = lockJournal(lockTarget(target));
    if (lock.inUseElsewhere) {
        StoreOutcome outcome;
        outcome.path = target;
        outcome.failure = inUseElsewhere(lock);
        return outcome;
    }
    StoreOutcome outcome = writeTo(target, folder, name, lock.lock != nullptr);
    if (outcome.stored) {
        removeRecovery(); // the old name's: its days are in the new file
        lockFailureReason_ = lock.lock ? QString() : lock.systemReason;
        adopt(target, std::move(folder), lock);
    }
    return outcome;
}

void JournalSession::startUntitled()
{
    doc_.startUntitled();
    path_.clear();
    releaseLock(lock_, lockFolder_);
    lockFolder_ = {};
    folder_ = {};
    name_.clear();
    disk_ = {};
    baseBytes_.clear();
    lockFailureReason_.clear();
    recoveryUnresolved_ = false;
    logInRescueFolder_ = false;
    recoveryInRescueFolder_ = false;
}

void JournalSession::adopt(const QString &path, Folder folder, JournalLockAttempt &lock)
{
    path_ = path;
    name_ = nativePath(QFileInfo(path).fileName());
    // What findRecovery found out about another journal's log place.
    logInRescueFolder_ = false;
    recoveryInRescueFolder_ = false;
    struct stat status {};
    recoveryUnresolved_ =
        ::fstatat(folder.fd(), recoveryNameFor(name_).c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
    // The old file's lock goes only now, when the new one is held, and
    // before the folder it was taken through.
    releaseLock(lock_, lockFolder_);
    lock_ = std::move(lock.lock);
    lockFolder_ = std::move(lock.folder);
    folder_ = std::move(folder);
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
