#pragma once

#include <QString>
#include <QStringList>

class JournalContext;
class QPrinter;

// What the main window asks of the program behind it: the file commands, the
// printer, the texts its menus and title show, and the store before it
// closes. The application object provides them; the window knows only this,
// so the two do not include each other.
class FrameCommands {
  public:
    // The document and the selected day the panes share, and their notices.
    virtual JournalContext &context() const = 0;

    // The file name shown in the title bar and in questions.
    virtual QString documentTitle() const = 0;
    virtual QStringList recentFiles() const = 0;
    // The executable's directory, ending in "/", where the help file lies.
    virtual QString programDirectoryPath() const = 0;
    // The printer the panes print on and the page set-up edits.
    virtual QPrinter &printer() = 0;

    virtual void fileNew() = 0;
    virtual void fileOpen() = 0;
    virtual void openRecentFile(int index) = 0;
    // False when nothing was written (failure reported, or the user cancelled).
    virtual bool fileSave() = 0;
    virtual bool fileSaveAs() = 0;
    virtual void printSetup() = 0;
    // Merges another version of the journal (a conflict copy, a second
    // computer's journal) day by day as one edit: the days it alone holds
    // are taken, a day both hold differently keeps this journal's value.
    virtual void mergeOtherJournal(const QString &path) = 0;
    virtual void editUserInfo() = 0;

    // Stores the journal before the main window closes.
    enum class CloseStore {
        Stored,       // written: the exit question comes next
        QuitUnstored, // not written, and the user chose to quit all the same
        KeepRunning,  // the user chose to stay
    };
    struct CloseStoreResult {
        CloseStore result = CloseStore::Stored;
        // Stored, with something to say: the .bak could not be kept, or
        // another program's version was kept aside.
        QString notes;
    };
    virtual CloseStoreResult storeBeforeClose() = 0;

  protected:
    ~FrameCommands() = default;
};
