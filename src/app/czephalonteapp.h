#pragma once

#include "app/framecommands.h"
#include "app/journalcontroller.h"
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
class JournalController;
class TerminationSignals;
class QPrinter;
class QSettings;
class QWidget;

// The application object: created once by main() before anything else. It
// starts the program: the profile, the main window and the journal's first
// open. It owns the one document, the journal context the panes share, the
// printer and the window; the journal's life after the start (the file
// commands, restore, merge, the end from outside) is the JournalController's.
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
    JournalContext &context() const override { return *context_; }
    CQuilloxDoc &document() const { return *document_; }

    QString programDirectory; // the executable's directory, ending in "/"
    QString programDirectoryPath() const override { return programDirectory; }
    bool startupComplete = false;
    int nUser = 1;       // read from the profile, not used further
    int crntUserNum = 1; // names the journal file

    // ---- the window's commands, carried out by the journal's controller ----
    QString documentPath() const { return journal_->documentPath(); }
    QString documentTitle() const override;
    QStringList recentFiles() const override;
    void fileNew() override { journal_->fileNew(); }
    void fileOpen() override { journal_->fileOpen(); }
    void openRecentFile(int index) override { journal_->openRecentFile(index); }
    bool fileSave() override { return journal_->fileSave(); }
    bool fileSaveAs() override { return journal_->fileSaveAs(); }
    bool openJournal(const QString &path) { return journal_->openJournal(path); }
    void mergeOtherJournal(const QString &path) override { journal_->mergeOtherJournal(path); }
    void editUserInfo() override { journal_->editUserInfo(); }
    CloseStoreResult storeBeforeClose() override { return journal_->storeBeforeClose(); }
    void commitSessionData() { journal_->commitSessionData(); }

    QPrinter &printer() override;
    void printSetup() override;

    // startUp refused the command line itself: exit status 2, as zeph's.
    bool commandLineRefused() const { return commandLineRefused_; }
    bool terminationRequested() const { return journal_->terminationRequested(); }
    int terminationExitCode() const { return journal_->terminationExitCode(); }

  private:
    // Declared first so that they outlive the window and the panes that read them.
    std::unique_ptr<CQuilloxDoc> document_;
    std::unique_ptr<JournalContext> context_;
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<AppPrinter> printer_;
    std::unique_ptr<JournalController> journal_;
    std::unique_ptr<CMainFrame> frame_;
    TerminationSignals *terminationSignals_ = nullptr;
    bool commandLineRefused_ = false;
};
