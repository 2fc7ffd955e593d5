// The journal's folder held from the open to the end: a folder renamed while
// the journal is open keeps taking its store, .bak and edit log; a folder
// deleted sends the journal to a rescue file; a recovery file that cannot be
// read sends the edit log to the rescue folder meanwhile.

#include "docsetup.h"
#include "journal/cquilloxdoc.h"
#include "journal/editlog.h"
#include "qtfilebytes.h"
#include "session/editlogwriter.h"
#include "session/journalsession.h"
#include "session/rescuefolder.h"
#include "session/sessionmessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>

namespace {

const Date today = makeDate(2002, 6, 30);

const QByteArray namedJournal = "[userInfo]\r\nname = Taro\r\n[data]\r\n"
                                "2002/05/12\t65\t0\t0\t0\t0\t0\t\r\n";

// The rescue folder of every test here: never the user's own.
QTemporaryDir *dataHome = nullptr;

mode_t modeOf(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

std::size_t recordsIn(const QString &log)
{
    return readEditLog(bytesOf(log).toStdString()).records.size();
}

class FolderTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        QDir(rescueFolderPath()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        writeBytes(journal, namedJournal);
        ASSERT_EQ(session->open(journal, JournalSession::OpenMode::named, today).status,
                  OpenOutcome::Status::opened);
        writer.setTroubleListener(
            [this](const EditLogWriter::Trouble &trouble) { troubles.push_back(trouble); });
    }

    // One day changed, as the window's editor does it: applied, then logged.
    void edit(int day, double weight)
    {
        writer.record(doc.applyEdit(dayEdit(doc, DayRecord{makeDate(2002, 6, day), weight, 0, 0, 0,
                                                           0, 0, ""}))
                          .inverse());
        doc.setModified(true);
    }

    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("journals"));
    QString journal = folder + QStringLiteral("/zph0001.txt");
    CQuilloxDoc doc{today};
    std::unique_ptr<JournalSession> session = std::make_unique<JournalSession>(doc);
    EditLogWriter writer;
    std::vector<EditLogWriter::Trouble> troubles;
};

TEST_F(FolderTest, aRenamedFolderKeepsTakingTheStoreTheBakTheLogAndTheLock)
{
    session->pointEditLog(writer);
    const QString moved = dir.filePath(QStringLiteral("moved"));
    ASSERT_TRUE(QDir().rename(folder, moved));

    edit(1, 64.5);
    EXPECT_EQ(recordsIn(moved + QStringLiteral("/.zph0001.txt.recovery")), 1u);
    const StoreOutcome stored = session->store();
    ASSERT_TRUE(stored.stored) << storeFailureMessage(stored).toStdString();
    EXPECT_TRUE(stored.rescuePath.isEmpty());
    EXPECT_EQ(stored.path, moved + QStringLiteral("/zph0001.txt"));
    EXPECT_EQ(session->path(), stored.path);
    EXPECT_EQ(bytesOf(stored.path).toStdString(), doc.journalText());
    EXPECT_EQ(bytesOf(moved + QStringLiteral("/zph0001.txt.bak")), namedJournal);
    EXPECT_FALSE(QFileInfo::exists(folder)) << "nothing is made under the old name";

    // Another folder takes the old name, with a lock of its own there: the
    // end of the session removes its own lock in the moved folder only.
    ASSERT_TRUE(QDir().mkpath(folder));
    writeBytes(folder + QStringLiteral("/zph0001.txt.lock"), "4242\nzephalonte\nelsewhere\n");
    EXPECT_TRUE(QFileInfo::exists(moved + QStringLiteral("/zph0001.txt.lock")));
    session.reset();
    EXPECT_FALSE(QFileInfo::exists(moved + QStringLiteral("/zph0001.txt.lock")));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/zph0001.txt.lock")));
}

TEST_F(FolderTest, aDeletedFolderSendsTheJournalToAPrivateRescueFileAndTheLogAfterIt)
{
    session->pointEditLog(writer);
    edit(1, 64.5);
    ASSERT_TRUE(QDir(folder).removeRecursively());

    // The log has no name any more: the trouble is told, the edit is kept.
    edit(2, 64.0);
    ASSERT_FALSE(troubles.empty());
    EXPECT_TRUE(troubles.back().failing);
    EXPECT_EQ(troubles.back().problem, FileProblem::notFound);

    const StoreOutcome stored = session->store();
    ASSERT_TRUE(stored.stored) << storeFailureMessage(stored).toStdString();
    EXPECT_EQ(stored.rescuedFrom, journal);
    EXPECT_EQ(stored.path, stored.rescuePath);
    EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(
                                       QRegularExpression::escape(rescueFolderPath()) +
                                       QStringLiteral("/zph0001-\\d{8}-\\d{6}\\.txt")))
                    .match(stored.rescuePath)
                    .hasMatch())
        << stored.rescuePath.toStdString();
    EXPECT_EQ(bytesOf(stored.rescuePath).toStdString(), doc.journalText());
    EXPECT_EQ(modeOf(stored.rescuePath), 0600u);
    EXPECT_EQ(modeOf(rescueFolderPath()), 0700u);
    EXPECT_EQ(modeOf(dataHome->filePath(QStringLiteral("zephalonte"))), 0700u);
    EXPECT_FALSE(QFileInfo::exists(folder)) << "the deleted folder is not made again";
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(rescueStoredMessage(stored).contains(stored.rescuePath));

    // The rescue file is the journal now: its log and its next store are there.
    EXPECT_EQ(session->path(), stored.rescuePath);
    session->pointEditLog(writer);
    writer.startOver(session->editLogHeader());
    edit(3, 63.5);
    EXPECT_FALSE(troubles.back().failing);
    EXPECT_EQ(recordsIn(session->recoveryPath()), 1u);
    EXPECT_EQ(QFileInfo(session->recoveryPath()).path(), rescueFolderPath());
    const StoreOutcome again = session->store();
    ASSERT_TRUE(again.stored);
    EXPECT_TRUE(again.rescuePath.isEmpty());
    EXPECT_EQ(bytesOf(stored.rescuePath).toStdString(), doc.journalText());

    // The next start is told once.
    EXPECT_EQ(takeRescueNotices(), QStringList{stored.rescuePath});
    EXPECT_TRUE(takeRescueNotices().isEmpty());
}

// With no rescue folder possible either, nothing is claimed: the store
// fails on the folder that went, and the edits stay unsaved in the window.
TEST_F(FolderTest, aDeletedFolderWithoutARescueFolderFailsTheStore)
{
    edit(1, 64.5);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    const QByteArray dataHomePath = qgetenv("XDG_DATA_HOME");
    const QString blocker = dir.filePath(QStringLiteral("not-a-folder"));
    writeBytes(blocker, "x");
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
    const StoreOutcome stored = session->store();
    qputenv("XDG_DATA_HOME", dataHomePath);
    EXPECT_FALSE(stored.stored);
    EXPECT_EQ(stored.failure.problem, FileProblem::notFound);
    EXPECT_TRUE(stored.rescuePath.isEmpty());
    EXPECT_EQ(session->path(), journal);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(FolderTest, aRecoveryFileThatIsAFolderKeepsTheLogInTheRescueFolderUntilResolved)
{
    const QString recoveryPlace = folder + QStringLiteral("/.zph0001.txt.recovery");
    ASSERT_TRUE(QDir().mkpath(recoveryPlace));
    const RecoveryFile found = session->findRecovery();
    ASSERT_EQ(found.state, RecoveryFile::State::unreadable);
    EXPECT_EQ(found.path, recoveryPlace);
    EXPECT_EQ(found.problem, FileProblem::notRegularFile);
    EXPECT_TRUE(session->editLogInRescueFolder());

    session->pointEditLog(writer);
    edit(1, 64.5);
    const QString log = QFile::decodeName(writer.path().c_str());
    EXPECT_EQ(QFileInfo(log).path(), rescueFolderPath());
    EXPECT_EQ(recordsIn(log), 1u);
    const QString message = recoveryUnreadableMessage(found, log);
    EXPECT_TRUE(message.contains(recoveryPlace) && message.contains(log)) << message.toStdString();

    // Killed before a store: the next open offers the log kept aside.
    writer.setTarget(std::string(), {}, std::nullopt);
    session = std::make_unique<JournalSession>(doc);
    ASSERT_EQ(session->open(journal, JournalSession::OpenMode::named, today).status,
              OpenOutcome::Status::opened);
    const RecoveryFile offered = session->findRecovery();
    ASSERT_EQ(offered.state, RecoveryFile::State::editLog);
    EXPECT_EQ(offered.path, log);
    EXPECT_EQ(offered.composed.days.size(), 1u);

    // Replayed and stored: the log goes, the folder in its place stays.
    session->markRecoveryResolved();
    ASSERT_TRUE(session->store().stored);
    EXPECT_FALSE(QFileInfo::exists(log));
    EXPECT_TRUE(QFileInfo(recoveryPlace).isDir());
}

// A rescue file is named after the journal's stem and the moment; a second
// rescue in the same second never replaces the first.
TEST(RescueFile, isNamedAfterTheJournalsStemAndNeverReplacesAnother)
{
    QDir(rescueFolderPath()).removeRecursively();
    const Folder rescue = openRescueFolder();
    ASSERT_TRUE(rescue.isOpen());
    const QDateTime when(QDate(2026, 12, 9), QTime(10, 15, 0));
    const std::pair<std::string, QString> names[] = {
        {"zph0002.txt", QStringLiteral("zph0002-20261209-101500.txt")},
        {"diary.2026.txt", QStringLiteral("diary.2026-20261209-101500.txt")},
        {"diary", QStringLiteral("diary-20261209-101500.txt")},
        {"diary", QStringLiteral("diary-20261209-101500-2.txt")},
    };
    for (const auto &[journal, expected] : names) {
        const RescueFile file = writeRescueFile(rescue, journal, journal, when);
        EXPECT_EQ(QFileInfo(file.path).fileName(), expected);
        EXPECT_EQ(bytesOf(file.path).toStdString(), journal);
    }
    EXPECT_EQ(takeRescueNotices().size(), 4);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir home;
    dataHome = &home;
    ::setenv("XDG_DATA_HOME", QFile::encodeName(home.path()).constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
