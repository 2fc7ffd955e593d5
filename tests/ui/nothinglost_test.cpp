// Nothing registered is lost when the program does not end through its
// close command, or when another program changes the journal meanwhile: the
// edit log, what the next start does with it, and the journal changed on
// disk under the open window.

#include "apptestsupport.h"

#include "app/apptexts.h"
#include "app/cmainframe.h"
#include "entry/cinputview.h"
#include "journal/cquilloxdoc.h"
#include "journal/editlog.h"
#include "journal/merge.h"
#include "pane/edittexts.h"
#include "pane/journalcontext.h"
#include "qttext/uitext.h"
#include "session/journalsession.h"
#include "session/recoveryfile.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include <functional>

#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

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

    // The edits the log on disk holds now, read as the next start reads them.
    std::vector<Edit> loggedEdits() const
    {
        const EditLogContents log = readEditLog(fileBytes(recovery()).toStdString());
        return log.headerRead ? log.records : std::vector<Edit>{};
    }

    // A log of this journal as a killed window leaves it.
    void writeLog(const std::vector<Edit> &edits, const QString &name = {}) const
    {
        EditLogHeader header;
        ASSERT_TRUE(journalIdentity(journal(), header));
        if (!name.isEmpty())
            header.journalName = name.toStdString();
        std::string bytes = encodeLogHeader(header);
        for (const Edit &edit : edits)
            bytes += encodeLogRecord(edit);
        QFile out(recovery());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    QString statusText() const { return app->mainFrame()->statusBar()->currentMessage(); }

    static unsigned modeOf(const QString &file)
    {
        struct stat status {};
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_mode & 0777
                                                                         : 0;
    }
};

// No event loop runs between an edit and the look at the log: whatever the
// window shows is on disk already, so a kill at any moment after loses nothing.
TEST_F(NothingLostTest, everyKindOfEditIsInTheLogBeforeControlReturns)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    ASSERT_TRUE(QFile::setPermissions(journal(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QByteArray before = fileBytes(journal());
    ASSERT_TRUE(startApp());
    EXPECT_FALSE(QFileInfo::exists(recovery())); // nothing edited, no log

    JournalEditor &editor = app->context().editor();
    const Date day = makeDate(2026, 8, 2);
    std::vector<Edit> expected;
    // What the document shows now, as the edit since the step before.
    CQuilloxDoc shown;
    shown.loadJournalText(before.toStdString(), todayDate());
    const auto check = [&](const char *what) {
        SCOPED_TRACE(what);
        expected.push_back(differenceBetween(shown, app->document()));
        shown.loadJournalText(app->document().journalText(), todayDate());
        EXPECT_EQ(loggedEdits(), expected);
    };
    registerWeight(QDate(2026, 8, 2), QStringLiteral("57.1"));
    check("registered through the form");
    EXPECT_EQ(modeOf(recovery()), 0600u); // health data: never wider than the journal
    registerWeight(QDate(2026, 8, 2), QStringLiteral("57.4"));
    check("replaced through the form");
    editor.apply(removeDayEdit(app->document(), day), QStringLiteral("delete"));
    check("deleted");
    editor.undo();
    check("undone");
    editor.redo();
    check("redone");
    EditBuilder sections(app->document());
    UserInfo user = app->document().userInfo();
    user.height = 161;
    sections.changeUserInfo(user);
    Objective objective = app->document().objective();
    objective.weight = 52;
    sections.changeObjective(objective);
    editor.apply(sections.take(), QStringLiteral("profile and objective"));
    check("profile and objective");
    answerer.expect([](QWidget *modal) {
        modal->findChild<QRadioButton *>(QStringLiteral("portrait"))->click();
        static_cast<QDialog *>(modal)->accept();
    });
    app->printSetup();
    check("page set-up");
    EXPECT_EQ(fileBytes(journal()), before);

    // A store starts over: the journal holds it all, and no log is left.
    ASSERT_TRUE(app->fileSave());
    EXPECT_FALSE(QFileInfo::exists(recovery()));
    registerWeight(QDate(2026, 8, 3), QStringLiteral("57.0"));
    ASSERT_EQ(loggedEdits().size(), 1u);
    EXPECT_EQ(loggedEdits()[0].days.at(0).date, makeDate(2026, 8, 3));
    EXPECT_EQ(readEditLog(fileBytes(recovery()).toStdString()).header.base,
              hashContent(fileBytes(journal()).toStdString()));
}

// At start, the log's edits are replayed onto the journal as it is on disk
// now: another program's day written after the kill stays, and a value both
// changed is the log's, the journal's version kept as a conflict copy.
TEST_F(NothingLostTest, atStartTheLogIsReplayedOntoTheJournalAsItIsNow)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    CQuilloxDoc session;
    session.loadJournalText(fileBytes(journal()).toStdString(), todayDate());
    std::vector<Edit> edits;
    const auto edit = [&](const DayRecord &day) {
        edits.push_back(session.applyEdit(dayEdit(session, day)).inverse());
    };
    edit(DayRecord{makeDate(2026, 8, 2), 57.1, 0, 0, 0, 0, 0, ""});
    edit(DayRecord{makeDate(2026, 8, 1), 57.0, 0, 0, 0, 0, 0, ""});
    writeLog(edits);
    // Meanwhile a sync client wrote its own version.
    writeJournalFile(journal(), "Hanako",
                     "2026/08/01\t58.0\t0\t0\t0\t0\t0\t\r\n2026/08/05\t56.0\t0\t0\t0\t0\t0\t\r\n");
    const QByteArray theirs = fileBytes(journal());

    answerer.expectMessage(QMessageBox::Yes);
    answerer.expectMessage(QMessageBox::Ok);
    ASSERT_TRUE(startApp());
    ASSERT_EQ(answerer.texts.size(), 2);
    EXPECT_EQ(answerer.texts.at(0),
              ui(apptext::recoveryQuestion) + QStringLiteral("\n2026/08/01 ほか 1 日"));
    const CQuilloxDoc &doc = app->document();
    ASSERT_NE(doc.findDay(makeDate(2026, 8, 2)), nullptr);
    ASSERT_NE(doc.findDay(makeDate(2026, 8, 5)), nullptr);
    EXPECT_EQ(doc.findDay(makeDate(2026, 8, 1))->weight, 57.0);
    const QStringList copies =
        QDir(workDir.path()).entryList({QStringLiteral("zph0001.txt.conflict-*")});
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(fileBytes(path(copies.at(0))), theirs);
    EXPECT_TRUE(answerer.texts.at(1).contains(copies.at(0)));
    EXPECT_TRUE(answerer.texts.at(1).contains(QStringLiteral("2026/08/01")));
    EXPECT_EQ(fileBytes(journal()), theirs);
    // The replay is the new log's one record, on the journal as it is now:
    // killed again, the next start offers the same days.
    ASSERT_EQ(loggedEdits().size(), 1u);
    EXPECT_EQ(loggedEdits()[0].days.size(), 2u);
    app.reset();

    // No: the log is kept, visible, under the recovered name.
    answerer.texts.clear();
    answerer.expectMessage(QMessageBox::No);
    ASSERT_TRUE(startApp());
    EXPECT_EQ(app->document().findDay(makeDate(2026, 8, 2)), nullptr);
    EXPECT_FALSE(QFileInfo::exists(recovery()));
    const QString aside = path(QStringLiteral("zph0001.txt.recovered-") +
                               QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    EXPECT_EQ(readEditLog(fileBytes(aside).toStdString()).records.size(), 1u);
    EXPECT_TRUE(statusText().contains(QFileInfo(aside).fileName())) << statusText().toStdString();
}

// What is never applied, and what goes without a word.
TEST_F(NothingLostTest, aLogOfAnotherJournalIsSetAsideAndAnEmptyOneRemoved)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    const QByteArray journalBytes = fileBytes(journal());
    CQuilloxDoc session;
    session.loadJournalText(journalBytes.toStdString(), todayDate());
    const Edit day = dayEdit(session, DayRecord{makeDate(2026, 8, 2), 57.1, 0, 0, 0, 0, 0, ""});

    writeLog({day}, QStringLiteral("zph0002.txt"));
    answerer.expectMessage(QMessageBox::Ok);
    ASSERT_TRUE(startApp());
    EXPECT_EQ(app->document().findDay(makeDate(2026, 8, 2)), nullptr);
    EXPECT_FALSE(QFileInfo::exists(recovery()));
    const QString aside = path(QStringLiteral("zph0001.txt.recovered-") +
                               QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    EXPECT_TRUE(QFileInfo::exists(aside));
    EXPECT_EQ(
        answerer.texts,
        QStringList{ui(apptext::recoveryOfAnotherJournal).arg(QDir::toNativeSeparators(aside))});
    app.reset();

    // A header alone, an edit and its undo, an empty file (the journal must
    // never be emptied by it), a whole earlier-release text that is the
    // journal's own: nothing to restore, removed without a question.
    const std::vector<std::function<void()>> nothing = {
        [&] { writeLog({}); },
        [&] {
            writeLog({day, day.inverse()});
        },
        [&] { QFile(recovery()).open(QIODevice::WriteOnly); },
        [&] {
            QFile out(recovery());
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(journalBytes);
        },
    };
    for (const auto &write : nothing) {
        write();
        ASSERT_TRUE(startApp());
        EXPECT_FALSE(QFileInfo::exists(recovery()));
        EXPECT_EQ(app->document().dayList().size(), 1u);
        EXPECT_EQ(answerer.texts.size(), 1);
        app.reset();
    }
    EXPECT_EQ(fileBytes(journal()), journalBytes);
}

// An earlier release's recovery file holds the whole journal: merged by day
// into the journal as it is, its days winning.
TEST_F(NothingLostTest, anEarlierReleasesRecoveryTextIsMergedByDay)
{
    writeJournalFile(journal(), "Hanako",
                     oneDay + "2026/08/05\t56.0\t0\t0\t0\t0\t0\t\r\n"); // written after it
    {
        QFile out(recovery());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("# quillox file ver 2\r\n[userInfo]\r\nname = Hanako\r\n[data]\r\n" + oneDay +
                  "2026/08/02\t57.1\t0\t0\t0\t0\t0\t\r\n");
    }
    answerer.expectMessage(QMessageBox::Yes);
    ASSERT_TRUE(startApp());
    EXPECT_EQ(answerer.texts,
              QStringList{ui(apptext::recoveryQuestion) + u'\n' + QStringLiteral("2026/08/02")});
    EXPECT_NE(app->document().findDay(makeDate(2026, 8, 2)), nullptr);
    EXPECT_NE(app->document().findDay(makeDate(2026, 8, 5)), nullptr);
    EXPECT_TRUE(app->document().isModified());
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

// Another program's version is merged by day into the window's, at the
// watcher's notice and at a store that comes first; the window's unsaved
// days stay unsaved and in the log, now on the new base.
TEST_F(NothingLostTest, anotherProgramsVersionIsMergedByDay)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    ASSERT_TRUE(startApp());
    app->context().setSelectedDate(makeDate(2026, 8, 1));

    // Nothing unsaved: taken at once, nothing left to store.
    writeJournalFile(journal(), "Hanako", oneDay + "2026/08/03\t56.9\t0\t0\t0\t0\t0\t\r\n");
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return app->document().findDay(makeDate(2026, 8, 3)) != nullptr; }, 10000));
    EXPECT_EQ(app->context().selectedDate(), makeDate(2026, 8, 1));
    EXPECT_FALSE(app->document().isModified());
    EXPECT_TRUE(statusText().contains(QStringLiteral("zph0001.txt"))) << statusText().toStdString();

    // A day registered here, another added there: both, the window's unsaved.
    registerWeight(QDate(2026, 8, 4), QStringLiteral("56.5"));
    writeJournalFile(journal(), "Hanako",
                     oneDay + "2026/08/03\t56.9\t0\t0\t0\t0\t0\t\r\n"
                              "2026/08/05\t56.0\t0\t0\t0\t0\t0\t\r\n");
    const QByteArray theirs = fileBytes(journal());
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return app->document().findDay(makeDate(2026, 8, 5)) != nullptr; }, 10000));
    EXPECT_NE(app->document().findDay(makeDate(2026, 8, 4)), nullptr);
    EXPECT_TRUE(app->document().isModified());
    const EditLogContents log = readEditLog(fileBytes(recovery()).toStdString());
    EXPECT_EQ(log.header.base, hashContent(theirs.toStdString()));
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records[0].days.at(0).date, makeDate(2026, 8, 4));
    // The merge is one step: undone, the window is back where it was.
    EXPECT_EQ(app->context().editor().undoName(), ui(edittext::otherProgramsChanges));
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();

    // A store right after another change, before the watcher's notice.
    writeJournalFile(journal(), "Hanako",
                     oneDay + "2026/08/03\t56.9\t0\t0\t0\t0\t0\t\r\n"
                              "2026/08/05\t56.0\t0\t0\t0\t0\t0\t\r\n"
                              "2026/08/06\t55.8\t0\t0\t0\t0\t0\t\r\n");
    ASSERT_TRUE(app->fileSave());
    const QByteArray stored = fileBytes(journal());
    for (const char *line : {"2026/08/04\t56.5", "2026/08/05\t56", "2026/08/06\t55.8"})
        EXPECT_TRUE(stored.contains(line)) << line;
    EXPECT_FALSE(QFileInfo::exists(recovery()));
}

// A version that does not load cleanly (emptied, cut off, not a journal) is
// never taken and never becomes the .bak; one lacking days is taken only
// after the window's base is kept as a copy.
TEST_F(NothingLostTest, anIncompleteVersionIsNotTakenAndALackingOneIsKeptFirst)
{
    writeJournalFile(journal(), "Hanako", oneDay + "2026/08/03\t56.9\t0\t0\t0\t0\t0\t\r\n");
    const QByteArray good = fileBytes(journal());
    ASSERT_TRUE(startApp());
    registerWeight(QDate(2026, 8, 4), QStringLiteral("56.5"));

    answerer.expectMessage(QMessageBox::Ok);
    {
        QFile out(journal());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)); // `: > zph0001.txt`
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return answerer.allAnswered(); }, 10000));
    EXPECT_EQ(answerer.texts.value(0),
              ui(apptext::diskVersionNotTaken).arg(QDir::toNativeSeparators(journal())));
    EXPECT_EQ(app->document().dayList().size(), 3u);

    answerer.expectMessage(QMessageBox::Ok); // the conflict copy at the store
    ASSERT_TRUE(app->fileSave());
    EXPECT_TRUE(fileBytes(journal()).contains("2026/08/04\t56.5"));
    EXPECT_EQ(fileBytes(journal() + QStringLiteral(".bak")), good);
    EXPECT_EQ(QDir(workDir.path()).entryList({QStringLiteral("zph0001.txt.conflict-*")}).size(), 1);
    const QByteArray stored = fileBytes(journal());

    // Cut back to its first day by another program: the window's stored
    // version is kept, then the shorter one is taken as it is.
    answerer.expectMessage(QMessageBox::Ok);
    writeJournalFile(journal(), "Hanako", oneDay);
    ASSERT_TRUE(QTest::qWaitFor([this] { return answerer.allAnswered(); }, 10000));
    EXPECT_TRUE(answerer.texts.last().contains(QStringLiteral(" 2 日")))
        << answerer.texts.last().toStdString();
    EXPECT_EQ(app->document().dayList().size(), 1u);
    const QStringList copies =
        QDir(workDir.path()).entryList({QStringLiteral("zph0001.txt.conflict-*")});
    ASSERT_EQ(copies.size(), 2);
    EXPECT_TRUE(fileBytes(path(copies.at(0))) == stored || fileBytes(path(copies.at(1))) == stored);
}

// No lock can be made (a read-only folder: a tmpfs remounted read-only): the
// journal opens only for reading, says why, and nothing writes to it.
TEST_F(NothingLostTest, withoutItsLockTheJournalIsOnlyRead)
{
    const QString folder = path(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray point = QFile::encodeName(folder);
    if (::mount("tmpfs", point.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    const QString inside = folder + QStringLiteral("/zph0001.txt");
    writeJournalFile(inside, "Hanako", oneDay);
    const QByteArray before = fileBytes(inside);
    ASSERT_EQ(::mount("tmpfs", point.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0);
    struct Unmount {
        QByteArray point;
        ~Unmount() { ::umount(point.constData()); }
    } unmount{point};

    answerer.expectMessage(QMessageBox::Ok);
    ASSERT_TRUE(startApp({QStringLiteral("zephalonte"), inside}));
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts.at(0).startsWith(QDir::toNativeSeparators(inside)))
        << answerer.texts.at(0).toStdString();
    EXPECT_TRUE(app->mainFrame()->windowTitle().contains(ui(apptext::readOnlyMark).trimmed()));

    // Every way of changing the journal is disabled; Enter in the form, which
    // presses no button, is refused with a word in the status bar.
    CMainFrame *frame = app->mainFrame();
    CInputView *form = frame->inputView();
    for (QWidget *button :
         {form->findChild<QWidget *>("registerButton"), form->findChild<QWidget *>("deleteButton")})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    for (QAction *action :
         {frame->findChild<QAction *>("importAction"), frame->findChild<QAction *>("mergeAction"),
          frame->action(FrameAction::PrintSetup), frame->action(FrameAction::Undo),
          frame->action(FrameAction::Redo)})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    for (FrameAction dialog :
         {FrameAction::UserInfo, FrameAction::Objective, FrameAction::GraphSettings}) {
        bool okEnabled = true;
        answerer.expect([&](QWidget *modal) {
            okEnabled = modal->findChild<QPushButton *>("okButton")->isEnabled();
            qobject_cast<QDialog *>(modal)->reject();
        });
        frame->action(dialog)->trigger();
        EXPECT_FALSE(okEnabled) << static_cast<int>(dialog);
    }
    form->findChild<QDateEdit *>("datePicker")->setDate(QDate(2026, 8, 2));
    auto *weight = form->findChild<QLineEdit *>("weightEdit");
    QTest::keyClicks(weight, QStringLiteral("57.1"));
    QTest::keyClick(weight, Qt::Key_Return);
    EXPECT_EQ(app->document().findDay(makeDate(2026, 8, 2)), nullptr);
    EXPECT_EQ(statusText(), ui(apptext::refusedReadOnly));
    app->commitSessionData(); // stores as a signal does, without ending the event loop
    EXPECT_EQ(fileBytes(inside), before);

    // Save As into a folder that can be written takes a lock there: the
    // journal can be changed again.
    const QString elsewhere = path(QStringLiteral("zph0001-copy.txt"));
    answerer.expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_TRUE(dialog);
        dialog->selectFile(elsewhere);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_TRUE(app->fileSaveAs());
    EXPECT_FALSE(frame->windowTitle().contains(ui(apptext::readOnlyMark).trimmed()));
    EXPECT_TRUE(form->findChild<QWidget *>("registerButton")->isEnabled());
    registerWeight(QDate(2026, 8, 2), QStringLiteral("57.1"));
    EXPECT_NE(app->document().findDay(makeDate(2026, 8, 2)), nullptr);
    EXPECT_TRUE(app->fileSave());
    EXPECT_TRUE(fileBytes(elsewhere).contains("2026/08/02\t57.1"));
    EXPECT_EQ(fileBytes(inside), before);
    app.reset();
}

// File > merge another journal: one undoable step taking the days only the
// other holds; a day both hold differently keeps this journal's value.
TEST_F(NothingLostTest, anotherJournalIsMergedAsOneStep)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    const QString other = path(QStringLiteral("zph0001.txt.conflict-20260802-101010"));
    writeJournalFile(other, "Hanako",
                     "2026/08/01\t58.0\t0\t0\t0\t0\t0\t\r\n2026/08/03\t56.9\t0\t0\t0\t0\t0\t\r\n");
    ASSERT_TRUE(startApp());
    EXPECT_TRUE(statusText().contains(QFileInfo(other).fileName())) << statusText().toStdString();
    answerer.expectMessage(QMessageBox::Ok);
    app->mergeOtherJournal(other);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts.at(0).endsWith(QStringLiteral("2026/08/01")))
        << answerer.texts.at(0).toStdString();
    EXPECT_EQ(app->document().findDay(makeDate(2026, 8, 1))->weight, 57.5);
    EXPECT_NE(app->document().findDay(makeDate(2026, 8, 3)), nullptr);
    app->context().editor().undo();
    EXPECT_EQ(app->document().findDay(makeDate(2026, 8, 3)), nullptr);

    // A version cut off is not merged.
    QFile cut(other);
    ASSERT_TRUE(cut.resize(cut.size() - 3));
    answerer.expectMessage(QMessageBox::Ok);
    app->mergeOtherJournal(other);
    EXPECT_EQ(answerer.texts.value(1),
              ui(apptext::mergeNotWhole).arg(QDir::toNativeSeparators(other)));
    EXPECT_EQ(app->document().findDay(makeDate(2026, 8, 3)), nullptr);
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

// The journal's folder deleted under the window: the next edit cannot be
// logged, so the journal goes to a rescue file at once and the window says
// where; the next start names it again.
TEST_F(NothingLostTest, aDeletedFolderSendsTheJournalToARescueFileAtTheNextEdit)
{
    QDir folder(path(QStringLiteral("gone")));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    const QString inside = folder.filePath(QStringLiteral("zph0001.txt"));
    writeJournalFile(inside, "Hanako", oneDay);
    ASSERT_TRUE(startApp({QStringLiteral("zephalonte"), inside}));
    ASSERT_TRUE(folder.removeRecursively());

    answerer.expectMessage(QMessageBox::Ok);
    registerWeight(QDate(2026, 8, 2), QStringLiteral("57.1"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return answerer.allAnswered(); }, 5000));
    const QString rescueFolder = path(QStringLiteral("data/zephalonte/rescue"));
    const QFileInfoList rescued =
        QDir(rescueFolder).entryInfoList({QStringLiteral("zph0001-*.txt")}, QDir::Files);
    ASSERT_EQ(rescued.size(), 1);
    EXPECT_TRUE(fileBytes(rescued[0].filePath()).contains("2026/08/02\t57.1"));
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QDir::toNativeSeparators(rescued[0].filePath())))
        << answerer.texts[0].toStdString();
    EXPECT_EQ(app->documentPath(), rescued[0].filePath());
    EXPECT_TRUE(app->mainFrame()->windowTitle().startsWith(rescued[0].fileName()));
    EXPECT_FALSE(app->document().isModified());
    app.reset();

    writeJournalFile(journal(), "Hanako", oneDay);
    answerer.expectMessage(QMessageBox::Ok);
    ASSERT_TRUE(startApp());
    ASSERT_EQ(answerer.texts.size(), 2);
    EXPECT_TRUE(answerer.texts[1].contains(QDir::toNativeSeparators(rescued[0].filePath())))
        << answerer.texts[1].toStdString();
}

// A recovery path the window cannot read (here a folder) is left alone and
// named; the window's own edits are logged in the rescue folder meanwhile.
TEST_F(NothingLostTest, anUnreadableRecoveryPathIsNamedAndTheLogGoesToTheRescueFolder)
{
    writeJournalFile(journal(), "Hanako", oneDay);
    ASSERT_TRUE(QDir().mkpath(recovery()));
    answerer.expectMessage(QMessageBox::Ok);
    ASSERT_TRUE(startApp());
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].startsWith(QDir::toNativeSeparators(
        QStringLiteral("保存されずに終了した変更のファイル ") + recovery())))
        << answerer.texts[0].toStdString();
    const QString rescueFolder = path(QStringLiteral("data/zephalonte/rescue"));
    EXPECT_TRUE(answerer.texts[0].contains(QDir::toNativeSeparators(rescueFolder)))
        << answerer.texts[0].toStdString();

    registerWeight(QDate(2026, 8, 2), QStringLiteral("57.1"));
    const QStringList logs =
        QDir(rescueFolder)
            .entryList({QStringLiteral(".zph0001.txt.*.recovery")}, QDir::Files | QDir::Hidden);
    ASSERT_EQ(logs.size(), 1);
    EXPECT_GT(QFileInfo(rescueFolder + QLatin1Char('/') + logs[0]).size(), 0);
    EXPECT_TRUE(QFileInfo(recovery()).isDir());
}

} // namespace

ZPH_APP_TEST_MAIN
