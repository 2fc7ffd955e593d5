#pragma once

#include "journal/edit.h"
#include "pane/cpaneview.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <map>
#include <vector>

class CGraphView;
class CInputView;
class CMessageView;
class CMonthlySummaryWnd;
class CQuilloxView;
class FrameCommands;
class ImportController;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

// Commands of the main window, for the panes that take them over later and
// for tests.
enum class FrameAction {
    New,
    Open,
    Save,
    SaveAs,
    Print,
    PrintPreview,
    PrintSetup,
    Exit,
    UserInfo,
    Objective,
    GraphSettings,
    ToolBar,
    StatusBar,
    Help,
    About,
    Cut,
    Copy,
    Paste,
    Undo,
    Redo,
    ContextHelp,
    NextPane,
    PreviousPane,
    ContextMenu,
    // The optional layer: trend and goal lines, the monthly summary.
    TrendLine,
    GoalLine,
    MonthlySummary,
};

// The main window: menu, toolbar, status bar and the four panes. The top row
// holds the entry form, the list and the advisor; the graph lies below across
// the whole width.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int minimumWindowWidth = 640;
    static constexpr int minimumWindowHeight = 480;
    static constexpr int topRowInitialHeight = 400;
    static constexpr int topRowMinimumHeight = 300;

    explicit CMainFrame(FrameCommands &app);
    ~CMainFrame() override;

    QAction *action(FrameAction which) const;
    QMenu *graphPeriodMenu() const { return periodMenu_; }

    CInputView *inputView() const { return inputView_; }
    CQuilloxView *listView() const { return listView_; }
    CMessageView *messageView() const { return messageView_; }
    CGraphView *graphView() const { return graphView_; }
    QSplitter *topSplitter() const { return innerSplitter_; }
    QSplitter *mainSplitter() const { return outerSplitter_; }

    // The pane that receives the routed commands: the one holding the focus,
    // or the one that held it last.
    CPaneView *activePane() const;
    void activatePane(CPaneView *pane);

    // True from the preparation of a print job to its end.
    bool printingActive() const { return printingActive_; }

    // Re-asks the active pane which of the routed commands (cut, copy, paste,
    // print, preview) it handles now. Panes call it when that changes.
    void updateCommandStates();

    // Opens the help file with the desktop's viewer: the one beside the
    // program, else the installed one in ../share/zephalonte/.
    void showHelp();
    void showAbout();
    // The monthly summary window, opened or brought to the front.
    void showMonthlySummary();
    CMonthlySummaryWnd *monthlySummaryWindow() const;

    // Follow the program's notices: the journal's name, the recent files, a
    // one-line report for the status bar.
    void refreshTitle();
    void rebuildRecentFileMenu();
    void showStatusMessage(const QString &text);

    // Runs and weights from files: the import controller reads them, asks
    // with the confirmation dialog, stores the days as one edit and selects
    // the last one.
    QAction *importAction() const { return importAction_; }
    void importFiles(const QStringList &paths);

  signals:
    // Emitted once, when the window has been painted for the first time.
    void firstPainted();

  protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    // Files to import dropped onto the window.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

  private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createPanes();
    void refreshPeriodChecks();
    void refreshLockIndicators();
    void cyclePanes(int step);
    // Shift+F10 and the menu key: the focused control's pop-up menu.
    void openFocusedContextMenu();
    void routeToActivePane(PaneCommand command);
    // The one print path: every pane prints the graph page.
    void printGraph(CPaneView *pane, PaneCommand command);
    std::vector<CPaneView *> panesInOrder() const;
    void layOutTopPanes();
    // The rows' heights for the splitter's present height (panerows.h).
    void layOutMainRows();
    // The design's minimum size, cut to the screen the window is on.
    void fitMinimumSizeToScreen();
    // The trend and goal line switches and their check marks.
    void createProgressActions();
    void refreshProgressChecks();
    // The undo and redo commands follow the editor's history.
    void refreshUndoActions();
    // Applies an edit made by a dialog or an import through the journal's editor.
    void applyEdit(const Edit &edit, const char *name);

    FrameCommands &app_;
    std::map<FrameAction, QAction *> actions_;
    QMenu *fileMenu_ = nullptr;
    QMenu *periodMenu_ = nullptr;
    QAction *recentFilesEnd_ = nullptr; // the separator after the recent files
    std::vector<QAction *> recentFileActions_;
    std::vector<std::pair<QAction *, int>> periodActions_;
    QToolBar *toolBar_ = nullptr;
    std::array<QLabel *, 4> indicators_{};
    QSplitter *outerSplitter_ = nullptr;
    QSplitter *innerSplitter_ = nullptr;
    CInputView *inputView_ = nullptr;
    CQuilloxView *listView_ = nullptr;
    CMessageView *messageView_ = nullptr;
    CGraphView *graphView_ = nullptr;
    QPointer<CPaneView> lastActivePane_;
    bool panesReady_ = false;
    bool topRowLaidOut_ = false;
    bool mainRowsLaidOut_ = false;
    // Where the top row would be: the design's height, or where the user put
    // the bar in this session. A short window only lends the difference.
    int wantedTopRowHeight_ = topRowInitialHeight;
    bool painted_ = false;
    bool lockIndicatorsLive_ = false;
    bool printingActive_ = false;
    QAction *importAction_ = nullptr;
    ImportController *importController_ = nullptr;
    QAction *mergeAction_ = nullptr;
    QPointer<CMonthlySummaryWnd> summaryWnd_;
};
