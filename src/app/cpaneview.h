#pragma once

#include <QWidget>

// Commands the main window routes to the active pane. A pane that handles one
// says so in isCommandEnabled; the rest stay unavailable while it is active.
enum class PaneCommand {
    Cut,
    Copy,
    Paste,
    Print,
    PrintDirect, // printing without the print dialog
    PrintPreview,
    NextLine,
    PreviousLine,
    FirstLine,
    LastLine,
    NextPage,
    PreviousPage,
};

// Base of the four panes. Every pane shows the one document; after any change
// the changer calls CZephalonteApp::updateAllViews and each pane re-reads what
// it shows in onUpdate. The changer itself, when it is a pane, is skipped.
class CPaneView : public QWidget {
    Q_OBJECT
  public:
    explicit CPaneView(QWidget *parent = nullptr);

    virtual bool isCommandEnabled(PaneCommand command) const;
    virtual void runCommand(PaneCommand command);

  protected:
    // Called for every document update whose sender is not this pane; sender
    // is null when the change came from the document or a dialog.
    virtual void onUpdate(QObject *sender);

  private:
    void receiveUpdate(QObject *sender);
};
