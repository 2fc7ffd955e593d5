#include "app/journalcontroller.h"

#include "app/apptexts.h"
#include "app/frametexts.h"
#include "dialogs/cuserinfodlg.h"
#include "journal/cquilloxdoc.h"
#include "journal/merge.h"
#include "pane/edittexts.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"
#include "qttext/uitext.h"
#include "session/editlogwriter.h"
#include "session/journalsession.h"
#include "session/journalwatcher.h"
#include "session/keptcopy.h"
#include "session/pathnames.h"
#include "session/rescuefolder.h"
#include "session/sessionmessages.h"
#include "session/sessiontexts.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// The controller of the running window, for the store at exit(): Qt ends
// the program with exit() when the display's connection breaks, without
// returning from the event loop.
JournalController *liveController = nullptr;

void storeAtExit()
{
    if (liveController)
        liveController->storeAtLostDisplay();
}

// The profile key naming the file an untitled journal was written to when
// the program was ended from outside, until the next start has said so.
constexpr char untitledSavedKey[] = "Settings/untitledSavedAs";

// Where an untitled journal goes when the program is ended from outside.
QString untitledRescuePath(const QDateTime &when)
{
    return firstFreeName(QDir::current().absoluteFilePath(
        QStringLiteral("zph-untitled-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss")) +
        QStringLiteral(".txt")));
}

void closeModalWindows()
{
    // Innermost first: a message box above a dialog goes before the dialog.
    // What was typed in a dialog is dropped, as on Cancel.
    while (QWidget *modal = QApplication::activeModalWidget()) {
        auto *dialog = qobject_cast<QDialog *>(modal);
        if (!dialog)
            break;
        dialog->reject();
        if (dialog->isVisible())
            dialog->hide();
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible())
            dialog->reject();
    }
}

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

// The days a recovery file would change, for the question: those its edits
// touch, or those an earlier release's text holds differently.
std::vector<Date> recoveredDays(const RecoveryFile &recovery, const CQuilloxDoc &journal)
{
    Edit change = recovery.composed;
    if (recovery.state == RecoveryFile::State::wholeJournal) {
        CQuilloxDoc recovered;
        recovered.loadJournalText(recovery.bytes, todayDate());
        change = planReplay(journal, takingDaysOf(journal, recovered)).edit;
    }
    std::vector<Date> days;
    for (const DayChange &day : change.days)
        days.push_back(day.date);
    return days;
}

} // namespace

JournalController::JournalController(CQuilloxDoc &document, JournalContext &context,
                                     QObject *parent)
    : QObject(parent), document_(document), context_(context),
      editLog_(std::make_unique<EditLogWriter>()), watcher_(std::make_unique<JournalWatcher>())
{
    // The editor hands every edit to the log itself, before it returns.
    context_.editor().setRecorder(editLog_.get());
    editLog_->setTroubleListener([this](const EditLogWriter::Trouble &trouble) {
        // Said at once and at every edit after, until a write succeeds.
        logTrouble_ =
            trouble.failing
                ? ui(apptext::recoveryWriteFailed)
                      .arg(QDir::toNativeSeparators(QFile::decodeName(editLog_->path().c_str())),
                           QString::fromLocal8Bit(trouble.systemReason.c_str()))
                : QString();
        emit statusMessage(logTrouble_);
        // The journal's folder has gone: the edits since are in no file
        // until a store puts the journal into a rescue file. Once per streak,
        // and after the edit that met it has returned.
        const bool folderGone = trouble.failing && trouble.problem == FileProblem::notFound;
        if (folderGone && !rescueStoreQueued_) {
            rescueStoreQueued_ = true;
            QTimer::singleShot(0, this, [this] {
                if (journalLoaded_ && !terminating_ && session_->hasPath() && !session_->readOnly())
                    reportStored(storeJournal());
            });
        }
        if (!trouble.failing)
            rescueStoreQueued_ = false;
    });
    connect(watcher_.get(), &JournalWatcher::settled, this, &JournalController::checkJournalOnDisk);
    connect(&context_.editor(), &JournalEditor::refused, this,
            [this] { emit statusMessage(ui(apptext::refusedReadOnly)); });
    connect(&context_.editor(), &JournalEditor::edited, this, [this] {
        if (!logTrouble_.isEmpty())
            emit statusMessage(logTrouble_);
    });
    connect(this, &JournalController::documentPathChanged, this,
            &JournalController::followSessionPath);
    [[maybe_unused]] static const bool storeAtExitRegistered = std::atexit(storeAtExit) == 0;
    liveController = this;
}

JournalController::~JournalController()
{
    if (liveController == this)
        liveController = nullptr;
}

void JournalController::storeAtLostDisplay()
{
    if (!journalLoaded_ || terminating_ || !document_.isModified())
        return;
    // Nothing may be asked or shown any more: as at a termination signal.
    terminating_ = true;
    if (!storeUnattended())
        editLog_->syncNow();
}

void JournalController::useProfile(QSettings &profile)
{
    profile_ = &profile;
    session_ = std::make_unique<JournalSession>(document_, profile_);
}

OpenOutcome JournalController::openAtStartUp(const QString &namedPath, int userNumber)
{
    return namedPath.isEmpty()
               ? session_->open(QString::fromStdString(CQuilloxDoc::journalFileName(userNumber)),
                                JournalSession::OpenMode::currentUser, todayDate())
               : session_->open(namedPath, JournalSession::OpenMode::named, todayDate());
}

void JournalController::tellWhatTheLastEndLeft()
{
    const QString untitledSaved = profile_->value(QLatin1String(untitledSavedKey)).toString();
    if (!untitledSaved.isEmpty()) {
        emit statusMessage(ui(apptext::untitledSaved).arg(QDir::toNativeSeparators(untitledSaved)));
        profile_->remove(QLatin1String(untitledSavedKey));
        profile_->sync();
    }
    // Stores whose folder had gone, in an earlier session or by zeph.
    if (const QStringList rescued = takeRescueNotices(); !rescued.isEmpty())
        showMessage(dialogParent_, QMessageBox::Information, rescueFilesWaitingMessage(rescued));
}

QString JournalController::documentPath() const
{
    return session_ ? session_->path() : QString();
}

QString JournalController::documentTitle() const
{
    if (!session_)
        return QString();
    return session_->readOnly() ? session_->title() + ui(apptext::readOnlyMark) : session_->title();
}

QStringList JournalController::recentFiles() const
{
    return session_ ? session_->recentFiles() : QStringList();
}

bool JournalController::reportOpened(const OpenOutcome &outcome, bool atStartup)
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
        showMessage(dialogParent_, QMessageBox::Critical, openFailureMessage(outcome));
        promptForUserInfoIfUnnamed();
        return false;
    }
    journalLoaded_ = true;
    // What was done to the journal before cannot be undone into this one.
    context_.editor().clearHistory();
    emit documentPathChanged();
    if (outcome.damaged())
        showMessage(dialogParent_, QMessageBox::Warning, skippedLinesMessage(outcome));
    // First, so that what the restore says comes after it.
    tellConflictCopies();
    if (session_->readOnly()) {
        // A log found now is left for a session that holds the lock.
        followSessionPath();
        showMessage(dialogParent_, QMessageBox::Warning, readOnlyText());
    } else {
        offerRecovery();
    }
    context_.resetGraphPeriod();
    context_.updateAllViews();
    promptForUserInfoIfUnnamed();
    return true;
}

bool JournalController::openJournal(const QString &path)
{
    return reportOpened(session_->open(path, JournalSession::OpenMode::named, todayDate()), false);
}

void JournalController::promptForUserInfoIfUnnamed()
{
    // A journal only read cannot take a name: asking would lead nowhere.
    if (!document_.userInfo().name.empty() || context_.editor().readOnly())
        return;
    showMessage(dialogParent_, QMessageBox::Information, ui(frametext::userInfoPrompt));
    editUserInfo();
}

void JournalController::editUserInfo()
{
    context_.editor().apply(
        CUserInfoDlg::askForEdit(document_, dialogParent_, context_.editor().readOnly()),
        ui(edittext::userInfo));
}

bool JournalController::reportStored(const StoreOutcome &outcome)
{
    if (!outcome.stored) {
        showMessage(dialogParent_, QMessageBox::Critical, storeFailureMessage(outcome));
        return false;
    }
    if (outcome.backupFailure.failed())
        emit statusMessage(backupWarningMessage(outcome));
    if (!outcome.conflictCopyPath.isEmpty()) {
        emit statusMessage(conflictCopyMessage(outcome));
        showMessage(dialogParent_, QMessageBox::Information, conflictCopyMessage(outcome));
    }
    if (!outcome.rescuePath.isEmpty()) {
        emit statusMessage(QString(rescueStoredMessage(outcome)).replace(u'\n', u' '));
        showMessage(dialogParent_, QMessageBox::Warning, rescueStoredMessage(outcome));
    }
    return true;
}

QString JournalController::askSavePath()
{
    const QString start = session_->hasPath() ? session_->path()
                                              : QDir::current().absoluteFilePath(session_->title());
    const QString chosen =
        QFileDialog::getSaveFileName(dialogParent_, QString(), start, ui(frametext::fileFilter));
    return chosen.isEmpty() ? QString() : JournalSession::fullPath(chosen);
}

bool JournalController::fileSave()
{
    if (!session_->hasPath())
        return fileSaveAs();
    // Only read: another copy may hold the journal; Save As elsewhere may.
    if (session_->readOnly()) {
        showMessage(dialogParent_, QMessageBox::Information, readOnlyText());
        return false;
    }
    return reportStored(storeJournal());
}

bool JournalController::fileSaveAs()
{
    const QString path = askSavePath();
    if (path.isEmpty())
        return false;
    return reportStored(storeJournal(path));
}

bool JournalController::saveModified()
{
    if (!document_.isModified())
        return true;
    const auto answer =
        askQuestion(dialogParent_, ui(frametext::saveChangesQuestion).arg(documentTitle()),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return fileSave();
    if (answer != QMessageBox::No)
        return false;
    // The user dropped the changes: so does the edit log.
    startEditLogOver();
    return true;
}

FrameCommands::CloseStoreResult JournalController::storeBeforeClose()
{
    StoreOutcome outcome;
    if (session_->hasPath()) {
        outcome = storeJournal();
    } else {
        // An untitled journal needs a name first. Cancelling that dialog
        // cancels the close: quitting would drop every entry without a word.
        const QString path = askSavePath();
        if (path.isEmpty())
            return {FrameCommands::CloseStore::KeepRunning, QString()};
        outcome = storeJournal(path);
    }
    if (outcome.stored) {
        QStringList notes;
        if (outcome.backupFailure.failed())
            notes << backupWarningMessage(outcome);
        if (!outcome.conflictCopyPath.isEmpty())
            notes << conflictCopyMessage(outcome);
        if (!outcome.rescuePath.isEmpty())
            notes << rescueStoredMessage(outcome);
        return {FrameCommands::CloseStore::Stored, notes.join(QStringLiteral("\n\n"))};
    }
    const QString text = storeFailureMessage(outcome) + ui(apptext::quitWithoutStoring);
    const auto answer =
        askQuestion(dialogParent_, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return {answer == QMessageBox::Yes ? FrameCommands::CloseStore::QuitUnstored
                                       : FrameCommands::CloseStore::KeepRunning,
            QString()};
}

void JournalController::fileNew()
{
    if (!saveModified())
        return;
    session_->startUntitled();
    context_.editor().clearHistory();
    emit documentPathChanged();
    context_.resetGraphPeriod();
    context_.updateAllViews();
}

void JournalController::fileOpen()
{
    const QString start = session_->hasPath() ? session_->path() : QDir::currentPath();
    const QString path =
        QFileDialog::getOpenFileName(dialogParent_, QString(), start, ui(frametext::fileFilter));
    if (path.isEmpty())
        return;
    if (JournalSession::fullPath(path) == session_->path() || !saveModified())
        return;
    openJournal(path);
}

void JournalController::openRecentFile(int index)
{
    const QStringList entries = session_->recentFiles();
    if (index < 0 || index >= entries.size())
        return;
    const QString path = entries.at(index);
    if (path == session_->path() || !saveModified())
        return;
    openJournal(path);
}

void JournalController::tellConflictCopies()
{
    if (!session_->hasPath())
        return;
    const QFileInfo journal(session_->path());
    const QFileInfoList copies = QDir(journal.path())
                                     .entryInfoList({journal.fileName() + QStringLiteral(".") +
                                                     keptcopykind::conflict + QStringLiteral("-*")},
                                                    QDir::Files, QDir::Time);
    if (!copies.isEmpty())
        emit statusMessage(
            ui(apptext::conflictCopiesBeside).arg(copies.size()).arg(copies.front().fileName()));
}

void JournalController::mergeOtherJournal(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    std::string bytes;
    std::string error;
    FileProblem problem = FileProblem::none;
    if (!readFileBytes(nativePath(path), bytes, error, &problem)) {
        showMessage(dialogParent_, QMessageBox::Warning,
                    ui(apptext::mergeReadFailed)
                        .arg(shown, reasonText({problem, false, QString::fromLocal8Bit(error)})));
        return;
    }
    // A version that does not load cleanly would look like one lacking days.
    CQuilloxDoc other(todayDate());
    std::vector<std::size_t> altered;
    if (!looksLikeWholeJournal(bytes) ||
        !other.loadJournalText(bytes, todayDate(), &altered).empty() || !altered.empty()) {
        showMessage(dialogParent_, QMessageBox::Warning, ui(apptext::mergeNotWhole).arg(shown));
        return;
    }
    const MergePlan plan = planTwoWayMerge(document_, other);
    context_.editor().apply(plan.edit, ui(edittext::mergeOtherJournal));
    context_.updateAllViews();
    const QString taken = QString::number(plan.edit.days.size());
    if (plan.conflicts.empty()) {
        emit statusMessage(ui(apptext::mergeDone).arg(shown, taken));
        return;
    }
    const QString text =
        ui(apptext::mergeConflicts).arg(shown, taken, conflictList(plan.conflicts));
    emit statusMessage(QString(text).replace(u'\n', u' '));
    showMessage(dialogParent_, QMessageBox::Information, text);
}

void JournalController::followSessionPath()
{
    session_->pointEditLog(*editLog_);
    watcher_->watch(session_->path());
    context_.editor().setReadOnly(session_->readOnly());
}

StoreOutcome JournalController::storeJournal(const QString &newPath)
{
    // Another program's version is met at every store, whatever the
    // watcher has or has not noticed yet.
    if (newPath.isEmpty() || JournalSession::fullPath(newPath) == session_->path())
        meetDiskVersion();
    const QString before = session_->path();
    const StoreOutcome outcome = newPath.isEmpty() ? session_->store() : session_->storeAs(newPath);
    if (outcome.stored) {
        context_.editor().markStored();
        // A new name (Save As, a renamed folder followed, a rescue file)
        // takes its own log; the old name's went with the store.
        if (session_->path() != before) {
            emit documentPathChanged();
            emit recentFilesChanged();
        } else {
            followSessionPath();
        }
        startEditLogOver();
    } else {
        emit recentFilesChanged(); // a journal whose folder went leaves the list
    }
    return outcome;
}

QString JournalController::readOnlyText() const
{
    return ui(apptext::openedReadOnly)
        .arg(QDir::toNativeSeparators(session_->path()), session_->lockFailureReason());
}

void JournalController::startEditLogOver()
{
    editLog_->startOver(session_->editLogHeader());
}

void JournalController::offerRecovery()
{
    const RecoveryFile recovery = session_->findRecovery();
    const QString shown = QDir::toNativeSeparators(recovery.path);
    switch (recovery.state) {
    case RecoveryFile::State::none:
        followSessionPath();
        return;
    case RecoveryFile::State::unreadable:
        // It stays unresolved: nothing is written over it, and the edits it
        // may hold are kept until the user has looked at it. This session's
        // edits are logged in the rescue folder meanwhile.
        followSessionPath();
        showMessage(
            dialogParent_, QMessageBox::Warning,
            recoveryUnreadableMessage(recovery, QFile::decodeName(editLog_->path().c_str())));
        return;
    case RecoveryFile::State::foreign:
    case RecoveryFile::State::editLog:
    case RecoveryFile::State::wholeJournal:
        break;
    }
    bool restore = false;
    if (recovery.state != RecoveryFile::State::foreign) {
        QString question = ui(apptext::recoveryQuestion);
        if (const QString days = daysLine(recoveredDays(recovery, document_)); !days.isEmpty())
            question += QLatin1Char('\n') + days;
        const auto answer = askQuestion(dialogParent_, question, QMessageBox::Yes | QMessageBox::No,
                                        QMessageBox::Yes);
        // Ended from outside while asking: the file stays for the next start.
        if (terminating_)
            return;
        restore = answer == QMessageBox::Yes;
    }
    if (restore) {
        restoreRecovery(recovery);
        return;
    }
    // Never applied (another journal's log, or the user said No): kept, visible.
    SessionFailure failure;
    const QString aside = session_->setRecoveryAside(todayDate(), failure);
    if (aside.isEmpty()) {
        showMessage(dialogParent_, QMessageBox::Warning,
                    ui(apptext::recoverySetAsideFailed).arg(shown, reasonText(failure)));
        return;
    }
    followSessionPath();
    const QString told =
        ui(recovery.state == RecoveryFile::State::foreign ? apptext::recoveryOfAnotherJournal
                                                          : apptext::recoverySetAside)
            .arg(QDir::toNativeSeparators(aside));
    if (recovery.state == RecoveryFile::State::foreign)
        showMessage(dialogParent_, QMessageBox::Information, told);
    emit statusMessage(told);
}

void JournalController::restoreRecovery(const RecoveryFile &recovery)
{
    Edit change = recovery.composed;
    OpenOutcome restored;
    if (recovery.state == RecoveryFile::State::wholeJournal) {
        // An earlier release's whole text: merged by day, its days winning.
        CQuilloxDoc recovered;
        restored = session_->restoreRecovery(recovery, todayDate(), recovered);
        change = takingDaysOf(document_, recovered);
    }
    const MergePlan plan = planReplay(document_, change);
    QString conflictCopy;
    if (!plan.conflicts.empty()) {
        // The journal's values the replay puts other values over.
        SessionFailure failure;
        conflictCopy = session_->keepConflictCopy(failure);
        if (failure.failed()) {
            showMessage(dialogParent_, QMessageBox::Warning,
                        ui(apptext::recoveryConflictNotKept)
                            .arg(QDir::toNativeSeparators(recovery.path), reasonText(failure)));
            return; // unresolved: the log stays as it is for the next start
        }
    }
    // The log is the journal's again: the replay is its first record, so
    // that the edits are never in no file.
    session_->markRecoveryResolved();
    followSessionPath();
    // One step, so that the user can look at the journal without it too.
    // A log that holds nothing new has done its work.
    if (!context_.editor().apply(plan.edit, ui(edittext::restoreUnsaved)))
        startEditLogOver();
    if (restored.damaged())
        showMessage(dialogParent_, QMessageBox::Warning, skippedLinesMessage(restored));
    if (!conflictCopy.isEmpty())
        showMessage(dialogParent_, QMessageBox::Information,
                    ui(apptext::recoveryConflicts)
                        .arg(QDir::toNativeSeparators(conflictCopy), conflictList(plan.conflicts)));
}

void JournalController::checkJournalOnDisk()
{
    if (!journalLoaded_ || terminating_ || !session_->hasPath())
        return;
    // A dialog open now would write its copy of the old profile back over
    // what is read: look again once it is closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(JournalWatcher::settleMs, this, &JournalController::checkJournalOnDisk);
        return;
    }
    meetDiskVersion();
}

bool JournalController::meetDiskVersion()
{
    if (!session_->hasPath())
        return true;
    if (session_->readOnly()) {
        // Nothing of the window's own to keep: another program's version
        // that loads is simply read.
        if (session_->changedOnDisk()) {
            const std::int32_t shownDays = document_.graphSettings().graphNDays;
            if (session_->reload(todayDate()).status == OpenOutcome::Status::opened) {
                document_.setGraphPeriod(shownDays);
                context_.editor().clearHistory();
                context_.updateAllViews();
            }
        }
        return true;
    }
    const DiskVersion version = session_->lookAtDisk(todayDate());
    const QString shown = QDir::toNativeSeparators(session_->path());
    switch (version.kind) {
    case DiskVersion::Kind::same:
        return true;
    case DiskVersion::Kind::notWhole:
    case DiskVersion::Kind::damaged:
        // Not taken: the window keeps its days; the store keeps those bytes
        // as a conflict copy, and never as the .bak.
        if (!untakenTold_) {
            untakenTold_ = true;
            const QString text = ui(apptext::diskVersionNotTaken).arg(shown);
            emit statusMessage(QString(text).replace(u'\n', u' '));
            if (!terminating_)
                showMessage(dialogParent_, QMessageBox::Warning, text);
        }
        return true;
    case DiskVersion::Kind::lacksDays:
    case DiskVersion::Kind::clean:
        break;
    }
    QStringList told;
    if (version.kind == DiskVersion::Kind::lacksDays) {
        SessionFailure failure;
        const QString copy = session_->keepBaseAsConflictCopy(failure);
        if (copy.isEmpty()) {
            emit statusMessage(ui(apptext::diskVersionCopyFailed).arg(shown, reasonText(failure)));
            return false;
        }
        told << ui(apptext::diskVersionLacksDays)
                    .arg(shown)
                    .arg(version.missingDays)
                    .arg(QDir::toNativeSeparators(copy));
    }
    // The window's unsaved edits (its document against the base) replayed
    // onto the other version with the one rule; where both changed, the
    // window's value stays and the other version is kept as a copy.
    const CQuilloxDoc base = session_->baseDocument(todayDate());
    CQuilloxDoc merged = *version.document;
    const MergePlan plan = planThreeWayMerge(base, document_, merged);
    if (!plan.conflicts.empty()) {
        SessionFailure failure;
        const QString copy = session_->keepConflictCopyOf(version.bytes, failure);
        if (copy.isEmpty()) {
            emit statusMessage(ui(apptext::diskVersionCopyFailed).arg(shown, reasonText(failure)));
            return false;
        }
        told << ui(apptext::diskVersionConflicts)
                    .arg(shown, QDir::toNativeSeparators(copy), conflictList(plan.conflicts));
    }
    merged.applyEdit(plan.edit);
    const Edit unsaved = plan.edit; // what the window holds beyond the new base

    // One step of the history, undone like any other; the log starts over on
    // the new base with the unsaved edits as its first record, replacing the
    // old log only once it holds them.
    JournalEditor &editor = context_.editor();
    editor.setRecorder(nullptr);
    editor.apply(differenceBetween(document_, merged), ui(edittext::otherProgramsChanges));
    editor.setRecorder(editLog_.get());
    session_->adoptDiskVersion(version);
    untakenTold_ = false;
    if (unsaved.empty()) {
        editor.markStored();
        startEditLogOver();
    } else {
        editLog_->rebase(session_->editLogHeader());
        editLog_->record(unsaved);
        editor.markUnstored();
    }
    context_.updateAllViews();
    if (told.isEmpty()) {
        emit statusMessage(ui(apptext::diskVersionMerged).arg(shown));
    } else {
        emit statusMessage(told.join(u' ').replace(u'\n', u' '));
        if (!terminating_)
            showMessage(dialogParent_, QMessageBox::Information, told.join(QStringLiteral("\n\n")));
    }
    return true;
}

bool JournalController::storeUnattended()
{
    if (session_->readOnly())
        return true; // nothing was changed, and nothing may be written
    StoreOutcome outcome;
    if (session_->hasPath()) {
        outcome = storeJournal();
    } else {
        outcome = storeJournal(untitledRescuePath(QDateTime::currentDateTime()));
        if (outcome.stored) {
            profile_->setValue(QLatin1String(untitledSavedKey), outcome.path);
            profile_->sync();
        }
    }
    if (!outcome.stored) {
        std::fprintf(stderr, "zephalonte: %s\n",
                     storeFailureMessage(outcome).toLocal8Bit().constData());
        return false;
    }
    for (const QString &text :
         {outcome.conflictCopyPath.isEmpty() ? QString() : conflictCopyMessage(outcome),
          outcome.rescuePath.isEmpty() ? QString() : rescueStoredMessage(outcome)}) {
        if (text.isEmpty())
            continue;
        std::fprintf(stderr, "zephalonte: %s\n", text.toLocal8Bit().constData());
        emit statusMessage(QString(text).replace(u'\n', u' '));
    }
    return true;
}

void JournalController::endOnTerminationSignal()
{
    if (terminating_)
        return;
    terminating_ = true;
    closeModalWindows();
    terminationExitCode_ = 0;
    if (journalLoaded_ && !storeUnattended()) {
        // The edit log keeps what the journal could not take.
        editLog_->syncNow();
        terminationExitCode_ = 1;
    }
    // Ends every event loop, also those of dialogs still unwinding; a dialog
    // opened after this returns at once.
    QCoreApplication::exit(terminationExitCode_);
}

void JournalController::commitSessionData()
{
    // A dialog open now keeps its values to itself until OK: what the
    // document holds is stored, and the dialog stays open.
    if (journalLoaded_ && !terminating_)
        storeUnattended();
}

void JournalController::refuseStart(const QString &text)
{
    const QString report = text + ui(apptext::startupEnds);
    std::fprintf(stderr, "zephalonte: %s\n", report.toLocal8Bit().constData());
    showMessage(dialogParent_, QMessageBox::Critical, report);
}
