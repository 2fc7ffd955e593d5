// Nothing registered is lost when the program does not end through its
// close command, or when another program changes the journal meanwhile: the
// recovery file, what the next start does with it, and the journal changed
// on disk under the open window.

#include "apptestsupport.h"

#include "app/apptexts.h"
#include "app/cmainframe.h"
#include "entry/cinputview.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "qttext/uitext.h"
#include "session/journalsession.h"
#include "session/recoverywriter.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <sys/stat.h>

namespace {

const QByteArray oneDay = "2026/08/01\t57.5\t0\t0\t0\t0\t0\t\r\n";

class NothingLostTest : public AppTest {
  protected:
    QString journal() const { return path(QStringLiteral("zph0001.txt")); }
    QString recovery() const { return path(QStringLiteral(".zph0001.txt.recovery")); }

    // Registers a weight for a past day through the entry form.
    void registerWeight(const QDate &day, const QString &weight)
    {
        CInputView *form = app->mainFrame()->inputView();
        form->findChild<QDateEdit *>("datePicker")->setDate(day);
        auto *edit = form->findChild<QLineEdit *>("weightEdit");
        edit->clear();
        QTest::keyClicks(edit, weight);
        QTest::mouseClick(form->findChild<QPushButton *>("registerButton"), Qt::LeftButton);
    }

    bool recoveryWritten()
    {
        return QTest::qWaitFor(
            [this] { return QFileInfo::exists(recovery()) && app->recoveryWriter().isIdle(); },
            10000);
    }

    QString statusText() const { return app->mainFrame()->statusBar()->currentMessage(); }

    static unsigned modeOf(const QString &file)
    {
        struct stat status {};
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_mode & 0777
                                                                         : 0;
    }
};

TEST_F(NothingLostTest, aRegisteredDayReachesTheRecoveryFileUntilTheJournalIsSaved)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    ASSERT_TRUE(QFile::setPermissions(journal(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QByteArray before = fileBytes(journal());
    ASSERT_TRUE(startApp());

    registerWeight(QDate(2026, 8, 2), QStringLiteral("57.1"));
    ASSERT_TRUE(recoveryWritten());
    EXPECT_EQ(fileBytes(recovery()).toStdString(), app->document().journalText());
    EXPECT_EQ(modeOf(recovery()), 0600u); // health data: never wider than the journal
    EXPECT_EQ(fileBytes(journal()), before);
    // The same day registered again, replaced in place: the file follows.
    registerWeight(QDate(2026, 8, 2), QStringLiteral("57.4"));
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return fileBytes(recovery()).contains("2026/08/02\t57.4"); }, 10000));

    ASSERT_TRUE(app->fileSave());
    EXPECT_FALSE(QFileInfo::exists(recovery()));
    EXPECT_TRUE(fileBytes(journal()).contains("2026/08/02\t57.4"));
    // Nothing changed since: no new recovery file.
    app->context().updateAllViews();
    QTest::qWait(RecoveryWriter::delayMs + 100);
    EXPECT_FALSE(QFileInfo::exists(recovery()));
}

TEST_F(NothingLostTest, atStartARecoveryFileIsRestoredOnYesAndKeptAsideOnNo)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    const QByteArray journalBytes = fileBytes(journal());
    QByteArray recovered = journalBytes + "2026/08/02\t57.1\t0\t0\t0\t0\t0\t\r\n";

    // Yes: the document holds the recovered day, the journal is untouched.
    {
        QFile out(recovery());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(recovered);
    }
    answerer.expectMessage(QMessageBox::Yes);
    ASSERT_TRUE(startApp());
    EXPECT_EQ(answerer.texts, QStringList{ui(apptext::recoveryQuestion)});
    EXPECT_NE(app->document().findDay(makeDate(2026, 8, 2)), nullptr);
    EXPECT_TRUE(app->document().isModified());
    EXPECT_EQ(fileBytes(journal()), journalBytes);
    app.reset(); // as if killed again: the recovery file stays
    ASSERT_TRUE(QFileInfo::exists(recovery()));

    // No: the file is kept, visible, under the recovered name.
    answerer.texts.clear();
    ASSERT_TRUE(QFile::setPermissions(journal(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    answerer.expectMessage(QMessageBox::No);
    ASSERT_TRUE(startApp());
    EXPECT_EQ(app->document().findDay(makeDate(2026, 8, 2)), nullptr);
    EXPECT_FALSE(QFileInfo::exists(recovery()));
    const QString aside = path(QStringLiteral("zph0001.txt.recovered-") +
                               QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    EXPECT_EQ(fileBytes(aside), recovered);
    EXPECT_EQ(modeOf(aside), 0600u);
    EXPECT_TRUE(statusText().contains(QFileInfo(aside).fileName())) << statusText().toStdString();
    app.reset();

    // A recovery file that is the journal's own text goes without a question.
    {
        QFile out(recovery());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(journalBytes);
    }
    ASSERT_TRUE(startApp());
    EXPECT_FALSE(QFileInfo::exists(recovery()));
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
}

TEST_F(NothingLostTest, aDamagedRecoveryFileIsReportedAndKeptLikeADamagedJournal)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    const QByteArray damaged =
        fileBytes(journal()) + "2026/08/02\t57.1\t0\t0\t0\t0\t0\t\r\n2026/13/45\t1\r\n";
    {
        QFile out(recovery());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(damaged);
    }
    answerer.expectMessage(QMessageBox::Yes);
    answerer.expectMessage(QMessageBox::Ok);
    ASSERT_TRUE(startApp());
    ASSERT_EQ(answerer.texts.size(), 2);
    const QString copy = path(QStringLiteral("zph0001.txt.damaged-") +
                              QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    EXPECT_TRUE(answerer.texts.at(1).contains(QStringLiteral("zph0001.txt.damaged-")))
        << answerer.texts.at(1).toStdString();
    EXPECT_EQ(fileBytes(copy), damaged);
    EXPECT_NE(app->document().findDay(makeDate(2026, 8, 2)), nullptr);
}

TEST_F(NothingLostTest, aJournalReplacedOnDiskIsReadAgainOrKeptAsAConflictCopy)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    ASSERT_TRUE(startApp());
    app->context().setSelectedDate(makeDate(2026, 8, 1));

    // Nothing unsaved: another program's version is read at once.
    writeJournalFile(journal(), "Hanako", oneDay + "2026/08/03\t56.9\t0\t0\t0\t0\t0\t\r\n");
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return app->document().findDay(makeDate(2026, 8, 3)) != nullptr; }, 10000));
    EXPECT_EQ(app->context().selectedDate(), makeDate(2026, 8, 1));
    EXPECT_TRUE(statusText().contains(QStringLiteral("zph0001.txt"))) << statusText().toStdString();

    // A day registered here, then another program writes again: told now,
    // and at the save its version is kept beside the journal.
    registerWeight(QDate(2026, 8, 4), QStringLiteral("56.5"));
    const QByteArray theirs = "# another program's journal\r\n";
    answerer.expectMessage(QMessageBox::Ok);
    {
        QFile out(journal());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(theirs);
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return answerer.allAnswered(); }, 10000));
    EXPECT_EQ(answerer.texts.value(0),
              ui(apptext::changedWithUnsaved).arg(QDir::toNativeSeparators(journal())));

    answerer.expectMessage(QMessageBox::Ok);
    ASSERT_TRUE(app->fileSave());
    const QStringList copies =
        QDir(workDir.path()).entryList({QStringLiteral("zph0001.txt.conflict-*")});
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(fileBytes(path(copies.at(0))), theirs);
    EXPECT_TRUE(answerer.texts.value(1).contains(copies.at(0)));
    EXPECT_TRUE(fileBytes(journal()).contains("2026/08/04\t56.5"));
    EXPECT_TRUE(fileBytes(journal()).contains("2026/08/03\t56.9"));
}

TEST_F(NothingLostTest, theSessionManagersCommitStoresAnUntitledJournalAndTheNextStartSaysWhere)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    ASSERT_TRUE(startApp());
    app->fileNew();
    registerWeight(QDate(2026, 8, 2), QStringLiteral("57.1"));

    app->commitSessionData();
    const QStringList saved =
        QDir(workDir.path()).entryList({QStringLiteral("zph-untitled-*.txt")});
    ASSERT_EQ(saved.size(), 1);
    EXPECT_TRUE(fileBytes(path(saved.at(0))).contains("2026/08/02\t57.1"));
    EXPECT_EQ(app->documentPath(), path(saved.at(0)));
    EXPECT_FALSE(app->document().isModified());
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
    app.reset();

    ASSERT_TRUE(startApp());
    EXPECT_TRUE(statusText().contains(saved.at(0))) << statusText().toStdString();
}

} // namespace

ZPH_APP_TEST_MAIN
