#pragma once

#include <QWidget>

class JournalContext;

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

// Base of the four panes. Every pane shows the context's one document; after
// every edit (the editor's notice) and every new selected day or load
// (JournalContext::updateAllViews) each pane re-reads what it shows in
// onUpdate. The pane that caused the notice, when it says so, is skipped.
class CPaneView : public QWidget {
    Q_OBJECT
  public:
    explicit CPaneView(JournalContext &context, QWidget *parent = nullptr);

    virtual bool isCommandEnabled(PaneCommand command) const;
    virtual void runCommand(PaneCommand command);

  signals:
    // Print, PrintDirect or PrintPreview asked of this pane: every pane
    // prints the graph page, through the main window's one print path.
    void printRequested(PaneCommand command);

  protected:
    JournalContext &context() const { return context_; }

    // Called for every document update whose sender is not this pane; sender
    // is null when the change came from the document or a dialog.
    virtual void onUpdate(QObject *sender);

  private:
    void receiveUpdate(QObject *sender);

    JournalContext &context_;
};
