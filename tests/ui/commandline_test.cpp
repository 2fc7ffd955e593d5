// The window's own command line, run as from a terminal: what the program
// prints, its exit status, and that neither a window nor a message box
// opens (either would keep the run from ever ending).

#include "app/apptexts.h"
#include "app/commandline.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ProgramRun {
    bool ended = false;
    int status = -1;
    QString out;
    QString err;
};

// Runs the program in an empty folder of its own, with a settings folder of
// its own, on the given Qt platform.
ProgramRun runZephalonte(const QTemporaryDir &dir, const QStringList &arguments,
                         const QString &platform)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral(".config")));
    // Qt's own note about a missing runtime folder is no part of the answer.
    static const QTemporaryDir runtimeDir;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
    environment.remove(QStringLiteral("ZPH_QUIT_AFTER_FIRST_PAINT"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(ZEPHALONTE_EXECUTABLE), arguments);
    ProgramRun run;
    run.ended = process.waitForFinished(30000);
    if (!run.ended) {
        process.kill();
        process.waitForFinished();
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList namesIn(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(CommandLine, helpAndVersionAreAskedBeforeDoubleDash)
{
    const struct {
        std::vector<const char *> arguments; // after the program's name
        InformationRequest expected;
    } cases[] = {
        {{}, InformationRequest::none},
        {{"journal.txt"}, InformationRequest::none},
        {{"--help"}, InformationRequest::help},
        {{"-h"}, InformationRequest::help},
        {{"--version"}, InformationRequest::version},
        // Qt's own options come before: the first of ours counts.
        {{"-platform", "offscreen", "--version", "--help"}, InformationRequest::version},
        {{"--", "--help"}, InformationRequest::none},
        {{"-x", "--help"}, InformationRequest::help},
    };
    for (const auto &c : cases) {
        std::vector<const char *> argv{"zephalonte"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        EXPECT_EQ(informationRequest(static_cast<int>(argv.size()), argv.data()), c.expected)
            << (c.arguments.empty() ? "" : c.arguments.front());
    }
}

TEST(CommandLine, helpAndVersionPrintOnStandardOutputWithoutStartingQt)
{
    const struct {
        const char *argument;
        QString printed;
    } cases[] = {
        {"--help", QString::fromUtf8(apptext::help)},
        {"-h", QString::fromUtf8(apptext::help)},
        {"--version", QStringLiteral("zephalonte (Zephalonte) " ZPH_VERSION "\n")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.argument);
        QTemporaryDir dir;
        // A platform that does not exist: Qt would end the run with an error
        // before any window if the program started it at all.
        const ProgramRun run =
            runZephalonte(dir, {QString::fromUtf8(c.argument)}, QStringLiteral("no-such-platform"));
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, c.printed);
        EXPECT_EQ(run.err, QString());
        EXPECT_EQ(namesIn(dir), QStringList());
    }
}

TEST(CommandLine, mistakesPrintTheUsageOnStandardErrorAndEndWithTwo)
{
    const struct {
        QStringList arguments;
        QString named;
    } cases[] = {
        {{QStringLiteral("-x")}, QStringLiteral("-x")},
        {{QStringLiteral("--bogus"), QStringLiteral("a.txt")}, QStringLiteral("--bogus")},
        {{QStringLiteral("a.txt"), QStringLiteral("b.txt")}, QStringLiteral("b.txt")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        QTemporaryDir dir;
        const ProgramRun run = runZephalonte(dir, c.arguments, QStringLiteral("offscreen"));
        ASSERT_TRUE(run.ended) << "a window or a message box kept the program running";
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, QString());
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("zephalonte: "))) << run.err.toStdString();
        for (const QString &part :
             {c.named, QString::fromUtf8(apptext::usage), QString::fromUtf8(apptext::seeHelp)})
            EXPECT_TRUE(run.err.contains(part)) << run.err.toStdString();
        // Nothing read, nothing written: no journal, no lock, no settings.
        EXPECT_EQ(namesIn(dir), QStringList());
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
