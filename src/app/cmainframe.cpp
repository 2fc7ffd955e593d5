#include "app/cmainframe.h"

#include "activity/activitytexts.h"
#include "advisor/advisorpanepainter.h"
#include "advisor/cmessageview.h"
#include "app/appicons.h"
#include "app/caboutdlg.h"
#include "app/cmonthlysummarywnd.h"
#include "app/framecommands.h"
#include "app/frametexts.h"
#include "app/importcontroller.h"
#include "app/keyboardlocks.h"
#include "app/panerows.h"
#include "app/panewidths.h"
#include "app/undokeyrouter.h"
#include "dialogs/cgraphsettingsdlg.h"
#include "dialogs/cobjectivedlg.h"
#include "entry/cinputview.h"
#include "faces/designfaces.h"
#include "graph/cgraphview.h"
#include "graph/graphgeometry.h"
#include "graph/graphprint.h"
#include "graph/graphtexts.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "list/listaccessible.h"
#include "pane/edittexts.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"
#include "qttext/uitext.h"
#include "widgets/lineeditaccessible.h"
#include "widgets/screenfollower.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <functional>
#include <optional>
#include <tuple>

namespace {

// The toolbar pictures are 16 x 15.
constexpr QSize toolbarIconSize(16, 15);

// The graph starts as large as the entry panes; the rest of the height goes
// to it after the top row has its 400.
constexpr int graphInitialHeight = 200;

// "text\tshortcut" as a menu shows it: the shortcut becomes the action's own.
void setMenuText(QAction *action, const QString &menuText)
{
    const qsizetype tab = menuText.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
        action->setText(menuText);
        return;
    }
    action->setText(menuText.left(tab));
    action->setShortcut(
        QKeySequence::fromString(menuText.mid(tab + 1), QKeySequence::PortableText));
}

// "status-bar prompt\ntooltip".
void setPrompt(QAction *action, const QString &prompt)
{
    const qsizetype lineFeed = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(prompt.left(lineFeed));
    if (lineFeed >= 0)
        action->setToolTip(prompt.mid(lineFeed + 1));
}

QString escapedForMenu(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

CMainFrame::CMainFrame(FrameCommands &app) : app_(app)
{
    setObjectName(QStringLiteral("mainFrame"));
    // Work that needs no font first, while fontconfig may still be reading
    // its configuration on its thread: the image plugins (the style reads the
    // toolbar's extension arrow from files through them) and the seal.
    style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
    mascotPicture(false, devicePixelRatioF());
    installListAccessibility();
    installLineEditAccessibility();
    setWindowIcon(programIcon());
    fitMinimumSizeToScreen();

    // Each pane waits for its design face, which fontconfig matches on a
    // thread of its own from the start of main(): the profile is read and the
    // journal's loading begins before, and the later faces are matched while
    // the first panes are built.
    createPanes();
    // The journal's font names mapped to installed faces, for whatever still
    // names one; the panes have resolved all three by now.
    installFontSubstitutes();
    createActions();
    graphView_->setSettingsAction(actions_[FrameAction::GraphSettings]);
    createToolBar();
    createMenus();
    createStatusBar();
    importController_ = new ImportController(app_.context(), this);
    connect(importController_, &ImportController::statusMessage, this,
            &CMainFrame::showStatusMessage);
    setAcceptDrops(true);

    connect(&app_.context(), &JournalContext::documentUpdated, this, [this] {
        refreshPeriodChecks();
        updateCommandStates();
    });
    JournalEditor &editor = app_.context().editor();
    connect(&editor, &JournalEditor::historyChanged, this, &CMainFrame::refreshUndoActions);
    // Undo and redo follow the history; the dialogs' OK follows at their opening.
    connect(&editor, &JournalEditor::readOnlyChanged, this, [this](bool readOnly) {
        for (QAction *action : {importAction_, mergeAction_, actions_[FrameAction::PrintSetup]})
            action->setEnabled(!readOnly);
        setAcceptDrops(!readOnly);
    });
    connect(&editor, &JournalEditor::stepped, this,
            [this](const QString &name, bool undone, std::optional<Date> firstDay) {
                if (firstDay) {
                    app_.context().setSelectedDate(*firstDay);
                    app_.context().updateAllViews();
                }
                showStatusMessage(
                    ui(undone ? edittext::undoneReport : edittext::redoneReport).arg(name));
            });
    qApp->installEventFilter(new UndoKeyRouter(this));
    refreshUndoActions();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        for (CPaneView *pane :
             {static_cast<CPaneView *>(inputView_), static_cast<CPaneView *>(listView_),
              static_cast<CPaneView *>(messageView_), static_cast<CPaneView *>(graphView_)}) {
            if (now && (now == pane || pane->isAncestorOf(now))) {
                lastActivePane_ = pane;
                break;
            }
        }
        updateCommandStates();
    });

    if (queryKeyboardLocks()) {
        lockIndicatorsLive_ = true;
        qApp->installEventFilter(this);
    }

    // The title, the recent files and the period's check mark follow the
    // program's notices once a journal is open: the application may still be
    // opening it on another thread while this runs.
    refreshLockIndicators();
    // The entry form is where the user starts typing.
    lastActivePane_ = inputView_;
    inputView_->setFocus();
    updateCommandStates();
}

CMainFrame::~CMainFrame()
{
    // QWidget's destructor closes the window, which moves the focus; by then
    // the actions the focus handler updates are gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    if (lockIndicatorsLive_)
        qApp->removeEventFilter(this);
}

// ---- panes ----

void CMainFrame::createPanes()
{
    outerSplitter_ = new QSplitter(Qt::Vertical, this);
    outerSplitter_->setObjectName(QStringLiteral("mainSplitter"));
    outerSplitter_->setChildrenCollapsible(false);

    innerSplitter_ = new QSplitter(Qt::Horizontal, outerSplitter_);
    innerSplitter_->setObjectName(QStringLiteral("topSplitter"));
    innerSplitter_->setFrameShape(QFrame::StyledPanel);
    innerSplitter_->setMinimumHeight(topRowMinimumHeight);

    JournalContext &context = app_.context();
    graphView_ = new CGraphView(context, outerSplitter_);
    graphView_->resize(graphInitialHeight, graphInitialHeight);
    outerSplitter_->addWidget(innerSplitter_);
    outerSplitter_->addWidget(graphView_);
    // The top row keeps its height; the graph takes every change.
    outerSplitter_->setStretchFactor(0, 0);
    outerSplitter_->setStretchFactor(1, 1);

    inputView_ = new CInputView(context, innerSplitter_);
    listView_ = new CQuilloxView(context, innerSplitter_);
    messageView_ = new CMessageView(context, innerSplitter_);
    // The form's journal keys move the list; every pane prints the graph page.
    connect(inputView_, &CInputView::listCommandRequested, listView_, &CQuilloxView::runCommand);
    for (CPaneView *pane :
         {static_cast<CPaneView *>(inputView_), static_cast<CPaneView *>(listView_),
          static_cast<CPaneView *>(messageView_), static_cast<CPaneView *>(graphView_)})
        connect(pane, &CPaneView::printRequested, this,
                [this, pane](PaneCommand command) { printGraph(pane, command); });
    // The hand-drawn panes show which of them has the keys; the form's
    // fields show it themselves.
    listView_->showFocusFrame();
    messageView_->showFocusFrame();
    graphView_->showFocusFrame();
    inputView_->setMinimumWidth(entryFormMinimumWidth);
    listView_->setMinimumWidth(listMinimumWidth);
    messageView_->setMinimumWidth(advisorMinimumWidth);
    innerSplitter_->addWidget(inputView_);
    innerSplitter_->addWidget(listView_);
    innerSplitter_->addWidget(messageView_);
    // Dragging a bar never takes the form or the list below their minimum;
    // the advisor may be pushed out of sight, as the resize rule does.
    innerSplitter_->setCollapsible(0, false);
    innerSplitter_->setCollapsible(1, false);
    innerSplitter_->setCollapsible(2, true);

    innerSplitter_->installEventFilter(this);
    outerSplitter_->installEventFilter(this);
    // A bar the user moves sets the height the top row comes back to.
    connect(outerSplitter_, &QSplitter::splitterMoved, this,
            [this] { wantedTopRowHeight_ = outerSplitter_->sizes().at(0); });
    setCentralWidget(outerSplitter_);
    panesReady_ = true;
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == innerSplitter_ && panesReady_) {
        // The rule runs before the splitter lays out its panes for the new size.
        if ((event->type() == QEvent::Show && !topRowLaidOut_) ||
            (event->type() == QEvent::Resize && topRowLaidOut_))
            layOutTopPanes();
    } else if (watched == outerSplitter_ && panesReady_) {
        // Like the top row's widths, before the splitter lays out its rows.
        if ((event->type() == QEvent::Show && !mainRowsLaidOut_) ||
            (event->type() == QEvent::Resize && mainRowsLaidOut_)) {
            mainRowsLaidOut_ = true;
            layOutMainRows();
        }
    } else if (lockIndicatorsLive_) {
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyRelease || type == QEvent::ApplicationActivate ||
            (type == QEvent::WindowActivate && watched == this))
            refreshLockIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::layOutTopPanes()
{
    // The pane area: the splitter less its border and the two bars.
    const int available =
        innerSplitter_->contentsRect().width() - 2 * innerSplitter_->handleWidth();
    TopPaneWidths widths;
    if (!topRowLaidOut_) {
        topRowLaidOut_ = true;
        widths = initialTopPaneWidths(available);
    } else {
        const QList<int> current = innerSplitter_->sizes();
        widths = resizedTopPaneWidths(available, current.at(0), current.at(2));
    }
    innerSplitter_->setSizes({widths.entryForm, widths.list, widths.advisor});
}

void CMainFrame::layOutMainRows()
{
    const int height = outerSplitter_->contentsRect().height();
    const int handle = outerSplitter_->handleWidth();
    const int margins = screenPlotMargins(graphUnits(graphView_->logicalDpiY(), 6));
    const int top = fittedTopRowHeight(height, handle, wantedTopRowHeight_, margins);
    // The design's minimum holds for the bar as long as the window has room
    // for it; on a short screen the form scrolls instead.
    innerSplitter_->setMinimumHeight(std::min(topRowMinimumHeight, top));
    outerSplitter_->setSizes({top, std::max(height - handle - top, 0)});
}

void CMainFrame::fitMinimumSizeToScreen()
{
    QSize least(minimumWindowWidth, minimumWindowHeight);
    if (const QScreen *where = screen())
        least = least.boundedTo(where->availableSize());
    setMinimumSize(least);
}

void CMainFrame::showEvent(QShowEvent *event)
{
    // The window may open on another screen than the one it was made on,
    // and go to another one, or its screen change, while it is shown.
    fitMinimumSizeToScreen();
    followWindowScreen(this, [this] { fitMinimumSizeToScreen(); });
    QMainWindow::showEvent(event);
}

std::vector<CPaneView *> CMainFrame::panesInOrder() const
{
    std::vector<CPaneView *> panes;
    for (CPaneView *pane :
         {static_cast<CPaneView *>(inputView_), static_cast<CPaneView *>(listView_),
          static_cast<CPaneView *>(messageView_), static_cast<CPaneView *>(graphView_)}) {
        // A pane pushed out of sight by the resize rule is skipped.
        if (!pane->isHidden() && pane->width() > 0)
            panes.push_back(pane);
    }
    return panes;
}

CPaneView *CMainFrame::activePane() const
{
    return lastActivePane_.data();
}

void CMainFrame::activatePane(CPaneView *pane)
{
    if (!pane)
        return;
    lastActivePane_ = pane;
    pane->setFocus(Qt::OtherFocusReason);
    updateCommandStates();
}

bool CMainFrame::focusNextPrevChild(bool next)
{
    // Tab leaves the panes that have no controls to go round; the entry form
    // keeps its own cycle and never asks.
    for (CPaneView *pane :
         {static_cast<CPaneView *>(listView_), static_cast<CPaneView *>(messageView_),
          static_cast<CPaneView *>(graphView_)}) {
        if (pane->holdsFocus()) {
            lastActivePane_ = pane;
            cyclePanes(next ? +1 : -1);
            return true;
        }
    }
    return QMainWindow::focusNextPrevChild(next);
}

void CMainFrame::openFocusedContextMenu()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || focus->window() != this)
        return;
    const QPoint centre = focus->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, centre, focus->mapToGlobal(centre));
    QCoreApplication::sendEvent(focus, &event);
}

void CMainFrame::cyclePanes(int step)
{
    const std::vector<CPaneView *> panes = panesInOrder();
    if (panes.empty())
        return;
    const auto count = static_cast<int>(panes.size());
    int index = -1;
    for (int i = 0; i < count; ++i) {
        if (panes[static_cast<std::size_t>(i)] == activePane())
            index = i;
    }
    const int next = index < 0 ? 0 : ((index + step) % count + count) % count;
    activatePane(panes[static_cast<std::size_t>(next)]);
}

// ---- commands ----

void CMainFrame::createActions()
{
    using Keys = QList<QKeySequence>;
    const auto route = [this](PaneCommand command) {
        return [this, command] { routeToActivePane(command); };
    };
    struct ActionEntry {
        FrameAction id;
        const char *text;   // "text\tshortcut" as the menu shows it
        const char *prompt; // "status-bar prompt\ntooltip", or null
        Keys keys;          // replace the menu text's shortcut when given
        std::optional<ToolbarIcon> icon;
        // Null: the command has keys but no handler, and stays unavailable
        // so that the keys reach the focused control unchanged.
        std::function<void()> run;
    };
    // Kept as a table, one command to an entry, rather than as formatted code.
    // clang-format off
    const ActionEntry entries[] = {
        {FrameAction::New, frametext::fileNew, frametext::promptNew, {Qt::CTRL | Qt::Key_N}, {},
         [this] { app_.fileNew(); }},
        {FrameAction::Open, frametext::fileOpen, frametext::promptOpen, {Qt::CTRL | Qt::Key_O}, {},
         [this] { app_.fileOpen(); }},
        {FrameAction::Save, frametext::fileSave, frametext::promptSave, {Qt::CTRL | Qt::Key_S}, {},
         [this] { app_.fileSave(); }},
        {FrameAction::SaveAs, frametext::fileSaveAs, frametext::promptSaveAs, {}, {},
         [this] { app_.fileSaveAs(); }},
        {FrameAction::Print, frametext::filePrint, frametext::promptPrint, {}, ToolbarIcon::Print,
         route(PaneCommand::Print)},
        {FrameAction::PrintPreview, frametext::filePrintPreview, frametext::promptPrintPreview, {},
         {}, route(PaneCommand::PrintPreview)},
        {FrameAction::PrintSetup, frametext::filePrintSetup, frametext::promptPrintSetup, {}, {},
         [this] { app_.printSetup(); }},
        {FrameAction::Exit, frametext::fileExit, frametext::promptExit, {Qt::CTRL | Qt::Key_Q}, {},
         [this] { close(); }},
        {FrameAction::UserInfo, frametext::settingsUserInfo, frametext::promptUserInfo, {}, {},
         [this] { app_.editUserInfo(); }},
        {FrameAction::Objective, frametext::settingsObjective, frametext::promptObjective, {}, {},
         [this] {
             applyEdit(CObjectiveDlg::askForEdit(app_.context().document(), this,
                                                 app_.context().editor().readOnly()),
                       edittext::objective);
         }},
        {FrameAction::GraphSettings, frametext::settingsGraph, frametext::promptGraphSettings, {},
         {},
         [this] {
             applyEdit(CGraphSettingsDlg::askForEdit(app_.context().document(), this,
                                                     app_.context().editor().readOnly()),
                       edittext::graphSettings);
         }},
        // Alt+F1 reaches the same help from anywhere in the window.
        {FrameAction::Help, frametext::helpContents, frametext::promptHelp,
         {Qt::Key_F1, Qt::ALT | Qt::Key_F1}, {}, [this] { showHelp(); }},
        {FrameAction::About, frametext::helpAbout, frametext::promptAbout, {}, ToolbarIcon::About,
         [this] { showAbout(); }},
        {FrameAction::Cut, frametext::editCut, frametext::promptCut,
         {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete}, ToolbarIcon::Cut,
         route(PaneCommand::Cut)},
        {FrameAction::Copy, frametext::editCopy, frametext::promptCopy,
         {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert}, ToolbarIcon::Copy,
         route(PaneCommand::Copy)},
        {FrameAction::Paste, frametext::editPaste, frametext::promptPaste,
         {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert}, ToolbarIcon::Paste,
         route(PaneCommand::Paste)},
        {FrameAction::Undo, frametext::editUndo, nullptr,
         {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace}, {},
         [this] { app_.context().editor().undo(); }},
        {FrameAction::Redo, frametext::editRedo, nullptr,
         {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}, {},
         [this] { app_.context().editor().redo(); }},
        {FrameAction::ContextHelp, frametext::contextHelp, nullptr, {Qt::SHIFT | Qt::Key_F1}, {},
         nullptr},
        {FrameAction::NextPane, frametext::nextPaneItem, frametext::promptNextPane, {}, {},
         [this] { cyclePanes(+1); }},
        {FrameAction::PreviousPane, frametext::previousPaneItem, frametext::promptPreviousPane,
         {}, {}, [this] { cyclePanes(-1); }},
        // The pop-up menu of whatever has the focus, as a right click opens it.
        {FrameAction::ContextMenu, "", nullptr, {Qt::SHIFT | Qt::Key_F10, Qt::Key_Menu}, {},
         [this] { openFocusedContextMenu(); }},
    };
    // clang-format on
    for (const ActionEntry &entry : entries) {
        auto *action = new QAction(this);
        setMenuText(action, ui(entry.text));
        if (entry.prompt)
            setPrompt(action, ui(entry.prompt));
        if (!entry.keys.isEmpty())
            action->setShortcuts(entry.keys);
        if (entry.icon)
            action->setIcon(toolbarIcon(*entry.icon));
        if (entry.run)
            connect(action, &QAction::triggered, this, entry.run);
        else
            action->setEnabled(false);
        actions_[entry.id] = action;
    }

    createProgressActions();

    QAction *statusBarShown = new QAction(this);
    setMenuText(statusBarShown, ui(frametext::viewStatusBar));
    setPrompt(statusBarShown, ui(frametext::promptStatusBar));
    statusBarShown->setCheckable(true);
    statusBarShown->setChecked(true);
    connect(statusBarShown, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    actions_[FrameAction::StatusBar] = statusBarShown;

    // Keys of commands that are in no menu work only when the window holds
    // the actions itself.
    for (FrameAction id : {FrameAction::New, FrameAction::Open, FrameAction::Save, FrameAction::Cut,
                           FrameAction::Copy, FrameAction::Paste, FrameAction::Undo,
                           FrameAction::Redo, FrameAction::ContextHelp, FrameAction::NextPane,
                           FrameAction::PreviousPane, FrameAction::ContextMenu})
        addAction(actions_[id]);
}

void CMainFrame::createProgressActions()
{
    for (const auto &[id, text, prompt, option] :
         {std::tuple{FrameAction::TrendLine, graphtext::trendLineItem, frametext::promptTrendLine,
                     &ProgressOptions::trendLine},
          std::tuple{FrameAction::GoalLine, graphtext::goalLineItem, frametext::promptGoalLine,
                     &ProgressOptions::goalLine}}) {
        auto *action = new QAction(this);
        setMenuText(action, ui(text));
        setPrompt(action, ui(prompt));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, member = option](bool on) {
            ProgressOptions options = app_.context().progressOptions();
            options.*member = on;
            app_.context().setProgressOptions(options);
        });
        actions_[id] = action;
    }
    connect(&app_.context(), &JournalContext::progressOptionsChanged, this,
            &CMainFrame::refreshProgressChecks);
    refreshProgressChecks();

    auto *summary = new QAction(this);
    setMenuText(summary, ui(frametext::viewMonthlySummary));
    setPrompt(summary, ui(frametext::promptMonthlySummary));
    connect(summary, &QAction::triggered, this, &CMainFrame::showMonthlySummary);
    actions_[FrameAction::MonthlySummary] = summary;
}

void CMainFrame::refreshProgressChecks()
{
    const ProgressOptions options = app_.context().progressOptions();
    actions_[FrameAction::TrendLine]->setChecked(options.trendLine);
    actions_[FrameAction::GoalLine]->setChecked(options.goalLine);
}

void CMainFrame::showMonthlySummary()
{
    if (!summaryWnd_)
        summaryWnd_ = new CMonthlySummaryWnd(app_.context(), app_.printer(), this);
    else
        summaryWnd_->refresh();
    summaryWnd_->show();
    summaryWnd_->raise();
    summaryWnd_->activateWindow();
}

CMonthlySummaryWnd *CMainFrame::monthlySummaryWindow() const
{
    return summaryWnd_.data();
}

QAction *CMainFrame::action(FrameAction which) const
{
    const auto found = actions_.find(which);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::createMenus()
{
    fileMenu_ = menuBar()->addMenu(ui(frametext::fileMenu));
    fileMenu_->addAction(actions_[FrameAction::SaveAs]);
    fileMenu_->addSeparator();
    // Runs from a watch's files.
    importAction_ = fileMenu_->addAction(QString());
    importAction_->setObjectName(QStringLiteral("importAction"));
    setMenuText(importAction_, ui(activitytext::menuItem));
    setPrompt(importAction_, ui(activitytext::menuPrompt));
    connect(importAction_, &QAction::triggered, this, [this] {
        const QStringList paths = QFileDialog::getOpenFileNames(
            this, ui(activitytext::fileDialogTitle), QString(), ui(activitytext::fileDialogFilter));
        if (!paths.isEmpty())
            importFiles(paths);
    });
    // Another version of the journal, merged by day.
    mergeAction_ = fileMenu_->addAction(QString());
    mergeAction_->setObjectName(QStringLiteral("mergeAction"));
    setMenuText(mergeAction_, ui(frametext::mergeMenuItem));
    setPrompt(mergeAction_, ui(frametext::mergePrompt));
    connect(mergeAction_, &QAction::triggered, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, QString(), QString(), ui(frametext::fileFilter));
        if (!path.isEmpty())
            app_.mergeOtherJournal(path);
    });
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_[FrameAction::Print]);
    fileMenu_->addAction(actions_[FrameAction::PrintPreview]);
    fileMenu_->addAction(actions_[FrameAction::PrintSetup]);
    fileMenu_->addSeparator();
    recentFilesEnd_ = fileMenu_->addSeparator();
    fileMenu_->addAction(actions_[FrameAction::Exit]);
    connect(fileMenu_, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);

    QMenu *edit = menuBar()->addMenu(ui(frametext::editMenu));
    edit->addAction(actions_[FrameAction::Undo]);
    edit->addAction(actions_[FrameAction::Redo]);
    edit->addSeparator();
    edit->addAction(actions_[FrameAction::Cut]);
    edit->addAction(actions_[FrameAction::Copy]);
    edit->addAction(actions_[FrameAction::Paste]);
    connect(edit, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);

    QMenu *settings = menuBar()->addMenu(ui(frametext::settingsMenu));
    settings->addAction(actions_[FrameAction::UserInfo]);
    settings->addAction(actions_[FrameAction::Objective]);
    settings->addAction(actions_[FrameAction::GraphSettings]);

    QMenu *view = menuBar()->addMenu(ui(frametext::viewMenu));
    periodMenu_ = view->addMenu(ui(frametext::viewGraphPeriod));
    periodMenu_->setObjectName(QStringLiteral("graphPeriodMenu"));
    static_assert(graphtext::graphPeriodItems.size() == graphPeriodChoices.size());
    for (std::size_t i = 0; i < graphPeriodChoices.size(); ++i) {
        QAction *a = periodMenu_->addAction(ui(graphtext::graphPeriodItems[i]));
        a->setCheckable(true);
        a->setStatusTip(ui(frametext::promptGraphPeriod));
        const int nDays = graphPeriodChoices[i];
        connect(a, &QAction::triggered, this, [this, nDays] {
            app_.context().setGraphPeriod(nDays);
            refreshPeriodChecks();
        });
        periodActions_.emplace_back(a, nDays);
    }
    connect(periodMenu_, &QMenu::aboutToShow, this, &CMainFrame::refreshPeriodChecks);
    view->addAction(actions_[FrameAction::TrendLine]);
    view->addAction(actions_[FrameAction::GoalLine]);
    view->addAction(actions_[FrameAction::MonthlySummary]);
    view->addSeparator();
    // F6 is how the keyboard reaches the panes; the menu is where it is found.
    view->addAction(actions_[FrameAction::NextPane]);
    view->addAction(actions_[FrameAction::PreviousPane]);
    view->addSeparator();
    view->addAction(actions_[FrameAction::ToolBar]);
    view->addAction(actions_[FrameAction::StatusBar]);

    QMenu *help = menuBar()->addMenu(ui(frametext::helpMenu));
    help->addAction(actions_[FrameAction::Help]);
    help->addSeparator();
    help->addAction(actions_[FrameAction::About]);
}

void CMainFrame::createToolBar()
{
    toolBar_ = new QToolBar(ui(frametext::toolBarTitle), this);
    toolBar_->setObjectName(QStringLiteral("mainToolBar"));
    toolBar_->setIconSize(toolbarIconSize);
    toolBar_->addAction(actions_[FrameAction::Cut]);
    toolBar_->addAction(actions_[FrameAction::Copy]);
    toolBar_->addAction(actions_[FrameAction::Paste]);
    toolBar_->addSeparator();
    toolBar_->addAction(actions_[FrameAction::Print]);
    toolBar_->addSeparator();
    toolBar_->addAction(actions_[FrameAction::About]);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    QAction *toggle = toolBar_->toggleViewAction();
    setMenuText(toggle, ui(frametext::viewToolBar));
    setPrompt(toggle, ui(frametext::promptToolBar));
    actions_[FrameAction::ToolBar] = toggle;
}

void CMainFrame::createStatusBar()
{
    auto *idle = new QLabel(ui(frametext::idlePrompt), this);
    idle->setObjectName(QStringLiteral("idlePrompt"));
    statusBar()->addWidget(idle, 1);

    const char *const texts[] = {frametext::indicatorKana, frametext::indicatorCaps,
                                 frametext::indicatorNum, frametext::indicatorScroll};
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        auto *label = new QLabel(ui(texts[i]), this);
        label->setObjectName(QStringLiteral("indicator%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        // Room for the text whether lit or not, so the bar does not jump.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 12);
        statusBar()->addPermanentWidget(label);
        indicators_[i] = label;
    }
}

void CMainFrame::refreshLockIndicators()
{
    // Unknown lock state (no X server to ask) shows the indicators unlit.
    const KeyboardLockState state = queryKeyboardLocks().value_or(KeyboardLockState{});
    const bool lit[] = {state.kana, state.caps, state.num, state.scroll};
    for (std::size_t i = 0; i < indicators_.size(); ++i)
        indicators_[i]->setEnabled(lit[i]);
}

void CMainFrame::rebuildRecentFileMenu()
{
    for (QAction *old : recentFileActions_) {
        fileMenu_->removeAction(old);
        old->deleteLater();
    }
    recentFileActions_.clear();

    const QStringList entries = app_.recentFiles();
    if (entries.isEmpty()) {
        auto *placeholder = new QAction(ui(frametext::fileRecent), fileMenu_);
        placeholder->setEnabled(false);
        fileMenu_->insertAction(recentFilesEnd_, placeholder);
        recentFileActions_.push_back(placeholder);
        return;
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(
            escapedForMenu(QDir::toNativeSeparators(entries.at(i))));
        auto *a = new QAction(text, fileMenu_);
        a->setStatusTip(ui(frametext::promptRecentFile));
        const int index = static_cast<int>(i);
        connect(a, &QAction::triggered, this, [this, index] { app_.openRecentFile(index); });
        fileMenu_->insertAction(recentFilesEnd_, a);
        recentFileActions_.push_back(a);
    }
}

void CMainFrame::refreshPeriodChecks()
{
    for (const auto &[action, nDays] : periodActions_)
        action->setChecked(app_.context().document().isGraphPeriodChecked(nDays));
}

void CMainFrame::showStatusMessage(const QString &text)
{
    statusBar()->showMessage(text);
}

void CMainFrame::refreshTitle()
{
    setWindowTitle(app_.documentTitle() + QStringLiteral(" - ") + ui(applicationTitle));
}

void CMainFrame::updateCommandStates()
{
    CPaneView *pane = activePane();
    const std::pair<FrameAction, PaneCommand> routed[] = {
        {FrameAction::Cut, PaneCommand::Cut},
        {FrameAction::Copy, PaneCommand::Copy},
        {FrameAction::Paste, PaneCommand::Paste},
        {FrameAction::Print, PaneCommand::Print},
        {FrameAction::PrintPreview, PaneCommand::PrintPreview},
    };
    for (const auto &[id, command] : routed)
        actions_[id]->setEnabled(pane && pane->isCommandEnabled(command));
}

void CMainFrame::printGraph(CPaneView *pane, PaneCommand command)
{
    // Set from the preparation to the end of the job, whichever way it ends.
    const QScopedValueRollback<bool> printing(printingActive_, true);
    printGraphPage(*graphView_, app_.printer(), pane, command);
}

void CMainFrame::refreshUndoActions()
{
    const JournalEditor &editor = app_.context().editor();
    QAction *undo = actions_[FrameAction::Undo];
    QAction *redo = actions_[FrameAction::Redo];
    undo->setEnabled(editor.canUndo());
    redo->setEnabled(editor.canRedo());
    undo->setStatusTip(editor.canUndo() ? ui(edittext::undoTip).arg(editor.undoName()) : QString());
    redo->setStatusTip(editor.canRedo() ? ui(edittext::redoTip).arg(editor.redoName()) : QString());
}

void CMainFrame::applyEdit(const Edit &edit, const char *name)
{
    app_.context().editor().apply(edit, ui(name));
}

void CMainFrame::routeToActivePane(PaneCommand command)
{
    CPaneView *pane = activePane();
    if (pane && pane->isCommandEnabled(command))
        pane->runCommand(command);
}

// ---- files dropped onto the window ----

namespace {

// The local files among dropped URLs.
QStringList droppedFiles(const QMimeData *mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // The dialog opens after the drop has ended, so that the file manager
    // the files came from is not kept waiting.
    QMetaObject::invokeMethod(
        this, [this, paths] { importFiles(paths); }, Qt::QueuedConnection);
}

void CMainFrame::importFiles(const QStringList &paths)
{
    importController_->importFiles(paths);
}

// ---- help, about ----

void CMainFrame::showHelp()
{
    QString directory = app_.programDirectoryPath();
    if (!directory.isEmpty() && !directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    // Beside the program in a build tree or a copied program folder; an
    // installed program keeps it with its data, <prefix>/share/zephalonte
    // beside <prefix>/bin, so an unpacked package finds it wherever it lies.
    const QStringList places = {
        directory + ui(frametext::helpFileName),
        QDir::cleanPath(directory + QStringLiteral("../share/zephalonte/") +
                        ui(frametext::helpFileName)),
    };
    const auto found = std::find_if(places.begin(), places.end(),
                                    [](const QString &place) { return QFileInfo::exists(place); });
    if (found == places.end()) {
        QStringList shown;
        for (const QString &place : places)
            shown << QDir::toNativeSeparators(place);
        QMessageBox::warning(
            this, ui(applicationTitle),
            ui(frametext::helpFileMissing).arg(ui(frametext::helpFileName), shown.join(u'\n')));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(*found))) {
        QMessageBox::warning(
            this, ui(applicationTitle),
            ui(frametext::helpViewerMissing).arg(QDir::toNativeSeparators(*found)));
    }
}

void CMainFrame::showAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

// ---- window events ----

void CMainFrame::closeEvent(QCloseEvent *event)
{
    const FrameCommands::CloseStoreResult stored = app_.storeBeforeClose();
    if (stored.result == FrameCommands::CloseStore::KeepRunning) {
        event->ignore();
        return;
    }
    // After "quit without saving?" was answered yes, asking again whether to
    // quit would only repeat the question.
    if (stored.result == FrameCommands::CloseStore::Stored && !printingActive_) {
        // A .bak that could not be kept, or another program's version kept aside,
        // is said here: the status bar is about to go.
        const QString text = stored.notes.isEmpty() ? ui(frametext::exitQuestion)
                                                    : stored.notes + QStringLiteral("\n\n") +
                                                          ui(frametext::exitQuestion);
        QMessageBox question(QMessageBox::Question, ui(applicationTitle), text,
                             QMessageBox::Yes | QMessageBox::No, this);
        question.setDefaultButton(QMessageBox::Yes);
        if (question.exec() != QMessageBox::Yes) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void CMainFrame::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (!painted_) {
        painted_ = true;
        emit firstPainted();
    }
}
