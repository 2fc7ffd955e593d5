// The journal session: what it locks, loads and stores, what it refuses, and
// how each failure reads to the user.

#include "docsetup.h"
#include "journal/cquilloxdoc.h"
#include "journal/editlog.h"
#include "qtfilebytes.h"
#include "session/editlogwriter.h"
#include "session/journallock.h"
#include "session/journalsession.h"
#include "session/sessionmessages.h"
#include "session/sessiontexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

namespace {

const Date today = makeDate(2002, 6, 30);

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const QByteArray namedJournal = "[userInfo]\r\nname = Taro\r\n[data]\r\n"
                                "2002/05/12\t65\t0\t0\t0\t0\t0\t\r\n";

// A 64 KiB tmpfs at point, as long as the object lives: a full disk.
struct SmallDisk {
    explicit SmallDisk(const QString &folder) : point(QFile::encodeName(folder))
    {
        QDir().mkpath(folder);
        mounted = ::mount("tmpfs", point.constData(), "tmpfs", 0, "size=64k") == 0;
        if (!mounted)
            error = std::strerror(errno);
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount(point.constData());
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    QByteArray point;
    bool mounted = false;
    std::string error;
};

class SessionTest : public ::testing::Test {
  protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    // Runs the current test again as the user nobody when the tests run as
    // root, who may write any file; returns true when that was done (the
    // caller then returns). CI runs as root, and the refusal must be seen
    // there too.
    bool rerunAsOrdinaryUser()
    {
        if (::geteuid() != 0)
            return false;
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty()) {
            ADD_FAILURE() << "setpriv is needed to run this test as an ordinary user";
            return true;
        }
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QStringLiteral("setpriv"),
                    {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                     QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
                     QStringLiteral("--gtest_filter=%1.%2")
                         .arg(QString::fromLatin1(info->test_suite_name()),
                              QString::fromLatin1(info->name()))});
        EXPECT_TRUE(child.waitForFinished(30000));
        const QByteArray output = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return true;
    }

    QTemporaryDir dir;
    CQuilloxDoc doc{today};
};

TEST_F(SessionTest, everyReasonHasItsOwnJapaneseSentenceAndThePathComesOnce)
{
    const QString system = QStringLiteral("Input/output error");
    const FileProblem problems[] = {
        FileProblem::noSpace,          FileProblem::readOnlyFileSystem,
        FileProblem::permissionDenied, FileProblem::readOnlyFile,
        FileProblem::notFound,         FileProblem::notRegularFile,
        FileProblem::tooLarge,         FileProblem::other,
    };
    std::set<QString> sentences{reasonText({FileProblem::none, true, system})};
    for (const FileProblem problem : problems)
        sentences.insert(reasonText({problem, false, system}));
    EXPECT_EQ(sentences.size(), std::size(problems) + 1);
    for (const QString &sentence : sentences)
        EXPECT_TRUE(sentence.endsWith(u'。')) << sentence.toStdString();
    // Only the reason nobody foresaw carries the system's words.
    EXPECT_TRUE(reasonText({FileProblem::other, false, system}).contains(u'(' + system + u')'));
    EXPECT_FALSE(reasonText({FileProblem::noSpace, false, system}).contains(system));

    StoreOutcome failed;
    failed.path = QStringLiteral("/home/taro/zph0001.txt");
    failed.failure = {FileProblem::noSpace, false, QStringLiteral("No space left on device")};
    EXPECT_EQ(storeFailureMessage(failed).count(QStringLiteral("zph0001.txt")), 1);
}

TEST_F(SessionTest, openReportsWhyAFileCannotBeAJournal)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600), 0);
    QFile huge(path(QStringLiteral("huge.txt")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(static_cast<qint64>(maxReadableFileBytes) + 1)); // sparse
    huge.close();

    const std::pair<QString, FileProblem> cases[] = {
        {QStringLiteral("missing.txt"), FileProblem::notFound},
        {QStringLiteral("folder"), FileProblem::notRegularFile},
        {QStringLiteral("fifo"), FileProblem::notRegularFile},
        {QStringLiteral("huge.txt"), FileProblem::tooLarge},
    };
    JournalSession session(doc);
    for (const auto &[name, problem] : cases) {
        const OpenOutcome outcome =
            session.open(path(name), JournalSession::OpenMode::named, today);
        EXPECT_EQ(outcome.status, OpenOutcome::Status::failed) << name.toStdString();
        EXPECT_EQ(outcome.failure.problem, problem) << name.toStdString();
        EXPECT_TRUE(openFailureMessage(outcome).contains(reasonText(outcome.failure)));
        EXPECT_FALSE(session.hasPath());
        EXPECT_FALSE(QFileInfo::exists(journalLockPath(path(name))));
    }
}

// Opening one is refused at start-up already; storing under its name too.
TEST_F(SessionTest, saveAsOverAJournalHeldByAnotherCopyIsRefused)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    writeBytes(journal, namedJournal);
    QLockFile otherCopy(journalLockPath(journal));
    ASSERT_TRUE(otherCopy.tryLock(0));

    JournalSession session(doc);
    const StoreOutcome stored = session.storeAs(journal);
    EXPECT_FALSE(stored.stored);
    EXPECT_TRUE(stored.failure.inUseElsewhere);
    EXPECT_EQ(stored.failure.lockHolderPid, QCoreApplication::applicationPid());
    // The message names the holder and the lock file.
    const QString message = storeFailureMessage(stored);
    EXPECT_TRUE(message.contains(text(sessiontext::inUseByProcess)
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(journalLockPath(journal))))
        << message.toStdString();
    EXPECT_EQ(bytesOf(journal), namedJournal);
    EXPECT_FALSE(session.hasPath());
}

TEST_F(SessionTest, storeRemovesTheLeftoversOfInterruptedStores)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    writeBytes(journal, namedJournal);
    writeBytes(path(QStringLiteral(".zph0001.txt.Kq3xZ0iC")), namedJournal);
    writeBytes(path(QStringLiteral(".zph0001.txt.bak.p9Lm2RRz")), namedJournal);
    writeBytes(path(QStringLiteral(".zph0002.txt.Kq3xZ0iC")), namedJournal);
    JournalSession session(doc);
    ASSERT_EQ(session.open(journal, JournalSession::OpenMode::named, today).status,
              OpenOutcome::Status::opened);
    ASSERT_TRUE(session.store().stored);

    QDir folder(dir.path());
    folder.setFilter(QDir::Files | QDir::Hidden);
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral(".zph0002.txt.Kq3xZ0iC"), QStringLiteral("zph0001.txt"),
                           QStringLiteral("zph0001.txt.bak"), QStringLiteral("zph0001.txt.lock")}));
}

// A journal the user made read-only (0444), and one the user may not read,
// tried as an ordinary user: root writes and reads any file.
TEST_F(SessionTest, readOnlyJournalIsNeverReplacedAndAnUnreadableOneIsNamedSo)
{
    if (rerunAsOrdinaryUser())
        return;
    const QString journal = path(QStringLiteral("zph0001.txt"));
    writeBytes(journal, namedJournal);
    writeBytes(journal + QStringLiteral(".bak"), "older");
    JournalSession session(doc);
    ASSERT_EQ(session.open(journal, JournalSession::OpenMode::named, today).status,
              OpenOutcome::Status::opened);
    ASSERT_TRUE(
        QFile::setPermissions(journal, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    putDay(doc, makeDate(2002, 5, 13), "", 64, 0, 0, 0, 0, 0);
    doc.setModified(true); // as the window's editor marks it

    const StoreOutcome stored = session.store();
    EXPECT_FALSE(stored.stored);
    EXPECT_EQ(stored.failure.problem, FileProblem::readOnlyFile);
    EXPECT_TRUE(storeFailureMessage(stored).contains(text(sessiontext::readOnlyFile)));
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(bytesOf(journal), namedJournal);
    EXPECT_EQ(bytesOf(journal + QStringLiteral(".bak")), "older");

    const QString secret = path(QStringLiteral("secret.txt"));
    writeBytes(secret, namedJournal);
    ASSERT_TRUE(QFile::setPermissions(secret, QFileDevice::Permissions()));
    const OpenOutcome opened = session.open(secret, JournalSession::OpenMode::named, today);
    EXPECT_EQ(opened.failure.problem, FileProblem::permissionDenied);
    EXPECT_EQ(session.path(), journal);
}

// A 64 KiB tmpfs: a full disk, then remounted read-only.
TEST_F(SessionTest, fullDiskAndReadOnlyFileSystemAreNamed)
{
    const SmallDisk smallDisk(path(QStringLiteral("disk")));
    if (!smallDisk.mounted)
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << smallDisk.error
                     << "); run as root to test a full disk";
    const QByteArray &disk = smallDisk.point;
    const QString journal = path(QStringLiteral("disk/zph0001.txt"));
    {
        JournalSession session(doc);
        ASSERT_EQ(session.open(journal, JournalSession::OpenMode::currentUser, today).status,
                  OpenOutcome::Status::startedEmpty);
        ASSERT_TRUE(session.store().stored);
        for (int i = 0; i < 3000; ++i)
            putDay(doc, makeDate(2003, 1, 1) + std::chrono::days(i), "a memo of a few words", 60,
                   20, 5, 1800, 2, 1200);

        const StoreOutcome full = session.store();
        EXPECT_EQ(full.failure.problem, FileProblem::noSpace);
        EXPECT_TRUE(storeFailureMessage(full).contains(text(sessiontext::noSpace)));
    }

    // The lock is released: a file open for writing would keep the remount off.
    ASSERT_EQ(::mount("tmpfs", disk.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0)
        << std::strerror(errno);
    JournalSession session(doc);
    ASSERT_EQ(session.open(journal, JournalSession::OpenMode::named, today).status,
              OpenOutcome::Status::opened);
    const StoreOutcome readOnly = session.store();
    EXPECT_EQ(readOnly.failure.problem, FileProblem::readOnlyFileSystem);
    EXPECT_TRUE(storeFailureMessage(readOnly).contains(text(sessiontext::readOnlyFileSystem)));
}

// The edit log on a full disk: the write that fails leaves the records before
// it readable (no torn record hides them), says so, and the next write that
// fits carries the failed edit too.
TEST_F(SessionTest, anEditLogOnAFullDiskKeepsItsRecordsAndCatchesUp)
{
    const SmallDisk smallDisk(path(QStringLiteral("disk")));
    if (!smallDisk.mounted)
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << smallDisk.error
                     << "); run as root to test a full disk";
    const QString journal = path(QStringLiteral("disk/zph0001.txt"));
    writeBytes(journal, namedJournal);
    JournalSession session(doc);
    ASSERT_EQ(session.open(journal, JournalSession::OpenMode::named, today).status,
              OpenOutcome::Status::opened);
    EditLogWriter writer;
    writer.setTarget(nativePath(session.recoveryPath()), session.editLogHeader(), 0600);
    std::vector<EditLogWriter::Trouble> troubles;
    writer.setTroubleListener([&](const EditLogWriter::Trouble &t) { troubles.push_back(t); });
    const auto logged = [&] { return readEditLog(bytesOf(session.recoveryPath()).toStdString()); };
    const auto edit = [&](const Edit &change) { writer.record(doc.applyEdit(change).inverse()); };

    edit(dayEdit(doc, DayRecord{makeDate(2002, 5, 13), 64.8, 0, 0, 0, 0, 0, ""}));
    ASSERT_EQ(logged().records.size(), 1u);

    const QString filler = path(QStringLiteral("disk/filler"));
    {
        QFile out(filler);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (out.write(block) == block.size() && out.flush()) {
        }
    }
    EditBuilder many(doc);
    for (int i = 0; i < 500; ++i)
        many.changeDay(DayRecord{makeDate(2003, 1, 1) + std::chrono::days(i), 60, 20, 5, 1800, 2,
                                 1200, "a memo of a few words"});
    edit(many.take());
    ASSERT_EQ(troubles.size(), 1u);
    EXPECT_TRUE(troubles[0].failing);
    EXPECT_EQ(troubles[0].problem, FileProblem::noSpace);
    EXPECT_FALSE(writer.holdsEverything());
    EXPECT_EQ(logged().records.size(), 1u);
    EXPECT_EQ(logged().ignoredBytes, 0u);
    EXPECT_EQ(bytesOf(journal), namedJournal);

    ASSERT_TRUE(QFile::remove(filler));
    edit(dayEdit(doc, DayRecord{makeDate(2002, 5, 14), 64.5, 0, 0, 0, 0, 0, ""}));
    ASSERT_EQ(troubles.size(), 2u);
    EXPECT_FALSE(troubles[1].failing);
    EXPECT_TRUE(writer.holdsEverything());
    EXPECT_EQ(logged().records.size(), 3u);
    const QStringList left =
        QDir(path(QStringLiteral("disk"))).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.size(), 3) << "journal, lock and log only, no temporary file: "
                              << left.join(u' ').toStdString();
}

// A log writer killed before its rename leaves the new log under a temporary
// name: with no log in place, it is the log, offered like one.
TEST_F(SessionTest, aLogLeftUnderItsTemporaryNameIsOffered)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    writeBytes(journal, "# quillox file ver 2\r\n" + namedJournal);
    JournalSession session(doc);
    ASSERT_EQ(session.open(journal, JournalSession::OpenMode::named, today).status,
              OpenOutcome::Status::opened);
    const std::string log =
        encodeLogHeader(session.editLogHeader()) +
        encodeLogRecord(dayEdit(doc, DayRecord{makeDate(2002, 5, 13), 64, 0, 0, 0, 0, 0, ""}));
    writeBytes(session.recoveryPath() + QStringLiteral(".a1B2c3"), QByteArray::fromStdString(log));
    const RecoveryFile recovery = session.findRecovery();
    EXPECT_EQ(recovery.state, RecoveryFile::State::editLog);
    EXPECT_EQ(bytesOf(session.recoveryPath()).toStdString(), log);
    EXPECT_FALSE(QFileInfo::exists(session.recoveryPath() + QStringLiteral(".a1B2c3")));
}

// A recovery file found at the open goes only once it was restored or set
// aside: a store in between (the program ended while asking) keeps it.
TEST_F(SessionTest, aStoreRemovesTheRecoveryFileOnlyOnceItWasRestoredOrSetAside)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    writeBytes(journal, namedJournal);
    // An earlier release's recovery file: the whole text, header and all.
    const QByteArray recovered =
        "# quillox file ver 2\r\n" + namedJournal + "2002/05/13\t64\t0\t0\t0\t0\t0\t\r\n";
    writeBytes(path(QStringLiteral(".zph0001.txt.recovery")), recovered);
    {
        JournalSession session(doc);
        ASSERT_EQ(session.open(journal, JournalSession::OpenMode::named, today).status,
                  OpenOutcome::Status::opened);
        EXPECT_TRUE(session.recoveryUnresolved());
        ASSERT_TRUE(session.store().stored);
        EXPECT_EQ(bytesOf(session.recoveryPath()), recovered);
    }
    const QByteArray storedOnce = bytesOf(journal);
    JournalSession session(doc);
    ASSERT_EQ(session.open(journal, JournalSession::OpenMode::named, today).status,
              OpenOutcome::Status::opened);
    const RecoveryFile recovery = session.findRecovery();
    ASSERT_EQ(recovery.state, RecoveryFile::State::wholeJournal);
    CQuilloxDoc restored;
    EXPECT_TRUE(session.restoreRecovery(recovery, today, restored).skippedLines.empty());
    doc.applyEdit(differenceBetween(doc, restored));
    doc.setModified(true);
    EXPECT_EQ(bytesOf(journal), storedOnce);
    ASSERT_TRUE(session.store().stored);
    EXPECT_FALSE(QFileInfo::exists(session.recoveryPath()));
    EXPECT_NE(doc.findDay(makeDate(2002, 5, 13)), nullptr);
}

// A store that finds another program's bytes keeps them first; a copy that
// cannot be made stops the store.
TEST_F(SessionTest, aStoreKeepsAnotherProgramsVersionAsAConflictCopy)
{
    if (rerunAsOrdinaryUser()) // root could write into the closed folder below
        return;
    const QString journal = path(QStringLiteral("zph0001.txt"));
    writeBytes(journal, namedJournal);
    JournalSession session(doc);
    ASSERT_EQ(session.open(journal, JournalSession::OpenMode::named, today).status,
              OpenOutcome::Status::opened);
    EXPECT_FALSE(session.changedOnDisk());
    ASSERT_TRUE(QFile::setPermissions(journal, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const StoreOutcome own = session.store();
    EXPECT_TRUE(own.stored);
    EXPECT_TRUE(own.conflictCopyPath.isEmpty()) << "its own bytes are no conflict";

    const QByteArray theirs = namedJournal + "2002/05/13\t64\t0\t0\t0\t0\t0\t\r\n";
    {
        QFile file(journal);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(theirs);
    }
    EXPECT_TRUE(session.changedOnDisk());
    const StoreOutcome stored = session.store();
    ASSERT_TRUE(stored.stored);
    ASSERT_FALSE(stored.conflictCopyPath.isEmpty());
    EXPECT_TRUE(QFileInfo(stored.conflictCopyPath).fileName().startsWith("zph0001.txt.conflict-"));
    EXPECT_EQ(bytesOf(stored.conflictCopyPath), theirs);
    EXPECT_EQ(QFileInfo(stored.conflictCopyPath).permissions() & 0x0077, QFileDevice::Permissions())
        << "no bits for group or others";
    EXPECT_TRUE(
        conflictCopyMessage(stored).contains(QFileInfo(stored.conflictCopyPath).fileName()));
    EXPECT_FALSE(session.changedOnDisk());

    // A second change by another program, and a folder that takes no new file.
    {
        QFile file(journal);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(theirs + "more");
    }
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const StoreOutcome refused = session.store();
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner));
    EXPECT_FALSE(refused.stored);
    EXPECT_TRUE(refused.conflictNotKept);
    EXPECT_EQ(bytesOf(journal), theirs + "more");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
