#pragma once

#include "app/framecommands.h"
#include "journal/calendardate.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class AppPrinter;
class CQuilloxDoc;
class EditLogWriter;
class JournalContext;
class JournalSession;
class JournalWatcher;
class QSettings;
class QWidget;
struct OpenOutcome;
struct RecoveryFile;
struct StoreOutcome;

// The window's side of the journal's life: open, store, the restore of a
// previous session's edits, another program's version met on disk, the
// merge of another journal, and the store when the program is ended from
// outside. The file itself (path, lock, load, store) belongs to the
// JournalSession; this object decides when to call it and turns what it
// reports into questions, messages and status-bar lines. It keeps the
// session, the edit log and the watcher in step with each other.
class JournalController : public QObject {
    Q_OBJECT
  public:
    JournalController(CQuilloxDoc &document, JournalContext &context, QObject *parent = nullptr);
    ~JournalController() override;

    // The profile keeps the recent-file list and what a previous end from
    // outside has to say; the session is made with it. Once, before open.
    void useProfile(QSettings &profile);
    // Where questions and messages are shown (the main window, once built).
    void setDialogParent(QWidget *parent) { dialogParent_ = parent; }

    // Opens the journal at start-up: the current user's, or the named file.
    // Reads the session and the document only, so that it may run on a
    // worker while the window is built; reportOpened follows on this thread.
    OpenOutcome openAtStartUp(const QString &namedPath, int userNumber);
    // Says what the open found, offers a previous session's edits and asks
    // for the user's name when the journal has none. False when the journal
    // could not be opened (at start-up: the program must end, said already).
    bool reportOpened(const OpenOutcome &outcome, bool atStartup);
    // What the previous end of the program left to say: an untitled journal
    // written under a name of its own, journals stored into rescue files.
    void tellWhatTheLastEndLeft();
    // The start cannot go on: said on standard error and in a message box.
    void refuseStart(const QString &text);

    // ---- the document's file ----
    QString documentPath() const;
    QString documentTitle() const;
    QStringList recentFiles() const;

    // ---- commands ----
    void fileNew();
    void fileOpen();
    void openRecentFile(int index);
    bool fileSave();
    bool fileSaveAs();
    // Loads another journal after start-up. False when it could not be loaded
    // (the user has been told); the journal in memory is then untouched.
    bool openJournal(const QString &path);
    void mergeOtherJournal(const QString &path);
    void editUserInfo();
    FrameCommands::CloseStoreResult storeBeforeClose();

    // ---- the end of the session from outside ----
    // SIGTERM, SIGHUP or SIGINT: open dialogs close as if cancelled, the
    // journal is stored as the close command stores it (an untitled one as
    // a new file in the working folder) and the program ends, without the
    // exit question. Status 0, or 1 when the store failed (the edit log
    // then keeps the days).
    void endOnTerminationSignal();
    bool terminationRequested() const { return terminating_; }
    int terminationExitCode() const { return terminationExitCode_; }
    // The desktop session asks the program to save its data: the journal is
    // stored the same way, asking nothing; the program keeps running.
    void commitSessionData();
    // The display has gone (the program cannot go on): the journal is
    // stored without a word, as at a termination signal; when that fails,
    // the edit log keeps the edits.
    void storeAtLostDisplay();

    // The journal on disk may have changed (the watcher's notice): reads it
    // again when nothing is unsaved, or says that both versions will be kept.
    void checkJournalOnDisk();

  signals:
    void documentPathChanged();
    void recentFilesChanged();
    // A one-line report for the status bar (a .bak that could not be kept).
    void statusMessage(const QString &text);

  private:
    void offerRecovery();
    // Replays a recovery file's edits onto the journal as it is (restore).
    void restoreRecovery(const RecoveryFile &recovery);
    // The journal's edit log starts over: its edits are in the journal now,
    // or were dropped with it.
    void startEditLogOver();
    // Another program's version on disk, if any, is read and merged by day
    // into the document (or, when it does not load cleanly, left for the
    // next store to keep as a conflict copy). False when it could not be
    // merged because a copy could not be kept.
    bool meetDiskVersion();
    // Why the journal is only read, and what the user can do.
    QString readOnlyText() const;
    // At open, the status bar names conflict copies lying beside the journal.
    void tellConflictCopies();
    void followSessionPath();
    // Every store goes through here: a successful one starts the edit log
    // over on the bytes just stored.
    StoreOutcome storeJournal(const QString &newPath = QString());
    // Stores without asking anything, for the ends that come from outside.
    bool storeUnattended();
    // Reports a failed store or a .bak not kept; true when stored.
    bool reportStored(const StoreOutcome &outcome);
    bool saveModified();
    QString askSavePath();
    void promptForUserInfoIfUnnamed();

    CQuilloxDoc &document_;
    JournalContext &context_;
    QSettings *profile_ = nullptr;
    QWidget *dialogParent_ = nullptr;
    std::unique_ptr<JournalSession> session_;
    std::unique_ptr<EditLogWriter> editLog_;
    std::unique_ptr<JournalWatcher> watcher_;
    bool journalLoaded_ = false;
    bool terminating_ = false;
    int terminationExitCode_ = 0;
    // A version on disk the window did not take has been reported.
    bool untakenTold_ = false;
    // What the status bar says while the edit log cannot be written.
    QString logTrouble_;
    // A store into a rescue file is on its way (the journal's folder went).
    bool rescueStoreQueued_ = false;
};
