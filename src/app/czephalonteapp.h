#pragma once

#include "app/framecommands.h"
#include "journal/calendardate.h"

#include <QByteArrayList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class AppPrinter;
class CMainFrame;
class CQuilloxDoc;
class JournalContext;
class JournalSession;
class JournalWatcher;
class EditLogWriter;
struct RecoveryFile;
class TerminationSignals;
struct OpenOutcome;
struct StoreOutcome;
class QPrinter;
class QSettings;
class QWidget;

// The application object: created once by main() before anything else. It
// starts the program, owns the one document, the journal context the panes
// share and the main window, and carries out the file commands (new, open,
// save, save as, the recent files) and the printer set-up. The journal's
// file itself (path, lock, load, store) belongs to the JournalSession; this
// object turns what the session reports into messages.
class CZephalonteApp : public QObject, public FrameCommands {
    Q_OBJECT
  public:
    explicit CZephalonteApp(QObject *parent = nullptr);
    ~CZephalonteApp() override;

    // Runs the start-up: profile, main window, the journal (the current
    // user's, or the file named on the command line), then shows the window
    // maximised. Returns false when the program must end instead; the user
    // has been told why (a mistake in the command line on standard error
    // only, see commandLineRefused()). Does not run the event loop. nativeArguments are the
    // same arguments as the system gave them (main's argv after Qt took its
    // own options): a file name among them that is not text, which Qt would
    // turn into another name, is refused, as is a working folder whose name
    // is not text when the journal is named relative to it.
    bool startUp(const QStringList &arguments, const QByteArrayList &nativeArguments = {});

    CMainFrame *mainFrame() const { return frame_.get(); }
    JournalSession &session() const { return *session_; }
    JournalContext &context() const override { return *context_; }
    CQuilloxDoc &document() const { return *document_; }

    QString programDirectory; // the executable's directory, ending in "/"
    QString programDirectoryPath() const override { return programDirectory; }
    bool startupComplete = false;
    int nUser = 1;       // read from the profile, not used further
    int crntUserNum = 1; // names the journal file

    // ---- the document's file ----
    // The full path of the journal; empty after "new" until it is saved.
    QString documentPath() const;
    // The file name shown in the title bar and in questions.
    QString documentTitle() const override;
    QStringList recentFiles() const override;

    QPrinter &printer() override;

    // ---- commands ----
    void fileNew() override;
    void fileOpen() override;
    void openRecentFile(int index) override;
    bool fileSave() override;
    bool fileSaveAs() override;
    // Loads another journal after start-up. False when it could not be loaded
    // (the user has been told); the journal in memory is then untouched.
    bool openJournal(const QString &path);
    void printSetup() override;
    void mergeOtherJournal(const QString &path) override;
    void editUserInfo() override;
    CloseStoreResult storeBeforeClose() override;

    // ---- the end of the session from outside ----
    // SIGTERM, SIGHUP or SIGINT: open dialogs close as if cancelled, the
    // journal is stored as the close command stores it (an untitled one as
    // a new file in the working folder) and the program ends, without the
    // exit question. Status 0, or 1 when the store failed (the edit log
    // then keeps the days).
    void endOnTerminationSignal();
    // startUp refused the command line itself: exit status 2, as zeph's.
    bool commandLineRefused() const { return commandLineRefused_; }
    bool terminationRequested() const { return terminating_; }
    int terminationExitCode() const { return terminationExitCode_; }
    // The desktop session asks the program to save its data: the journal is
    // stored the same way, asking nothing; the program keeps running.
    void commitSessionData();

    // Takes every edit into the journal's edit log as it is made.
    EditLogWriter &editLog() const { return *editLog_; }
    // The journal on disk may have changed (the watcher's notice): reads it
    // again when nothing is unsaved, or says that both versions will be kept.
    void checkJournalOnDisk();
  signals:
    void documentPathChanged();
    void recentFilesChanged();
    // A one-line report for the status bar (a .bak that could not be kept).
    void statusMessage(const QString &text);

  private:
    bool reportOpened(const OpenOutcome &outcome, bool atStartup);
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
    void refuseStart(const QString &text);
    QWidget *dialogParent() const;

    // Declared first so that they outlive the window and the panes that read them.
    std::unique_ptr<CQuilloxDoc> document_;
    std::unique_ptr<JournalContext> context_;
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<JournalSession> session_;
    std::unique_ptr<AppPrinter> printer_;
    std::unique_ptr<EditLogWriter> editLog_;
    std::unique_ptr<JournalWatcher> watcher_;
    std::unique_ptr<CMainFrame> frame_;
    TerminationSignals *terminationSignals_ = nullptr;
    bool journalLoaded_ = false;
    bool terminating_ = false;
    int terminationExitCode_ = 0;
    bool commandLineRefused_ = false;
    // A version on disk the window did not take has been reported.
    bool untakenTold_ = false;
    // What the status bar says while the edit log cannot be written.
    QString logTrouble_;
};
