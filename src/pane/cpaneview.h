#pragma once

#include <QWidget>

class JournalContext;
class QPainter;

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

    // True while the pane or one of its controls has the keyboard focus.
    bool holdsFocus() const;
    // Where the keyboard is among several panes: the pane frames the focus
    // and is repainted when it comes or goes.
    void showFocusFrame();

  signals:
    // Print, PrintDirect or PrintPreview asked of this pane: every pane
    // prints the graph page, through the main window's one print path.
    void printRequested(PaneCommand command);

  protected:
    JournalContext &context() const { return context_; }

    // A pane drawn by hand draws the style's focus rectangle with
    // drawFocusFrame at the end of its paint; it shows only once the window
    // holding several panes asks for it, and only while the pane has the focus.
    void drawFocusFrame(QPainter &painter, const QRect &frame) const;

    // Called for every document update whose sender is not this pane; sender
    // is null when the change came from the document or a dialog.
    virtual void onUpdate(QObject *sender);

  private:
    void receiveUpdate(QObject *sender);

    JournalContext &context_;
    bool focusFrameShown_ = false;
    bool focusHeld_ = false;
};
