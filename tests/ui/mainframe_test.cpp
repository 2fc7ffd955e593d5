// The main window: menus, period check marks, panes and their widths, the
// close command, help and the about box.

#include "apptestsupport.h"
#include "docsetup.h"
#include "expectedtexts.h"

#include "advisor/cmessageview.h"
#include "app/caboutdlg.h"
#include "app/cmainframe.h"
#include "entry/cinputview.h"
#include "graph/cgraphview.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "pane/journalcontext.h"
#include "session/sessiontexts.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

namespace {

// The text a menu item shows, with its shortcut after a tab.
std::string itemText(const QAction *action)
{
    if (action->isSeparator())
        return {};
    QString text = action->text();
    if (!action->shortcut().isEmpty())
        text += u'\t' + action->shortcut().toString(QKeySequence::PortableText);
    return text.toStdString();
}

std::vector<std::string> itemTexts(const QMenu *menu)
{
    std::vector<std::string> texts;
    for (const QAction *action : menu->actions())
        texts.push_back(itemText(action));
    return texts;
}

class MainFrameTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startOnJournal("2026/08/01\t57.5\t0\t0\t0\t0\t0\t\r\n"));
        QCoreApplication::processEvents();
    }

    QMenu *menu(int index) const { return frame->menuBar()->actions().at(index)->menu(); }

    QList<int> topWidths() const { return frame->topSplitter()->sizes(); }
};

TEST_F(MainFrameTest, menusCarryTheirTextsAndShortcuts)
{
    std::vector<std::string> titles;
    for (const QAction *action : frame->menuBar()->actions())
        titles.push_back(action->text().toStdString());
    EXPECT_EQ(titles, expected::menuTitles);

    // The recent-file list holds the journal just opened.
    std::vector<std::string> file = itemTexts(menu(0));
    std::vector<std::string> expectedFile = expected::fileMenu;
    expectedFile[expected::firstRecentFileItem] =
        "&1 " + path(QStringLiteral("zph0001.txt")).toStdString();
    EXPECT_EQ(file, expectedFile);
    EXPECT_EQ(itemTexts(menu(1)), expected::editMenu);
    EXPECT_EQ(itemTexts(menu(2)), expected::settingsMenu);
    EXPECT_EQ(itemTexts(menu(3)), expected::viewMenu);
    EXPECT_EQ(itemTexts(menu(4)), expected::helpMenu);

    const std::vector<std::string> period = itemTexts(frame->graphPeriodMenu());
    ASSERT_EQ(period.size(), 14u);
    EXPECT_EQ(period.front(), expected::firstWeekItem);
    EXPECT_EQ(period[9], expected::tenthWeekItem);
    EXPECT_EQ(std::vector<std::string>(period.begin() + 10, period.end()), expected::monthItems);
}

TEST_F(MainFrameTest, statusBarShowsIdlePromptAndFourIndicators)
{
    auto *idle = frame->statusBar()->findChild<QLabel *>(QStringLiteral("idlePrompt"));
    ASSERT_NE(idle, nullptr);
    EXPECT_EQ(idle->text(), qs(expected::idlePrompt));
    std::vector<std::string> indicators;
    for (int i = 0; i < 4; ++i) {
        auto *label = frame->statusBar()->findChild<QLabel *>(QStringLiteral("indicator%1").arg(i));
        ASSERT_NE(label, nullptr);
        indicators.push_back(label->text().toStdString());
        // Offscreen nothing can tell the lock state: shown, but unlit.
        EXPECT_FALSE(label->isEnabled());
    }
    EXPECT_EQ(indicators, expected::indicators);
    EXPECT_EQ(frame->action(FrameAction::UserInfo)->toolTip(), QStringLiteral("ﾕｰｻﾞ情報"));
    EXPECT_FALSE(frame->action(FrameAction::UserInfo)->statusTip().contains(u'\n'));
}

TEST_F(MainFrameTest, periodCheckMarkFollowsGraphNDays)
{
    const QList<QAction *> items = frame->graphPeriodMenu()->actions();
    auto checked = [&] {
        QStringList texts;
        emit frame->graphPeriodMenu()->aboutToShow();
        for (const QAction *item : items)
            if (item->isChecked())
                texts << item->text();
        return texts;
    };
    EXPECT_EQ(checked(), QStringList{QStringLiteral("&5週間分")}); // the default 35

    app->document().setGraphPeriod(30);
    EXPECT_TRUE(checked().isEmpty());

    frame->graphView()->periodValid = true;
    items.at(10)->trigger(); // one month
    EXPECT_EQ(app->document().graphSettings().graphNDays, -1);
    EXPECT_FALSE(frame->graphView()->periodValid);
    EXPECT_EQ(checked(), QStringList{qs(expected::monthItems[0])});

    items.at(2)->trigger(); // three weeks
    EXPECT_EQ(app->document().graphSettings().graphNDays, 21);
    EXPECT_EQ(checked().size(), 1);
}

class UpdateCounter : public CPaneView {
  public:
    using CPaneView::CPaneView;
    int updates = 0;

  protected:
    void onUpdate(QObject *) override { ++updates; }
};

TEST_F(MainFrameTest, oneUpdateReachesEveryPaneOnceAndSkipsTheSender)
{
    // Beside the window's four panes, whose answers would show as echoes.
    UpdateCounter first(app->context());
    UpdateCounter second(app->context());
    int notices = 0;
    QObject::connect(&app->context(), &JournalContext::documentUpdated, &first,
                     [&notices] { ++notices; });
    app->context().updateAllViews(&first);
    EXPECT_EQ(first.updates, 0);
    EXPECT_EQ(second.updates, 1);
    app->context().updateAllViews();
    EXPECT_EQ(first.updates, 1);
    EXPECT_EQ(second.updates, 2);
    EXPECT_EQ(notices, 2);

    // The form's own moves are told once too, with the form as sender.
    QTest::mouseClick(frame->inputView()->findChild<QPushButton *>("nextDayButton"),
                      Qt::LeftButton);
    EXPECT_EQ(notices, 3);
    EXPECT_EQ(second.updates, 3);
}

TEST_F(MainFrameTest, panesHaveTheirClasses)
{
    QSplitter *top = frame->topSplitter();
    ASSERT_EQ(top->count(), 3);
    EXPECT_NE(qobject_cast<CInputView *>(top->widget(0)), nullptr);
    EXPECT_NE(qobject_cast<CQuilloxView *>(top->widget(1)), nullptr);
    EXPECT_NE(qobject_cast<CMessageView *>(top->widget(2)), nullptr);
    EXPECT_NE(qobject_cast<CGraphView *>(frame->mainSplitter()->widget(1)), nullptr);
}

TEST_F(MainFrameTest, firstLayoutGivesFormAndList200AndTopRow400)
{
    // A window laid out once, at its first size.
    CMainFrame fresh(*app);
    fresh.resize(1000, 700);
    fresh.show();
    QCoreApplication::processEvents();
    QSplitter *top = fresh.topSplitter();
    const int available = top->contentsRect().width() - 2 * top->handleWidth();
    EXPECT_EQ(top->sizes(), (QList<int>{200, 200, available - 400}));
    EXPECT_EQ(fresh.mainSplitter()->sizes().at(0), CMainFrame::topRowInitialHeight);

    // The started program was then maximised: the list took the change.
    EXPECT_EQ(topWidths().at(0), 200);
    EXPECT_GE(topWidths().at(1), 200);
}

TEST_F(MainFrameTest, listTakesWidthChangesUntilAdvisorIsHidden)
{
    frame->showNormal();
    frame->resize(1200, 700);
    QCoreApplication::processEvents();
    const QList<int> wide = topWidths();
    ASSERT_EQ(wide.at(0), 200);
    const int advisor = wide.at(2);
    ASSERT_GT(advisor, 80);

    // Dragging the edge in many small steps keeps the outer panes.
    int width = 1200;
    for (; width >= 1000; width -= 7) {
        frame->resize(width, 700);
        QCoreApplication::processEvents();
        EXPECT_EQ(topWidths().at(0), 200);
        EXPECT_EQ(topWidths().at(2), advisor);
    }
    EXPECT_EQ(topWidths().at(1), wide.at(1) - (1200 - (width + 7)));

    // Widening gives everything to the list.
    frame->resize(1300, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(topWidths(), (QList<int>{200, wide.at(1) + 100, advisor}));

    // With a wide form (dragged by the user) the list reaches its minimum
    // before the window does: then the advisor gives way, then disappears.
    QSplitter *top = frame->topSplitter();
    const int available = top->contentsRect().width() - 2 * top->handleWidth();
    top->setSizes({380, available - 380 - 300, 300});
    const int outside = frame->width() - available; // frame, borders and bars
    frame->resize(outside + 380 + 180 + 150, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(topWidths(), (QList<int>{380, 180, 150}));
    frame->resize(outside + 380 + 180 + 80, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(topWidths(), (QList<int>{380, 180, 80}));
    frame->resize(outside + 380 + 180 + 79, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(topWidths(), (QList<int>{380, 259, 0}));
}

TEST_F(MainFrameTest, closeStoresJournalAndNoKeepsProgramRunning)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    putDay(app->document(), makeDate(2026, 8, 2), "new entry", 58, 0, 0, 0, 0, 0);
    answerer.expectMessage(QMessageBox::No);

    EXPECT_FALSE(frame->close());

    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_EQ(answerer.texts[0], qs(expected::exitQuestion));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(fileBytes(journal).contains("2026/08/02"));

    answerer.expectMessage(QMessageBox::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameTest, closeWhilePrintingStoresWithoutAsking)
{
    putDay(app->document(), makeDate(2026, 8, 4), "", 58, 0, 0, 0, 0, 0);
    bool closed = false;
    answerer.expect([&](QWidget *preview) {
        closed = frame->close();
        qobject_cast<QDialog *>(preview)->reject();
    });
    frame->graphView()->runCommand(PaneCommand::PrintPreview);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(answerer.texts.isEmpty());
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
    EXPECT_TRUE(fileBytes(path(QStringLiteral("zph0001.txt"))).contains("2026/08/04"));
}

TEST_F(MainFrameTest, failedStoreAtCloseIsReportedAndNoKeepsEntries)
{
    // A journal made read-only under the running program: never replaced.
    QDir sub(path(QStringLiteral("closed")));
    ASSERT_TRUE(QDir(workDir.path()).mkdir(QStringLiteral("closed")));
    const QString journal = sub.filePath(QStringLiteral("j.txt"));
    writeJournalFile(journal, "Taro", "");
    ASSERT_TRUE(app->openJournal(journal));
    putDay(app->document(), makeDate(2026, 8, 5), "", 58, 0, 0, 0, 0, 0);
    ASSERT_TRUE(QFile::setPermissions(journal, QFileDevice::ReadOwner));

    answerer.expectMessage(QMessageBox::No);
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("j.txt")));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_NE(app->document().findDay(makeDate(2026, 8, 5)), nullptr);

    // Yes quits without the exit question as well.
    answerer.expectMessage(QMessageBox::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(answerer.texts.size(), 2);
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
}

TEST_F(MainFrameTest, aFolderDeletedUnderTheWindowSendsTheJournalToARescueFileAtClose)
{
    QTemporaryDir dataHome;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    QDir sub(path(QStringLiteral("gone")));
    ASSERT_TRUE(QDir(workDir.path()).mkdir(QStringLiteral("gone")));
    writeJournalFile(sub.filePath(QStringLiteral("j.txt")), "Taro", "");
    ASSERT_TRUE(app->openJournal(sub.filePath(QStringLiteral("j.txt"))));
    putDay(app->document(), makeDate(2026, 8, 5), "", 58, 0, 0, 0, 0, 0);
    ASSERT_TRUE(sub.removeRecursively());

    // Stored, so the usual exit question follows.
    answerer.expectMessage(QMessageBox::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(answerer.texts.size(), 1);
    const QFileInfoList rescued = QDir(dataHome.filePath(QStringLiteral("zephalonte/rescue")))
                                      .entryInfoList({QStringLiteral("j-*.txt")}, QDir::Files);
    ASSERT_EQ(rescued.size(), 1);
    EXPECT_TRUE(fileBytes(rescued[0].filePath()).contains("2026/08/05"));
    EXPECT_FALSE(sub.exists());
    qputenv("XDG_DATA_HOME", previous);
}

TEST_F(MainFrameTest, openingJournalThatFailsKeepsCurrentOneAndDropsRecentEntry)
{
    const QString other = path(QStringLiteral("other.txt"));
    writeJournalFile(other, "Jiro", "");
    ASSERT_TRUE(app->openJournal(other));
    ASSERT_EQ(app->recentFiles().value(0), other);
    ASSERT_TRUE(app->openJournal(path(QStringLiteral("zph0001.txt"))));
    ASSERT_TRUE(QFile::remove(other));

    answerer.expectMessage(QMessageBox::Ok);
    app->openRecentFile(1);

    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("other.txt")));
    EXPECT_EQ(app->document().userInfo().name, "Taro");
    EXPECT_EQ(app->documentPath(), path(QStringLiteral("zph0001.txt")));
    EXPECT_FALSE(app->recentFiles().contains(other));
}

TEST_F(MainFrameTest, newJournalAsksToSaveOnlyWhenModified)
{
    app->fileNew();
    EXPECT_TRUE(answerer.texts.isEmpty());
    EXPECT_TRUE(app->document().dayList().empty());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - Zephalonte"));

    ASSERT_TRUE(app->openJournal(path(QStringLiteral("zph0001.txt"))));
    app->document().setModified(true);
    answerer.expectMessage(QMessageBox::Cancel);
    app->fileNew();
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_EQ(answerer.texts[0],
              qs(expected::saveChangesQuestion).arg(QStringLiteral("zph0001.txt")));
    EXPECT_EQ(app->document().dayList().size(), 1u); // cancelled: nothing changed
}

// Days registered after a load must not vanish when another journal replaces
// this one.
TEST_F(MainFrameTest, openingAnotherJournalAsksToSaveNewlyRegisteredDays)
{
    writeJournalFile(path(QStringLiteral("other.txt")), "Jiro", "");
    ASSERT_TRUE(app->openJournal(path(QStringLiteral("other.txt"))));
    ASSERT_TRUE(app->openJournal(path(QStringLiteral("zph0001.txt"))));
    registerThroughEditor(*app, DayRecord{makeDate(2026, 8, 6), 58, 0, 0, 0, 0, 0, ""});
    answerer.expectMessage(QMessageBox::Yes);

    app->openRecentFile(1);

    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_EQ(answerer.texts[0],
              qs(expected::saveChangesQuestion).arg(QStringLiteral("zph0001.txt")));
    EXPECT_TRUE(fileBytes(path(QStringLiteral("zph0001.txt"))).contains("2026/08/06"));
    EXPECT_EQ(app->document().userInfo().name, "Jiro");
}

TEST_F(MainFrameTest, saveAsMovesTitleRecentListAndLockToTheNewFile)
{
    const QString copy = path(QStringLiteral("copy.txt"));
    answerer.expect([&copy](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        dialog->selectFile(copy);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    frame->action(FrameAction::SaveAs)->trigger();

    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("copy.txt - Zephalonte"));
    EXPECT_EQ(itemTexts(menu(0))[expected::firstRecentFileItem], "&1 " + copy.toStdString());
    EXPECT_EQ(itemTexts(menu(0))[expected::firstRecentFileItem + 1],
              "&2 " + path(QStringLiteral("zph0001.txt")).toStdString());
    EXPECT_TRUE(fileBytes(copy).contains("2026/08/01"));
    // The old journal is free for another copy of the program, the new one held.
    QLockFile oldLock(path(QStringLiteral("zph0001.txt.lock")));
    EXPECT_TRUE(oldLock.tryLock(0));
    QLockFile newLock(path(QStringLiteral("copy.txt.lock")));
    newLock.setStaleLockTime(0);
    EXPECT_FALSE(newLock.tryLock(0));
}

TEST_F(MainFrameTest, ctrlSAfterAFailedStoreStoresOnceTheCauseIsMended)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    const QByteArray before = fileBytes(journal);
    registerThroughEditor(*app, DayRecord{makeDate(2026, 8, 7), 58, 0, 0, 0, 0, 0, ""});
    ASSERT_TRUE(QFile::setPermissions(journal, QFile::ReadOwner | QFile::ReadGroup));
    QApplication::setActiveWindow(frame);
    answerer.expectMessage(QMessageBox::Ok);

    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);

    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(qs(sessiontext::readOnlyFile)))
        << answerer.texts[0].toStdString();
    EXPECT_EQ(answerer.texts[0].count(QStringLiteral("zph0001.txt")), 1);
    EXPECT_EQ(fileBytes(journal), before);
    EXPECT_TRUE(app->document().isModified());

    ASSERT_TRUE(QFile::setPermissions(journal, QFile::ReadOwner | QFile::WriteOwner));
    // The message box took the activation with it.
    QApplication::setActiveWindow(frame);
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(fileBytes(journal).contains("2026/08/07"));
    EXPECT_FALSE(app->document().isModified());
}

TEST_F(MainFrameTest, backupThatCannotBeKeptIsReportedInStatusBarAndAtClose)
{
    // A folder where the .bak belongs, and not an empty one.
    ASSERT_TRUE(QDir(workDir.path()).mkpath(QStringLiteral("zph0001.txt.bak/inside")));
    ASSERT_TRUE(app->fileSave());
    const QString line = frame->statusBar()->currentMessage();
    EXPECT_TRUE(line.contains(QStringLiteral("zph0001.txt.bak"))) << line.toStdString();
    EXPECT_TRUE(line.contains(qs(sessiontext::notRegularFile))) << line.toStdString();
    EXPECT_FALSE(line.contains(u'\n'));

    answerer.expectMessage(QMessageBox::Yes);
    EXPECT_TRUE(frame->close());
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].startsWith(line)) << answerer.texts[0].toStdString();
    EXPECT_TRUE(answerer.texts[0].endsWith(qs(expected::exitQuestion)));
}

TEST_F(MainFrameTest, aboutBoxShowsBuildLine)
{
    QString title;
    QString build;
    answerer.expect([&](QWidget *modal) {
        title = modal->windowTitle();
        if (auto *label = modal->findChild<QLabel *>(QStringLiteral("buildLine")))
            build = label->text();
        static_cast<QDialog *>(modal)->accept();
    });
    frame->action(FrameAction::About)->trigger();
    EXPECT_EQ(title, qs(expected::aboutTitle));
    EXPECT_EQ(build, QStringLiteral("Zephalonte Build 0015"));
    // The window and the about box show the installed program icon.
    EXPECT_FALSE(frame->windowIcon().pixmap(48, 48).isNull());
}

TEST_F(MainFrameTest, helpOpensHelpFileBesideProgramElseInstalledOne)
{
    // The program as a package installs it: <root>/usr/bin and its data in
    // <root>/usr/share/zephalonte.
    const QString bin = path(QStringLiteral("usr/bin"));
    const QString beside = bin + QStringLiteral("/zphh001.chm");
    const QString installed = path(QStringLiteral("usr/share/zephalonte/zphh001.chm"));
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(installed).path()));
    app->programDirectory = bin + u'/';

    answerer.expectMessage(QMessageBox::Ok);
    frame->action(FrameAction::Help)->trigger();
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(beside)) << answerer.texts[0].toStdString();
    EXPECT_TRUE(answerer.texts[0].contains(installed)) << answerer.texts[0].toStdString();

    // Stands in for the desktop's viewer: its setSource slot takes the URL.
    QTextBrowser viewer;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &viewer, "setSource");
    const auto opened = [&] {
        viewer.setSource(QUrl());
        frame->action(FrameAction::Help)->trigger();
        return viewer.source();
    };
    const auto create = [](const QString &file) {
        QFile help(file);
        return help.open(QIODevice::WriteOnly);
    };
    ASSERT_TRUE(create(installed));
    EXPECT_EQ(opened(), QUrl::fromLocalFile(installed));
    ASSERT_TRUE(create(beside));
    EXPECT_EQ(opened(), QUrl::fromLocalFile(beside));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(
        frame->action(FrameAction::Help)->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_F1)));
}

TEST_F(MainFrameTest, f6AndShiftF6MoveBetweenPanesInOrder)
{
    QApplication::setActiveWindow(frame);
    frame->activatePane(frame->inputView());
    const std::vector<CPaneView *> order = {frame->listView(), frame->messageView(),
                                            frame->graphView(), frame->inputView()};
    for (CPaneView *next : order) {
        QTest::keyClick(frame, Qt::Key_F6);
        EXPECT_EQ(frame->activePane(), next);
    }
    QTest::keyClick(frame, Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(frame->activePane(), frame->graphView());
}

TEST_F(MainFrameTest, tabLeavesTheHandDrawnPanesAndTheFormKeepsItsCycle)
{
    QApplication::setActiveWindow(frame);
    struct Step {
        CPaneView *from;
        Qt::KeyboardModifiers modifiers;
        CPaneView *to;
    };
    const Step steps[] = {
        {frame->listView(), Qt::NoModifier, frame->messageView()},
        {frame->messageView(), Qt::NoModifier, frame->graphView()},
        {frame->graphView(), Qt::NoModifier, frame->inputView()},
        {frame->listView(), Qt::ShiftModifier, frame->inputView()},
        {frame->graphView(), Qt::ShiftModifier, frame->messageView()},
        {frame->inputView(), Qt::NoModifier, frame->inputView()},
        {frame->inputView(), Qt::ShiftModifier, frame->inputView()},
    };
    for (const Step &step : steps) {
        frame->activatePane(step.from);
        ASSERT_TRUE(step.from->holdsFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, step.modifiers);
        EXPECT_TRUE(step.to->holdsFocus()) << step.from->objectName().toStdString();
        EXPECT_EQ(frame->activePane(), step.to);
    }
}

TEST_F(MainFrameTest, handDrawnPanesFrameTheFocusOnlyWhileTheyHaveIt)
{
    QApplication::setActiveWindow(frame);
    for (CPaneView *pane : {static_cast<CPaneView *>(frame->listView()),
                            static_cast<CPaneView *>(frame->messageView()),
                            static_cast<CPaneView *>(frame->graphView())}) {
        frame->activatePane(frame->inputView());
        const QImage unfocused = pane->grab().toImage();
        frame->activatePane(pane);
        EXPECT_NE(pane->grab().toImage(), unfocused) << pane->objectName().toStdString();
        frame->activatePane(frame->inputView());
        EXPECT_EQ(pane->grab().toImage(), unfocused) << pane->objectName().toStdString();
    }
}

TEST_F(MainFrameTest, shiftF10AndTheMenuKeyOpenTheFocusedPanesMenu)
{
    QApplication::setActiveWindow(frame);
    frame->show();
    for (const QKeySequence &keys :
         {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        frame->activatePane(frame->graphView());
        QTest::keySequence(QApplication::focusWidget(), keys);
        QWidget *popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->actions().size(), 4); // the graph's own
        popup->close();
    }
}

TEST_F(MainFrameTest, printSetupIsAnEditThatCanBeUndone)
{
    ASSERT_EQ(app->printer().pageLayout().orientation(), QPageLayout::Landscape);
    answerer.expect([](QWidget *modal) {
        auto *portrait = modal->findChild<QRadioButton *>(QStringLiteral("portrait"));
        ASSERT_NE(portrait, nullptr);
        portrait->click();
        static_cast<QDialog *>(modal)->accept();
    });
    frame->action(FrameAction::PrintSetup)->trigger();
    EXPECT_EQ(app->document().graphSettings().paperOri, 1);
    EXPECT_TRUE(app->document().isModified());

    // Cancelled: what the printer holds is read back, which changes nothing.
    answerer.expectDialogAndReject();
    frame->action(FrameAction::PrintSetup)->trigger();
    EXPECT_EQ(app->document().graphSettings().paperOri, 1);
    EXPECT_EQ(app->context().editor().stepCount(), 1);

    // Undone, the printer turns back too, and the journal is as stored.
    frame->action(FrameAction::Undo)->trigger();
    EXPECT_EQ(app->document().graphSettings().paperOri, 2);
    EXPECT_EQ(app->printer().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_FALSE(app->document().isModified());
    EXPECT_TRUE(answerer.allAnswered());
}

} // namespace

ZPH_APP_TEST_MAIN
