#pragma once

#include "journal/calendardate.h"
#include "journal/editlog.h"
#include "journal/folder.h"
#include "journal/journalio.h"
#include "session/journallock.h"
#include "session/nativepath.h"
#include "session/recentfilelist.h"
#include "session/recoveryfile.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CQuilloxDoc;
class EditLogWriter;
class QLockFile;
class QSettings;

// Why a journal could not be opened, stored or copied: a file problem of the
// core, or another running copy of the program holding the journal.
struct SessionFailure {
    FileProblem problem = FileProblem::none;
    bool inUseElsewhere = false;
    QString systemReason; // the system's own text, for "other" and for logs
    // In use elsewhere: the lock file, and its holder as the file names it
    // (pid 0: the file does not say yet).
    QString lockPath{};
    qint64 lockHolderPid = 0;
    QString lockHolderHost{};

    bool failed() const { return inUseElsewhere || problem != FileProblem::none; }
};

struct OpenOutcome {
    enum class Status {
        opened,       // read: the document holds the journal
        startedEmpty, // the current user has no journal yet: the defaults stay
        alreadyOpen,  // the same file is open already: nothing was reloaded
        failed,       // see failure; the document and the session are unchanged
    };
    Status status = Status::failed;
    QString path; // full path of the journal asked for
    SessionFailure failure;
    // Day lines the load could not read; the file as it was is then kept in
    // damagedCopyPath, or damagedCopyFailure says why it could not be.
    std::vector<SkippedLine> skippedLines;
    // Day lines loaded with text a store would not write back (a memo where
    // a number belongs, "64kg", digits beyond the six kept): kept the same way.
    std::vector<std::size_t> alteredLines;
    QString damagedCopyPath;
    bool damagedCopyAlreadyKept = false; // an identical copy was there already
    SessionFailure damagedCopyFailure;
    // The session only reads (see setKeepsDamagedCopies): no copy was made.
    bool damagedCopyLeftToWindow = false;

    // The file was empty or did not start with a journal's header line.
    bool headerMissing = false;

    // Whether the next store would lose some of the file's text.
    bool damaged() const { return !skippedLines.empty() || !alteredLines.empty(); }
};

struct StoreOutcome {
    bool stored = false; // false: the file on disk is exactly as it was
    QString path;        // full path written, or that could not be written
    SessionFailure failure;
    // Stored, but the previous version could not be kept as backupPath.
    QString backupPath;
    SessionFailure backupFailure;
    // Another program had changed the file since it was loaded or stored:
    // its version is kept as conflictCopyPath before the store. When that
    // copy cannot be made, nothing is stored (failure says why) and
    // conflictNotKept is set.
    QString conflictCopyPath;
    bool conflictNotKept = false;
    // The journal's folder was gone (deleted while the journal was open):
    // the journal went to this new file of the rescue folder instead (see
    // rescuefolder.h), which is path and the session's journal from now on,
    // and stored is true. rescuedFrom is the journal's path before; failure
    // stays empty. When no rescue file could be written either, stored is
    // false and failure says why the rescue file could not be written.
    QString rescuePath;
    QString rescuedFrom;
};

// The journal file as the session last loaded or stored it, to tell its own
// bytes from another program's.
struct DiskState {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    ContentHash hash;
};

// A version of the journal another program left on disk, as the session
// found it (see JournalSession::lookAtDisk).
struct DiskVersion {
    enum class Kind {
        same,      // the bytes the session last loaded or stored, or no file
        notWhole,  // empty, no header line, cut off inside its last line
        damaged,   // lines a load skips or alters
        lacksDays, // loads cleanly, but lacks days the base held
        clean,     // loads cleanly with every day of the base
    };
    Kind kind = Kind::same;
    std::string bytes;
    std::shared_ptr<CQuilloxDoc> document; // loaded (lacksDays, clean)
    std::size_t missingDays = 0;
};

// The one owner of the journal's file: its full path, the lock that keeps a
// second running copy of the program off it, the load (with the copy of a
// damaged file), the store (with the .bak, and the lock handed over to a new
// name) and the recent-file list. Qt Core only: the window and the
// command-line companion use it alike. It shows nothing: every operation
// returns what happened as a value, and sessionmessages.h words it.
//
// Typical use:
//     JournalSession session(doc, &settings);
//     OpenOutcome opened = session.open(path, OpenMode::named, todayDate());
//     ... change doc ...
//     StoreOutcome stored = session.store();
class JournalSession {
  public:
    // recentFileSettings: where the recent-file list is kept; null for none
    // (the list is then neither read nor written).
    explicit JournalSession(CQuilloxDoc &doc, QSettings *recentFileSettings = nullptr);
    ~JournalSession(); // releases the lock

    JournalSession(const JournalSession &) = delete;
    JournalSession &operator=(const JournalSession &) = delete;

    enum class OpenMode {
        currentUser, // the user's own journal: a missing file starts from the defaults
        named,       // a file the user named: a missing file is a failure
    };

    // Locks and loads the journal at path (relative to the working
    // directory). `today` is the day the document's defaults take. On success
    // the path becomes the session's, its lock replaces the previous one and
    // it goes to the top of the recent-file list; a load that fails leaves
    // the document, the path and the lock as they were and drops the file
    // from the recent list.
    OpenOutcome open(const QString &path, OpenMode mode, Date today);

    // Writes the journal to the session's path. Leftovers of earlier stores
    // that were interrupted are removed first, while the lock is held.
    // The journal's folder is held from the open on: when it has been
    // renamed or moved meanwhile the store goes there (and path() follows
    // it); when it has been deleted the journal goes to a rescue file (see
    // StoreOutcome::rescuePath). Precondition: hasPath().
    StoreOutcome store();

    // Writes the journal under a new name: locks it, writes, then releases
    // the old file's lock and makes the new one the session's path (and the
    // top of the recent list). A failure leaves everything as it was.
    StoreOutcome storeAs(const QString &path);

    // ---- another program's changes ----
    // Whether the file on disk is still what the session last loaded or
    // stored (a look at its size and time first, its bytes only when those
    // moved).
    bool changedOnDisk();
    // The version on disk when it differs from the bytes last loaded or
    // stored, read and judged; a version that loads cleanly is loaded.
    DiskVersion lookAtDisk(Date today);
    // The bytes last loaded or stored, loaded: the base of a three-way merge.
    CQuilloxDoc baseDocument(Date today) const;
    // The version found on disk becomes the base (the caller has merged it).
    void adoptDiskVersion(const DiskVersion &version);
    // Keeps the base's bytes as a conflict copy (before a version lacking
    // some of its days is taken). The copy's name, or empty with failure set.
    QString keepBaseAsConflictCopy(SessionFailure &failure);
    // Keeps `bytes` (another program's version the window does not take
    // whole) as a conflict copy beside the journal, wherever its folder is
    // now. The copy's name, or empty with failure set.
    QString keepConflictCopyOf(const std::string &bytes, SessionFailure &failure);

    // Whether the document holds changes not yet stored (the modified flag).
    bool hasUnsavedChanges() const;
    // Loads the file again (the lock is kept), as open() would.
    OpenOutcome reload(Date today);

    // ---- the recovery file (see recoveryfile.h) ----
    QString recoveryPath() const;
    // The header a log of the window's edits starts with now: the journal's
    // name and folder, and the hash of the bytes last loaded or stored.
    EditLogHeader editLogHeader() const;
    // The recovery file of the session's journal. One with nothing to
    // restore (empty, no whole record, edits that cancel out, an earlier
    // release's text that is the journal's own) is removed (when the lock
    // is held) and reported as none.
    RecoveryFile findRecovery();
    // Keeps the journal file as it is on disk now as a conflict copy, before
    // a replay or a merge puts other values over some of its days. Returns
    // the copy's name, or an empty string with failure set.
    QString keepConflictCopy(SessionFailure &failure);
    // Loads an earlier release's recovery text into `restored`, for the
    // caller to merge into the journal; the journal file is not touched.
    // Reported like a load of the recovery file (its damaged lines are kept
    // in the journal's damaged copy).
    OpenOutcome restoreRecovery(const RecoveryFile &recovery, Date today, CQuilloxDoc &restored);
    // Keeps the recovery file, renamed to the visible recovered name. Returns
    // the new name, or an empty string with failure set.
    QString setRecoveryAside(Date today, SessionFailure &failure);
    // Removes the recovery file; only the lock holder does, and only once
    // the one found at the open has been restored or set aside.
    void removeRecovery();
    // The recovery file found at the open is a folder or cannot be read
    // (findRecovery said unreadable): it is left alone, and the window's
    // edit log goes to the rescue folder meanwhile (editLogInRescueFolder).
    bool editLogInRescueFolder() const { return logInRescueFolder_; }
    // Points the window's edit log where this journal's edits go now: the
    // journal's own folder, or the rescue folder while the recovery file is
    // a folder or cannot be read; nowhere while untitled, read-only or with
    // a recovery file still to be resolved. Call after open, findRecovery,
    // markRecoveryResolved and a store or Save As.
    void pointEditLog(EditLogWriter &writer);
    // A recovery file was there when the journal was opened and has been
    // neither restored nor set aside: nothing may replace or remove it.
    bool recoveryUnresolved() const { return recoveryUnresolved_; }
    // The caller has taken the recovery file's edits into the document: a
    // new log may replace it.
    void markRecoveryResolved() { recoveryUnresolved_ = false; }

    // A new, untitled journal: the day list is emptied (the profile, the
    // objective and the settings stay), the path and the lock are released
    // and the modified flag is cleared.
    void startUntitled();

    bool hasPath() const { return !path_.isEmpty(); }
    // The full path, empty while untitled.
    QString path() const { return path_; }
    // The file name shown in the title bar and in questions.
    QString title() const;
    bool holdsLock() const { return lock_ != nullptr; }
    // A journal opened without its lock (none could be made: a read-only
    // or full folder) is only read: storing it could write over another
    // copy's. Why the lock could not be made.
    bool readOnly() const { return hasPath() && !lock_; }
    QString lockFailureReason() const { return lockFailureReason_; }

    // A session that only reads (zeph's show, advice, graph, export-csv)
    // writes nothing into the journal's folder: a damaged load is reported,
    // but its copy is left to the window and the commands that store.
    void setKeepsDamagedCopies(bool keeps) { keepsDamagedCopies_ = keeps; }

    QStringList recentFiles() const { return recentFiles_.entries(); }

    // The journal's folder, held from the open to the end of the session.
    const Folder &folder() const { return folder_; }
    // The journal's file name in it, as the system spells it.
    const std::string &fileName() const { return name_; }

    // Absolute and clean, as the session keeps paths.
    static QString fullPath(const QString &path);

  private:
    void adopt(const QString &path, Folder folder, JournalLockAttempt &lock);
    void adoptLeftoverLog();
    void saveRecentFiles();
    StoreOutcome writeTo(const QString &path, const Folder &folder, const std::string &name,
                         bool holdingLock);
    StoreOutcome rescue(const std::string &text, StoreOutcome outcome);
    void followFolder();
    // The bytes on disk when they are not those the session knows, else none.
    std::optional<std::string> foreignBytesOnDisk() const;
    void loadBytes(const std::string &bytes, Date today, OpenOutcome &outcome);
    // Where the recovery file found at the open lies: the journal's folder,
    // or the rescue folder (a log kept there while the journal's own was
    // unreadable).
    const Folder &recoveryFolder() const;
    std::string recoveryName() const;
    QString folderPath() const;

    CQuilloxDoc &doc_;
    QSettings *settings_;
    RecentFileList recentFiles_;
    QString path_;
    Folder folder_;
    std::string name_;
    // The lock's folder outlives the lock (see journallock.h): declared first.
    Folder lockFolder_;
    std::unique_ptr<QLockFile> lock_;
    DiskState disk_;
    // The bytes disk_ describes: the base of the window's unsaved edits.
    std::string baseBytes_;
    QString lockFailureReason_;
    bool recoveryUnresolved_ = false;
    bool keepsDamagedCopies_ = true;
    bool logInRescueFolder_ = false;
    // The recovery file found at the open is a log kept in the rescue folder.
    bool recoveryInRescueFolder_ = false;
    Folder rescueFolder_; // open while the log or the recovery file is there
};
