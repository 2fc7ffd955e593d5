#include "app/czephalonteapp.h"

#include "app/appprinter.h"
#include "app/apptexts.h"
#include "app/cmainframe.h"
#include "app/commandline.h"
#include "app/frametexts.h"
#include "dialogs/cuserinfodlg.h"
#include "dialogs/uitext.h"
#include "graph/cgraphview.h"
#include "journal/cquilloxdoc.h"
#include "session/journalsession.h"
#include "session/pathnames.h"
#include "session/sessionmessages.h"
#include "session/sessiontexts.h"
#include "session/userprofile.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

CZephalonteApp *currentApp = nullptr;

constexpr double restoredWindowShare = 0.75;

void showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, ui(applicationTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton askQuestion(QWidget *parent, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::Question, ui(applicationTitle), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
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

CZephalonteApp *theApp()
{
    return currentApp;
}

CZephalonteApp::CZephalonteApp(QObject *parent) : QObject(parent)
{
    const Date today = todayDate();
    selectedDate = today;
    document_ = std::make_unique<CQuilloxDoc>(today);
    printer_ = std::make_unique<AppPrinter>();
    currentApp = this;
    theDocument = document_.get();
}

CZephalonteApp::~CZephalonteApp()
{
    // The panes unregister themselves through theApp() while they go.
    frame_.reset();
    if (currentApp == this)
        currentApp = nullptr;
}

bool CZephalonteApp::startUp(const QStringList &arguments, const QByteArrayList &nativeArguments)
{
    installJapaneseUserInterface(this);

    // The advisor draws its random choices from the C generator.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    settings_ = openUserProfile();
    const ProfileUsers users = readProfileUsers(*settings_);
    nUser = users.nUser;
    crntUserNum = users.crntUserNum;
    session_ = std::make_unique<JournalSession>(*document_, settings_.get());

    programDirectory = QCoreApplication::applicationDirPath();
    if (!programDirectory.endsWith(QLatin1Char('/')))
        programDirectory += QLatin1Char('/');

    frame_ = std::make_unique<CMainFrame>(*this);

    const StartupArguments parsed = parseStartupArguments(arguments);
    if (!parsed.error.isEmpty()) {
        refuseStart(parsed.error);
        return false;
    }
    if (const QString problem = startupPathProblem(parsed.journalPath, nativeArguments);
        !problem.isEmpty()) {
        refuseStart(problem);
        return false;
    }
    const OpenOutcome opened =
        parsed.journalPath.isEmpty()
            ? session_->open(QString::fromStdString(CQuilloxDoc::journalFileName(crntUserNum)),
                             JournalSession::OpenMode::currentUser, todayDate())
            : session_->open(parsed.journalPath, JournalSession::OpenMode::named, todayDate());
    if (!reportOpened(opened, true))
        return false;

    // The size the window returns to when the user restores it from maximised.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize area = screen->availableGeometry().size();
        frame_->resize(area * restoredWindowShare);
    }
    frame_->showMaximized();
    startupComplete = true;
    printer_->applyPaperOri(theDocument->graphSettings.paperOri);
    return true;
}

void CZephalonteApp::refuseStart(const QString &text)
{
    const QString report = text + ui(apptext::startupEnds);
    std::fprintf(stderr, "zephalonte: %s\n", report.toLocal8Bit().constData());
    showMessage(dialogParent(), QMessageBox::Critical, report);
}

QString CZephalonteApp::documentPath() const
{
    return session_ ? session_->path() : QString();
}

QString CZephalonteApp::documentTitle() const
{
    return session_ ? session_->title() : QString();
}

QStringList CZephalonteApp::recentFiles() const
{
    return session_ ? session_->recentFiles() : QStringList();
}

void CZephalonteApp::updateAllViews(QObject *sender)
{
    emit documentUpdated(sender);
}

void CZephalonteApp::setGraphPeriod(int nDays)
{
    theDocument->setGraphPeriod(nDays);
    if (theGraphView)
        theGraphView->invalidatePeriod();
    updateAllViews();
}

QWidget *CZephalonteApp::dialogParent() const
{
    return frame_.get();
}

// ---- loading ----

bool CZephalonteApp::reportOpened(const OpenOutcome &outcome, bool atStartup)
{
    // A failed load drops the file from the recent list.
    emit recentFilesChanged();
    if (outcome.status == OpenOutcome::Status::alreadyOpen)
        return true; // nothing reloaded, nothing to lose
    if (outcome.status == OpenOutcome::Status::failed) {
        // No prompt for a profile that would be thrown away with the program.
        if (atStartup) {
            refuseStart(openFailureMessage(outcome));
            return false;
        }
        showMessage(dialogParent(), QMessageBox::Critical, openFailureMessage(outcome));
        promptForUserInfoIfUnnamed();
        return false;
    }
    emit documentPathChanged();
    if (outcome.damaged())
        showMessage(dialogParent(), QMessageBox::Warning, skippedLinesMessage(outcome));
    if (theGraphView)
        theGraphView->invalidatePeriod();
    updateAllViews();
    promptForUserInfoIfUnnamed();
    return true;
}

bool CZephalonteApp::openJournal(const QString &path)
{
    return reportOpened(session_->open(path, JournalSession::OpenMode::named, todayDate()), false);
}

void CZephalonteApp::promptForUserInfoIfUnnamed()
{
    if (!theDocument->userInfo.name.empty())
        return;
    showMessage(dialogParent(), QMessageBox::Information, ui(frametext::userInfoPrompt));
    editUserInfo();
}

void CZephalonteApp::editUserInfo()
{
    if (CUserInfoDlg::editDocument(*theDocument, dialogParent()))
        updateAllViews();
}

// ---- storing ----

bool CZephalonteApp::reportStored(const StoreOutcome &outcome)
{
    if (!outcome.stored) {
        showMessage(dialogParent(), QMessageBox::Critical, storeFailureMessage(outcome));
        return false;
    }
    if (outcome.backupFailure.failed())
        emit statusMessage(backupWarningMessage(outcome));
    return true;
}

QString CZephalonteApp::askSavePath()
{
    const QString start = session_->hasPath() ? session_->path()
                                              : QDir::current().absoluteFilePath(session_->title());
    const QString chosen =
        QFileDialog::getSaveFileName(dialogParent(), QString(), start, ui(frametext::fileFilter));
    return chosen.isEmpty() ? QString() : JournalSession::fullPath(chosen);
}

bool CZephalonteApp::fileSave()
{
    if (!session_->hasPath())
        return fileSaveAs();
    return reportStored(session_->store());
}

bool CZephalonteApp::fileSaveAs()
{
    const QString path = askSavePath();
    if (path.isEmpty())
        return false;
    const QString before = session_->path();
    const bool stored = reportStored(session_->storeAs(path));
    if (session_->path() != before) {
        emit documentPathChanged();
        emit recentFilesChanged();
    }
    return stored;
}

bool CZephalonteApp::saveModified()
{
    if (!theDocument->isModified())
        return true;
    const auto answer =
        askQuestion(dialogParent(), ui(frametext::saveChangesQuestion).arg(documentTitle()),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return fileSave();
    return answer == QMessageBox::No;
}

CZephalonteApp::CloseStoreResult CZephalonteApp::storeBeforeClose()
{
    const QString before = session_->path();
    StoreOutcome outcome;
    if (session_->hasPath()) {
        outcome = session_->store();
    } else {
        // An untitled journal needs a name first. Cancelling that dialog
        // cancels the close: quitting would drop every entry without a word.
        const QString path = askSavePath();
        if (path.isEmpty())
            return {CloseStore::KeepRunning, QString()};
        outcome = session_->storeAs(path);
    }
    if (session_->path() != before) {
        emit documentPathChanged();
        emit recentFilesChanged();
    }
    if (outcome.stored) {
        return {CloseStore::Stored,
                outcome.backupFailure.failed() ? backupWarningMessage(outcome) : QString()};
    }
    const QString text = storeFailureMessage(outcome) + ui(apptext::quitWithoutStoring);
    const auto answer =
        askQuestion(dialogParent(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return {answer == QMessageBox::Yes ? CloseStore::QuitUnstored : CloseStore::KeepRunning,
            QString()};
}

// ---- file commands ----

void CZephalonteApp::fileNew()
{
    if (!saveModified())
        return;
    session_->startUntitled();
    emit documentPathChanged();
    if (theGraphView)
        theGraphView->invalidatePeriod();
    updateAllViews();
}

void CZephalonteApp::fileOpen()
{
    const QString start = session_->hasPath() ? session_->path() : QDir::currentPath();
    const QString path =
        QFileDialog::getOpenFileName(dialogParent(), QString(), start, ui(frametext::fileFilter));
    if (path.isEmpty())
        return;
    if (JournalSession::fullPath(path) == session_->path() || !saveModified())
        return;
    openJournal(path);
}

void CZephalonteApp::openRecentFile(int index)
{
    const QStringList entries = session_->recentFiles();
    if (index < 0 || index >= entries.size())
        return;
    const QString path = entries.at(index);
    if (path == session_->path() || !saveModified())
        return;
    openJournal(path);
}

// ---- printer ----

QPrinter &CZephalonteApp::printer()
{
    return printer_->printer();
}

void CZephalonteApp::printSetup()
{
    // The modified flag stays: the value reaches the file at the next store.
    theDocument->graphSettings.paperOri = printer_->runSetup(dialogParent());
}
