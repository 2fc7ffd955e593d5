#include "app/czephalonteapp.h"

#include "app/cmainframe.h"
#include "app/cpapersetupdlg.h"
#include "app/damagedcopy.h"
#include "app/frametexts.h"
#include "dialogs/uitext.h"
#include "app/journallock.h"
#include "dialogs/cuserinfodlg.h"
#include "graph/cgraphview.h"
#include "graph/fontsubstitutes.h"
#include "journal/cquilloxdoc.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

CZephalonteApp *currentApp = nullptr;

const QString organisationName = QStringLiteral("Ornavel");
const QString applicationName = QStringLiteral("Zephalonte");
const QString settingsGroup = QStringLiteral("Settings");
const QString nUserKey = QStringLiteral("nUser");
const QString crntUserNumKey = QStringLiteral("crntUserNum");
constexpr int defaultUserNumber = 1;

// Paper orientation as the journal keeps it.
constexpr int paperPortrait = 1;
constexpr int paperLandscape = 2;

constexpr double restoredWindowShare = 0.75;

// How many skipped line numbers a message lists before it only counts the rest.
constexpr std::size_t maxListedLines = 20;

std::string nativePath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString absolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, applicationName, text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton askQuestion(QWidget *parent, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::Question, applicationName, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString cannotOpenText(const QString &path, const QString &reason)
{
    return QStringLiteral("%1 を開けませんでした。\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString cannotStoreText(const QString &path, const QString &reason)
{
    return QStringLiteral("%1 に保存できませんでした。\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString inUseText(const QString &path)
{
    return QStringLiteral("%1 は、ほかに起動している Zephalonte が使用中です。\n"
                          "同じ日誌を二か所で開くと、一方の入力が失われるため、開けません。")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

CZephalonteApp *theApp()
{
    return currentApp;
}

CZephalonteApp::CZephalonteApp(QObject *parent)
    : QObject(parent), selectedDate(todayDate()), document_(std::make_unique<CQuilloxDoc>())
{
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

bool CZephalonteApp::startUp(const QStringList &arguments)
{
    installJapaneseUserInterface();

    // The advisor draws its random choices from the C generator.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            organisationName, applicationName);
    recentFiles_.load(*settings_);
    settings_->beginGroup(settingsGroup);
    nUser = settings_->value(nUserKey, defaultUserNumber).toInt();
    crntUserNum = settings_->value(crntUserNumKey, defaultUserNumber).toInt();
    settings_->endGroup();

    programDirectory = QCoreApplication::applicationDirPath();
    if (!programDirectory.endsWith(QLatin1Char('/')))
        programDirectory += QLatin1Char('/');

    frame_ = std::make_unique<CMainFrame>(*this);

    QString fileArgument;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments.at(i).startsWith(QLatin1Char('-'))) {
            fileArgument = arguments.at(i);
            break;
        }
    }
    const bool loaded =
        fileArgument.isEmpty()
            ? loadJournal(QString::fromStdString(CQuilloxDoc::journalFileName(crntUserNum)),
                          LoadMode::StartupCurrentUser)
            : loadJournal(fileArgument, LoadMode::StartupCommandLine);
    if (!loaded)
        return false;

    // The size the window returns to when the user restores it from maximised.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize area = screen->availableGeometry().size();
        frame_->resize(area * restoredWindowShare);
    }
    frame_->showMaximized();
    startupComplete = true;
    applyPaperOrientation();
    return true;
}

void CZephalonteApp::installJapaneseUserInterface()
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));

    // Qt's own buttons and dialogs (message boxes, file and page set-up
    // dialogs). qtbase holds all of them; the qt_ja catalogue only forwards
    // to it and to modules the program does not use.
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &name : {QStringLiteral("qtbase_ja"), QStringLiteral("qt_ja")}) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(name, directory)) {
            QCoreApplication::installTranslator(translator.get());
            translators_.push_back(std::move(translator));
            break;
        }
    }

    installFontSubstitutes();
}

QString CZephalonteApp::documentTitle() const
{
    if (documentPath_.isEmpty())
        return QStringLiteral("無題");
    return QFileInfo(documentPath_).fileName();
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

bool CZephalonteApp::loadJournal(const QString &path, LoadMode mode)
{
    const QString fullPath = absolutePath(path);
    const bool atStartup = mode != LoadMode::AfterStartup;
    if (!atStartup && fullPath == documentPath_)
        return true; // already open: nothing to reload, nothing to lose

    JournalLockAttempt lock = lockJournal(fullPath);
    if (lock.inUseElsewhere) {
        QString text = inUseText(fullPath);
        if (atStartup) {
            text += QStringLiteral("\n\nZephalonte を終了します。");
            std::fprintf(stderr, "zephalonte: %s\n", text.toLocal8Bit().constData());
        }
        showMessage(dialogParent(), QMessageBox::Warning, text);
        if (!atStartup)
            promptForUserInfoIfUnnamed();
        return false;
    }

    const bool exists = QFileInfo::exists(fullPath);
    JournalLoadResult result;
    if (exists || mode != LoadMode::StartupCurrentUser)
        result = theDocument->readJournal(nativePath(fullPath));

    if (!result.opened) {
        // A current user without a journal yet simply starts from the
        // defaults. Every other failure keeps the program off the file: a
        // journal that exists but cannot be read must not be replaced by an
        // empty one at the next store.
        if (!exists && mode == LoadMode::StartupCurrentUser) {
            adoptPath(fullPath, std::move(lock.lock));
            promptForUserInfoIfUnnamed();
            return true;
        }
        const QString reason = exists ? QString::fromStdString(result.error)
                                      : QStringLiteral("ファイルが見つかりません。");
        QString text = cannotOpenText(fullPath, reason);
        if (atStartup) {
            text += QStringLiteral("\n\nZephalonte を終了します。");
            std::fprintf(stderr, "zephalonte: %s\n", text.toLocal8Bit().constData());
        }
        showMessage(dialogParent(), QMessageBox::Critical, text);
        if (!atStartup) {
            recentFiles_.remove(fullPath);
            saveProfile();
            emit recentFilesChanged();
            promptForUserInfoIfUnnamed();
        }
        return false;
    }

    adoptPath(fullPath, std::move(lock.lock));
    if (!result.skippedLines.empty())
        reportSkippedLines(fullPath, result.skippedLines);
    if (theGraphView)
        theGraphView->invalidatePeriod();
    updateAllViews();
    promptForUserInfoIfUnnamed();
    return true;
}

void CZephalonteApp::adoptPath(const QString &path, std::unique_ptr<QLockFile> lock)
{
    documentPath_ = path;
    journalLock_ = std::move(lock);
    if (!path.isEmpty()) {
        recentFiles_.add(path);
        saveProfile();
        emit recentFilesChanged();
    }
    emit documentPathChanged();
}

void CZephalonteApp::reportSkippedLines(const QString &path, const std::vector<SkippedLine> &lines)
{
    // The copy is made now, before anything can store over the file.
    QString copyError;
    const QString copyPath = keepDamagedCopy(path, QDate::currentDate(), &copyError);

    QStringList numbers;
    for (std::size_t i = 0; i < lines.size() && i < maxListedLines; ++i)
        numbers << QString::number(lines[i].lineNumber);
    QString lineList = numbers.join(QStringLiteral(", "));
    if (lines.size() > maxListedLines)
        lineList += QStringLiteral(" ほか %1 行").arg(lines.size() - maxListedLines);

    QString text =
        QStringLiteral("%1 の次の行は読み取れなかったため、読み込んでいません。\n%2 行目")
            .arg(QDir::toNativeSeparators(path), lineList);
    if (!copyPath.isEmpty())
        text += QStringLiteral("\n\n読み込む前のファイルを %1 として残しました。")
                    .arg(QDir::toNativeSeparators(copyPath));
    else
        text += QStringLiteral("\n\n読み込む前のファイルのコピーを作れませんでした (%1)。\n"
                               "保存すると、これらの行は失われます。")
                    .arg(copyError);
    showMessage(dialogParent(), QMessageBox::Warning, text);
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

bool CZephalonteApp::writeTo(const QString &path, QString *error)
{
    const JournalStoreResult result = theDocument->writeJournal(nativePath(path));
    if (!result.written && error)
        *error = QString::fromStdString(result.error);
    return result.written;
}

QString CZephalonteApp::askSavePath()
{
    const QString start =
        documentPath_.isEmpty() ? QDir::current().absoluteFilePath(documentTitle()) : documentPath_;
    const QString chosen =
        QFileDialog::getSaveFileName(dialogParent(), QString(), start, ui(frametext::fileFilter));
    return chosen.isEmpty() ? QString() : absolutePath(chosen);
}

bool CZephalonteApp::fileSave()
{
    if (documentPath_.isEmpty())
        return fileSaveAs();
    QString error;
    if (!writeTo(documentPath_, &error)) {
        showMessage(dialogParent(), QMessageBox::Critical, cannotStoreText(documentPath_, error));
        return false;
    }
    return true;
}

bool CZephalonteApp::fileSaveAs()
{
    const QString path = askSavePath();
    if (path.isEmpty())
        return false;
    if (path == documentPath_)
        return fileSave();

    JournalLockAttempt lock = lockJournal(path);
    if (lock.inUseElsewhere) {
        showMessage(dialogParent(), QMessageBox::Warning, inUseText(path));
        return false;
    }
    QString error;
    if (!writeTo(path, &error)) {
        showMessage(dialogParent(), QMessageBox::Critical, cannotStoreText(path, error));
        return false;
    }
    adoptPath(path, std::move(lock.lock));
    return true;
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

CZephalonteApp::CloseStore CZephalonteApp::storeBeforeClose()
{
    QString path = documentPath_;
    std::unique_ptr<QLockFile> newLock;
    if (path.isEmpty()) {
        // An untitled journal needs a name first. Cancelling that dialog
        // cancels the close: quitting would drop every entry without a word.
        path = askSavePath();
        if (path.isEmpty())
            return CloseStore::KeepRunning;
        JournalLockAttempt lock = lockJournal(path);
        if (lock.inUseElsewhere) {
            showMessage(dialogParent(), QMessageBox::Warning, inUseText(path));
            return CloseStore::KeepRunning;
        }
        newLock = std::move(lock.lock);
    }

    QString error;
    if (writeTo(path, &error)) {
        if (path != documentPath_)
            adoptPath(path, std::move(newLock));
        return CloseStore::Stored;
    }
    const QString text =
        cannotStoreText(path, error) +
        QStringLiteral("\n\n保存せずに終了しますか？\n"
                       "[いいえ] を選ぶと終了しません。入力したデータはそのまま残ります。");
    const auto answer =
        askQuestion(dialogParent(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes ? CloseStore::QuitUnstored : CloseStore::KeepRunning;
}

void CZephalonteApp::saveProfile()
{
    // Only the recent-file list: the program never writes nUser or crntUserNum.
    if (!settings_)
        return;
    recentFiles_.save(*settings_);
    settings_->sync();
}

// ---- file commands ----

void CZephalonteApp::fileNew()
{
    if (!saveModified())
        return;
    theDocument->clearDays();
    adoptPath(QString(), nullptr);
    if (theGraphView)
        theGraphView->invalidatePeriod();
    updateAllViews();
}

void CZephalonteApp::fileOpen()
{
    const QString start = documentPath_.isEmpty() ? QDir::currentPath() : documentPath_;
    const QString path =
        QFileDialog::getOpenFileName(dialogParent(), QString(), start, ui(frametext::fileFilter));
    if (path.isEmpty())
        return;
    if (absolutePath(path) == documentPath_ || !saveModified())
        return;
    openJournal(path);
}

void CZephalonteApp::openRecentFile(int index)
{
    const QStringList entries = recentFiles_.entries();
    if (index < 0 || index >= entries.size())
        return;
    const QString path = entries.at(index);
    if (path == documentPath_ || !saveModified())
        return;
    openJournal(path);
}

bool CZephalonteApp::openJournal(const QString &path)
{
    return loadJournal(path, LoadMode::AfterStartup);
}

// ---- printer ----

QPrinter &CZephalonteApp::printer()
{
    // Made on first use: looking up the system's printers costs start-up time
    // the window does not need.
    if (!printer_) {
        // Printer resolution, not the screen's: the graph's thin lines and
        // text would otherwise print coarse.
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (printerOrientationSet_)
            printer_->setPageOrientation(printerOrientation_);
    }
    return *printer_;
}

void CZephalonteApp::applyPaperOrientation()
{
    const int paperOri = theDocument->graphSettings.paperOri;
    if (paperOri != paperPortrait && paperOri != paperLandscape)
        return;
    printerOrientation_ =
        paperOri == paperPortrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    printerOrientationSet_ = true;
    if (printer_)
        printer_->setPageOrientation(printerOrientation_);
}

void CZephalonteApp::printSetup()
{
    QPrinter &target = printer();
    if (target.outputFormat() == QPrinter::NativeFormat) {
        QPageSetupDialog dialog(&target, dialogParent());
        dialog.exec();
    } else {
        CPaperSetupDlg dialog(target.pageLayout(), dialogParent());
        if (dialog.exec() == QDialog::Accepted)
            target.setPageLayout(dialog.pageLayout());
    }
    // Read back whether confirmed or cancelled; the modified flag stays: the
    // value reaches the file at the next store.
    printerOrientation_ = target.pageLayout().orientation();
    printerOrientationSet_ = true;
    theDocument->graphSettings.paperOri = static_cast<std::int16_t>(
        printerOrientation_ == QPageLayout::Portrait ? paperPortrait : paperLandscape);
}
