// SIGTERM, as a logout or a shutdown sends it, delivered to the running
// program: the journal is stored as the close command stores it. A program
// of its own, since the signal ends every event loop of the process.

#include "apptestsupport.h"

#include "app/cmainframe.h"
#include "entry/cinputview.h"
#include "journal/cquilloxdoc.h"
#include "session/recentfilelist.h"

#include <QAction>
#include <QDateEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <csignal>

#include <unistd.h>

namespace {

class TerminationTest : public AppTest {};

TEST_F(TerminationTest, sigtermWithADialogOpenStoresTheJournalAndEndsWithStatusZero)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    writeJournalFile(journal, "Hanako", "2026/08/01\t57.5\t0\t0\t0\t0\t0\t\r\n");
    const QByteArray before = fileBytes(journal);
    ASSERT_TRUE(startApp());

    CInputView *form = app->mainFrame()->inputView();
    form->findChild<QDateEdit *>("datePicker")->setDate(QDate(2026, 8, 2));
    QTest::keyClicks(form->findChild<QLineEdit *>("weightEdit"), QStringLiteral("57.1"));
    QTest::mouseClick(form->findChild<QPushButton *>("registerButton"), Qt::LeftButton);

    // The signal comes while the objective dialog is open, with a target typed.
    bool dialogSeen = false;
    answerer.expect([&](QWidget *modal) {
        dialogSeen = true;
        modal->findChild<QLineEdit *>("weightEdit")->setText(QStringLiteral("50"));
        ::kill(::getpid(), SIGTERM);
    });
    app->mainFrame()->action(FrameAction::Objective)->trigger();

    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(app->terminationRequested());
    EXPECT_EQ(app->terminationExitCode(), 0);
    EXPECT_FALSE(QApplication::activeModalWidget());
    const QByteArray stored = fileBytes(journal);
    EXPECT_TRUE(stored.contains("2026/08/02\t57.1")) << stored.toStdString();
    EXPECT_FALSE(stored.contains("weight = 50")) << "the dialog's values were dropped";
    EXPECT_EQ(fileBytes(journal + QStringLiteral(".bak")), before);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral(".zph0001.txt.recovery"))));
    app.reset();
    EXPECT_FALSE(QFileInfo::exists(journal + QStringLiteral(".lock")));
    // A second signal while the program ends changes nothing: without this
    // the test program itself would be killed here.
    ::kill(::getpid(), SIGTERM);
    QSettings settings = profile();
    RecentFileList recent;
    recent.load(settings);
    EXPECT_EQ(recent.entries().value(0), journal);
}

// Qt ends the program with exit(1) when the display's connection breaks,
// from inside the event loop: the journal is stored on the way out.
TEST_F(TerminationTest, exitWithUnsavedDaysStoresThem)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    writeJournalFile(journal, "Hanako", "2026/08/01\t57.5\t0\t0\t0\t0\t0\t\r\n");
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            startApp();
            registerThroughEditor(*app, DayRecord{makeDate(2026, 8, 2), 57.1, 0, 0, 0, 0, 0, ""});
            std::exit(1);
        },
        ::testing::ExitedWithCode(1), "");
    const QByteArray stored = fileBytes(journal);
    EXPECT_TRUE(stored.contains("2026/08/02\t57.1")) << stored.toStdString();
}

} // namespace

ZPH_APP_TEST_MAIN
