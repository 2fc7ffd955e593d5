#include "app/czephalonteapp.h"

#include "app/appprinter.h"
#include "app/apptexts.h"
#include "app/cmainframe.h"
#include "app/commandline.h"
#include "app/journalcontroller.h"
#include "app/terminationsignals.h"
#include "journal/cquilloxdoc.h"
#include "pane/edittexts.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"
#include "qttext/uitext.h"
#include "session/journalsession.h"
#include "session/pathnames.h"
#include "session/sessiontexts.h"
#include "session/userprofile.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QSessionManager>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <future>

namespace {

constexpr double restoredWindowShare = 0.75;

// The trend and goal line switches: the user's own, whatever journal is open.
constexpr char trendLineKey[] = "Graph/trendLine";

constexpr char goalLineKey[] = "Graph/goalLine";

ProgressOptions readProgressOptions(const QSettings &profile)
{
    return {profile.value(QLatin1String(trendLineKey), false).toBool(),
            profile.value(QLatin1String(goalLineKey), false).toBool()};
}

void writeProgressOptions(QSettings &profile, const ProgressOptions &options)
{
    profile.setValue(QLatin1String(trendLineKey), options.trendLine);
    profile.setValue(QLatin1String(goalLineKey), options.goalLine);
    profile.sync();
}

// Why the journal cannot be opened under its own name: a name on the command
// line, or the working folder a relative name is in, that is not text.
QString startupPathProblem(const QString &journalPath, const QByteArrayList &nativeArguments)
{
    for (qsizetype i = 1; i < nativeArguments.size(); ++i) {
        const QByteArray &argument = nativeArguments.at(i);
        const std::string_view bytes(argument.constData(),
                                     static_cast<std::size_t>(argument.size()));
        if (!isTextName(bytes))
            return ui(sessiontext::pathNotText).arg(shownNativeName(bytes));
    }
    if (journalPath.isEmpty() || QFileInfo(journalPath).isRelative())
        return workingFolderProblem();
    return {};
}

} // namespace

CZephalonteApp::CZephalonteApp(QObject *parent) : QObject(parent)
{
    const Date today = todayDate();
    document_ = std::make_unique<CQuilloxDoc>(today);
    context_ = std::make_unique<JournalContext>(*document_, today);
    printer_ = std::make_unique<AppPrinter>();
    journal_ = std::make_unique<JournalController>(*document_, *context_);
    // The printer follows the paper orientation however it changed (print
    // set-up, undo, redo).
    connect(&context_->editor(), &JournalEditor::edited, this, [this](const Edit &applied) {
        if (applied.graphSettings &&
            applied.graphSettings->before.paperOri != applied.graphSettings->after.paperOri)
            printer_->applyPaperOri(document_->graphSettings().paperOri);
    });
}

CZephalonteApp::~CZephalonteApp() = default;

bool CZephalonteApp::startUp(const QStringList &arguments, const QByteArrayList &nativeArguments)
{
    // A mistyped command line is answered as a command's is, on standard
    // error with the usage, before anything is read or shown.
    const StartupArguments parsed = parseStartupArguments(arguments);
    if (!parsed.error.isEmpty()) {
        const QString report = parsed.error + QLatin1Char('\n') + ui(apptext::usage) +
                               QLatin1Char('\n') + ui(apptext::seeHelp);
        std::fprintf(stderr, "zephalonte: %s\n", report.toLocal8Bit().constData());
        commandLineRefused_ = true;
        return false;
    }

    installJapaneseUserInterface(this);

    terminationSignals_ = new TerminationSignals(this);
    connect(terminationSignals_, &TerminationSignals::received, journal_.get(),
            &JournalController::endOnTerminationSignal);
    connect(qApp, &QGuiApplication::commitDataRequest, journal_.get(),
            [this](QSessionManager &) { journal_->commitSessionData(); });

    // The advisor draws its random choices from the C generator.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    settings_ = openUserProfile();
    const ProfileUsers users = readProfileUsers(*settings_);
    nUser = users.nUser;
    crntUserNum = users.crntUserNum;
    journal_->useProfile(*settings_);
    context_->setProgressOptions(readProgressOptions(*settings_));
    connect(context_.get(), &JournalContext::progressOptionsChanged, this,
            [this] { writeProgressOptions(*settings_, context_->progressOptions()); });

    programDirectory = QCoreApplication::applicationDirPath();
    if (!programDirectory.endsWith(QLatin1Char('/')))
        programDirectory += QLatin1Char('/');

    // A long journal takes about as long to read as the window to build, so
    // the session opens it on a worker meanwhile. The two share nothing until
    // the join: the window's constructor reads neither the session nor the
    // document, and shows the journal only when reportOpened announces it.
    // A name the system spells in bytes that are not UTF-8 would be opened
    // or created under another name: refused before anything is read.
    const QString pathProblem = startupPathProblem(parsed.journalPath, nativeArguments);
    std::future<OpenOutcome> opening;
    if (pathProblem.isEmpty()) {
        opening = std::async(std::launch::async, [this, parsed] {
            return journal_->openAtStartUp(parsed.journalPath, crntUserNum);
        });
    }

    frame_ = std::make_unique<CMainFrame>(*this);
    journal_->setDialogParent(frame_.get());
    connect(journal_.get(), &JournalController::documentPathChanged, frame_.get(),
            &CMainFrame::refreshTitle);
    connect(journal_.get(), &JournalController::recentFilesChanged, frame_.get(),
            &CMainFrame::rebuildRecentFileMenu);
    connect(journal_.get(), &JournalController::statusMessage, frame_.get(),
            &CMainFrame::showStatusMessage);

    if (!pathProblem.isEmpty()) {
        journal_->refuseStart(pathProblem);
        return false;
    }
    if (!journal_->reportOpened(opening.get(), true))
        return false;

    // The size the window returns to when the user restores it from maximised.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize area = screen->availableGeometry().size();
        frame_->resize(area * restoredWindowShare);
    }
    frame_->showMaximized();
    startupComplete = true;
    printer_->applyPaperOri(document_->graphSettings().paperOri);

    journal_->tellWhatTheLastEndLeft();
    return true;
}

QPrinter &CZephalonteApp::printer()
{
    return printer_->printer();
}

void CZephalonteApp::printSetup()
{
    // An edit like any other: it marks the journal modified and can be undone.
    GraphSettings settings = document_->graphSettings();
    settings.paperOri = printer_->runSetup(frame_.get());
    EditBuilder edit(*document_);
    edit.changeGraphSettings(settings);
    context_->editor().apply(edit.take(), ui(edittext::paperOrientation));
}

QString CZephalonteApp::documentTitle() const
{
    return journal_->documentTitle();
}

QStringList CZephalonteApp::recentFiles() const
{
    return journal_->recentFiles();
}
