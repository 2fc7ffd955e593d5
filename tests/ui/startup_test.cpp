// Start-up: which journal is loaded, what the user is asked, and when the
// program refuses to start rather than put a journal at risk.

#include "apptestsupport.h"
#include "expectedtexts.h"

#include "app/cmainframe.h"
#include "dialogs/cuserinfodlg.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "session/journallock.h"
#include "session/sessiontexts.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QLockFile>
#include <QPrinter>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class StartupTest : public AppTest {};

TEST_F(StartupTest, withoutJournalStartsFromDefaultsAndAsksForUserInfo)
{
    answerer.expectMessage(QMessageBox::Ok);
    answerer.expectDialogAndReject();

    ASSERT_TRUE(startApp());

    EXPECT_EQ(answerer.texts, QStringList{qs(expected::userInfoPrompt)});
    EXPECT_EQ(answerer.classNames, QStringList{QStringLiteral("CUserInfoDlg")});
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
    // The prompt came before the window was shown.
    EXPECT_TRUE(app->startupComplete);
    EXPECT_TRUE(app->mainFrame()->isMaximized());

    EXPECT_EQ(app->nUser, 1);
    EXPECT_EQ(app->crntUserNum, 1);
    EXPECT_EQ(app->documentPath(), path(QStringLiteral("zph0001.txt")));
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("zph0001.txt - Zephalonte"));
    EXPECT_TRUE(app->document().userInfo().name.empty());
    EXPECT_EQ(app->document().graphSettings(), GraphSettings{});
    EXPECT_TRUE(app->document().dayList().empty());
    // Nothing is written until the journal is stored.
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("zph0001.txt"))));
    EXPECT_EQ(app->recentFiles().value(0), path(QStringLiteral("zph0001.txt")));
    EXPECT_EQ(app->context().selectedDate(), todayDate());
    EXPECT_TRUE(app->programDirectory.endsWith(u'/'));
}

TEST_F(StartupTest, loadsJournalNamedByCurrentUserNumberAndNeverWritesIt)
{
    {
        QSettings settings = profile();
        settings.setValue(QStringLiteral("Settings/crntUserNum"), 3);
        settings.setValue(QStringLiteral("Settings/nUser"), 4);
    }
    writeJournalFile(path(QStringLiteral("zph0003.txt")), "Hanako",
                     "2026/08/01\t57.5\t0\t3.6\t1388\t0\t0\t\r\n");

    ASSERT_TRUE(startApp());

    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
    EXPECT_EQ(app->crntUserNum, 3);
    EXPECT_EQ(app->nUser, 4);
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("zph0003.txt - Zephalonte"));
    EXPECT_EQ(app->document().userInfo().name, "Hanako");
    ASSERT_EQ(app->document().dayList().size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("zph0001.txt"))));

    answerer.expectMessage(QMessageBox::Yes);
    EXPECT_TRUE(app->mainFrame()->close());
    app.reset();

    QSettings settings = profile();
    EXPECT_EQ(settings.value(QStringLiteral("Settings/crntUserNum")).toInt(), 3);
    EXPECT_EQ(settings.value(QStringLiteral("Settings/nUser")).toInt(), 4);

    // Started again on the journal already at the top of the recent files,
    // the program has nothing to change in the settings file: it is not
    // written at all.
    const QDateTime longAgo = QDateTime::fromSecsSinceEpoch(946684800);
    {
        QFile file(settings.fileName());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(startApp());
    EXPECT_EQ(QFileInfo(settings.fileName()).lastModified(), longAgo);
}

TEST_F(StartupTest, opensFileNamedOnCommandLineInsteadOfUsersJournal)
{
    writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro", "");
    writeJournalFile(path(QStringLiteral("other.txt")), "Jiro",
                     "2026/08/02\t60\t0\t0\t0\t0\t0\tmemo\r\n");

    ASSERT_TRUE(startApp({QStringLiteral("zephalonte"), QStringLiteral("other.txt")}));

    EXPECT_EQ(app->document().userInfo().name, "Jiro");
    EXPECT_EQ(app->documentPath(), path(QStringLiteral("other.txt")));
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("other.txt - Zephalonte"));
}

TEST_F(StartupTest, commandLineFileThatCannotBeOpenedEndsWithMessageNamingIt)
{
    answerer.expectMessage(QMessageBox::Ok);
    ::testing::internal::CaptureStderr();

    const bool started = startApp({QStringLiteral("zephalonte"), QStringLiteral("missing.txt")});
    const std::string errorOutput = ::testing::internal::GetCapturedStderr();

    EXPECT_FALSE(started);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("missing.txt")));
    EXPECT_NE(errorOutput.find("missing.txt"), std::string::npos);
    // No prompt for a profile that would be thrown away with the program.
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
    EXPECT_FALSE(app->mainFrame()->isVisible());
}

TEST_F(StartupTest, commandLineRefusesWhatIsNoJournalAndSaysWhy)
{
    ASSERT_TRUE(QDir(workDir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600), 0);
    const struct {
        QStringList arguments;
        QString named; // in the message, and on standard error
        QString reason;
    } cases[] = {
        {{QStringLiteral("folder")}, QStringLiteral("folder"), qs(sessiontext::notRegularFile)},
        {{QStringLiteral("fifo")}, QStringLiteral("fifo"), qs(sessiontext::notRegularFile)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        answerer.texts.clear();
        answerer.expectMessage(QMessageBox::Ok);
        ::testing::internal::CaptureStderr();
        const bool started = startApp(QStringList{QStringLiteral("zephalonte")} + c.arguments);
        const std::string errorOutput = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(started);
        ASSERT_EQ(answerer.texts.size(), 1);
        EXPECT_TRUE(answerer.texts[0].contains(c.named)) << answerer.texts[0].toStdString();
        EXPECT_TRUE(answerer.texts[0].contains(c.reason)) << answerer.texts[0].toStdString();
        EXPECT_NE(errorOutput.find(c.named.toStdString()), std::string::npos) << errorOutput;
        app.reset();
    }
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
}

TEST_F(StartupTest, fileWhoseNameBeginsWithDashOpensAfterDoubleDash)
{
    writeJournalFile(path(QStringLiteral("-journal.txt")), "Jiro", "");
    ASSERT_TRUE(startApp(
        {QStringLiteral("zephalonte"), QStringLiteral("--"), QStringLiteral("-journal.txt")}));
    EXPECT_EQ(app->documentPath(), path(QStringLiteral("-journal.txt")));
    EXPECT_EQ(app->document().userInfo().name, "Jiro");
}

TEST_F(StartupTest, journalThatExistsButCannotBeReadIsNeverReplaced)
{
    // A directory where the journal should be: it exists, but cannot be read.
    ASSERT_TRUE(QDir(workDir.path()).mkdir(QStringLiteral("zph0001.txt")));
    answerer.expectMessage(QMessageBox::Ok);
    ::testing::internal::CaptureStderr();

    const bool started = startApp();
    ::testing::internal::GetCapturedStderr();

    EXPECT_FALSE(started);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("zph0001.txt")));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("zph0001.txt"))).isDir());
}

TEST_F(StartupTest, secondInstanceLeavesLockedJournalAlone)
{
    writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro",
                     "2026/08/01\t57.5\t0\t0\t0\t0\t0\t\r\n");
    const QByteArray before = fileBytes(path(QStringLiteral("zph0001.txt")));
    // Held the way a first running copy holds it.
    QLockFile firstInstance(journalLockPath(path(QStringLiteral("zph0001.txt"))));
    ASSERT_TRUE(firstInstance.tryLock(0));
    answerer.expectMessage(QMessageBox::Ok);
    ::testing::internal::CaptureStderr();

    const bool started = startApp();
    ::testing::internal::GetCapturedStderr();

    EXPECT_FALSE(started);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("zph0001.txt")));
    app.reset();
    EXPECT_EQ(fileBytes(path(QStringLiteral("zph0001.txt"))), before);
    EXPECT_TRUE(firstInstance.isLocked());
}

TEST_F(StartupTest, lockIsReleasedWhenProgramEnds)
{
    writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro", "");
    ASSERT_TRUE(startApp());
    EXPECT_TRUE(QFileInfo::exists(journalLockPath(path(QStringLiteral("zph0001.txt")))));
    app.reset();

    EXPECT_FALSE(QFileInfo::exists(journalLockPath(path(QStringLiteral("zph0001.txt")))));
    ASSERT_TRUE(startApp());
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
}

TEST_F(StartupTest, skippedDayLinesAreKeptInCopyThatNoStoreOverwrites)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    writeJournalFile(journal, "Taro",
                     "2026/08/01\t57.5\t0\t0\t0\t0\t0\t\r\n"
                     "this line is not a day\r\n"
                     "2026/08/03\t57.1\t0\t0\t0\t0\t0\t\r\n");
    const QByteArray original = fileBytes(journal);
    const QString copy =
        journal + QStringLiteral(".damaged-") + QDate::currentDate().toString(u"yyyyMMdd");
    answerer.expectMessage(QMessageBox::Ok);

    ASSERT_TRUE(startApp());

    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("\n7 行目")))
        << answerer.texts[0].toStdString();
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("zph0001.txt.damaged-")));
    EXPECT_EQ(fileBytes(copy), original);
    EXPECT_EQ(app->document().dayList().size(), 2u);

    answerer.expectMessage(QMessageBox::Yes);
    EXPECT_TRUE(app->mainFrame()->close());
    EXPECT_NE(fileBytes(journal), original); // stored without the bad line
    EXPECT_EQ(fileBytes(copy), original);
    app.reset();

    // A second damaged load the same day does not replace the first copy.
    QFile::remove(journal);
    writeJournalFile(journal, "Taro", "garbage\r\n");
    answerer.expectMessage(QMessageBox::Ok);
    ASSERT_TRUE(startApp());
    EXPECT_EQ(fileBytes(copy), original);
    EXPECT_EQ(fileBytes(copy + QStringLiteral("-2")), fileBytes(journal));
}

// Qt turns a name that is not UTF-8 into another name (U+FFFD): the window
// says it cannot open such a journal instead of opening or creating another.
TEST_F(StartupTest, nameOrWorkingFolderThatIsNotUtf8EndsWithMessage)
{
    const QByteArray native = QFile::encodeName(workDir.path()) + "/diary\xff.txt";
    ASSERT_EQ(::close(::open(native.constData(), O_WRONLY | O_CREAT, 0600)), 0);
    answerer.expectMessage(QMessageBox::Ok);
    ::testing::internal::CaptureStderr();
    app = std::make_unique<CZephalonteApp>();
    const bool started = app->startUp({QStringLiteral("zephalonte"), QFile::decodeName(native)},
                                      {QByteArray("zephalonte"), native});
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(started);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("diary\\xFF.txt")))
        << answerer.texts[0].toStdString();
    app.reset();

    // The current user's journal, in a folder named in code page 932 (日記).
    const QByteArray folder = QFile::encodeName(workDir.path()) + "/\x93\xfa\x8b\x4c";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    ASSERT_EQ(::chdir(folder.constData()), 0);
    answerer.expectMessage(QMessageBox::Ok);
    ::testing::internal::CaptureStderr();
    const bool startedInFolder = startApp();
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(startedInFolder);
    ASSERT_EQ(answerer.texts.size(), 2);
    EXPECT_TRUE(answerer.texts[1].contains(QStringLiteral("作業フォルダ")))
        << answerer.texts[1].toStdString();
    EXPECT_TRUE(answerer.texts[1].contains(QStringLiteral("\\x93\\xFA\\x8B")))
        << answerer.texts[1].toStdString();
    app.reset();
    ::rmdir(folder.constData());
    // Nothing was created under another name (Qt cannot list or remove the
    // file itself, so the bytes are asked for directly).
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(workDir.path().toStdString()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"diary\xff.txt"});
    ::unlink(native.constData());
}

TEST_F(StartupTest, journalPaperOrientationReachesPrinter)
{
    writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro", "", "paperOri = 1\r\n");
    ASSERT_TRUE(startApp());
    EXPECT_EQ(app->printer().pageLayout().orientation(), QPageLayout::Portrait);
}

TEST_F(StartupTest, shownWindowIsNeverSmallerThanMinimum)
{
    writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro", "");
    ASSERT_TRUE(startApp());
    CMainFrame *frame = app->mainFrame();
    frame->showNormal();
    frame->resize(300, 200);
    EXPECT_GE(frame->width(), 640);
    EXPECT_GE(frame->height(), 480);
}

} // namespace

ZPH_APP_TEST_MAIN
