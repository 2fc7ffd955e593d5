#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "cli/clitexts.h"
#include "cli/exitstatus.h"
#include "journal/editlog.h"
#include "journal/merge.h"
#include "qttext/uitext.h"
#include "session/recoveryfile.h"
#include "session/sessionmessages.h"
#include "session/sessiontexts.h"

#include <QFile>

#include <algorithm>
#include <string>

using clitext::fillText;

void writeMergeLines(const Edit &taken, const MergeConflicts &conflicts, const char *conflictText)
{
    std::vector<Date> dates;
    for (const DayChange &day : taken.days)
        dates.push_back(day.date);
    dates.insert(dates.end(), conflicts.days.begin(), conflicts.days.end());
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    for (Date date : dates) {
        const bool conflict =
            std::binary_search(conflicts.days.begin(), conflicts.days.end(), date);
        writeOut(fillText(conflict ? conflictText : clitext::dayTaken, {formatDate(date)}));
    }
    const auto section = [&](bool changed, bool conflict, const char *name) {
        if (changed || conflict)
            writeOut(
                fillText(conflict ? conflictText : clitext::dayTaken, {ui(name).toStdString()}));
    };
    section(taken.userInfo.has_value(), conflicts.userInfo, sessiontext::sectionProfile);
    section(taken.objective.has_value(), conflicts.objective, sessiontext::sectionObjective);
    section(taken.graphSettings.has_value(), conflicts.graphSettings,
            sessiontext::sectionGraphSettings);
}

namespace {

// A log set aside earlier, or an earlier release's recovery text, named by
// the user: read as the window reads its own, without the check that it
// names this journal (a log set aside under another journal's name is the
// user's to apply).
bool readNamedRecovery(const std::string &file, RecoveryFile &recovery)
{
    recovery = {};
    recovery.path = QFile::decodeName(QByteArray::fromStdString(file));
    if (!readInput(file, recovery.bytes))
        return false;
    if (recovery.bytes.starts_with("# quillox file ver 2")) {
        recovery.state = RecoveryFile::State::wholeJournal;
        return true;
    }
    recovery.log = readEditLog(recovery.bytes);
    if (!recovery.log.headerRead) {
        writeError(fillText(clitext::notAnEditLog, {file}));
        return false;
    }
    recovery.composed = composeEdits(recovery.log.records);
    recovery.state = RecoveryFile::State::editLog;
    return true;
}

} // namespace

int runRecover(const CliRequest &request)
{
    OpenJournal journal(request, true, true);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    JournalSession &session = journal.session();
    CQuilloxDoc &doc = journal.document();
    RecoveryFile recovery = session.findRecovery();
    if (!request.logFile.empty()) {
        // The journal's own log comes first: replaying another over it
        // would hide its edits.
        if (recovery.state != RecoveryFile::State::none) {
            writeQtError(recoveryPendingMessage(recovery));
            return exitJournalFailure;
        }
        if (!readNamedRecovery(request.logFile, recovery)) {
            return exitBadInput;
        }
    }
    const std::string shown = recovery.path.toStdString();
    switch (recovery.state) {
    case RecoveryFile::State::none:
        writeOut(clitext::nothingToRecover);
        return finishOutput();
    case RecoveryFile::State::unreadable:
        writeQtError(recovery.path + QStringLiteral(": ") +
                     reasonText({recovery.problem, false, recovery.systemReason}));
        return exitJournalFailure;
    case RecoveryFile::State::foreign:
        if (!request.setAside) {
            writeError(fillText(clitext::logOfAnotherJournal, {shown}));
            return exitJournalFailure;
        }
        break;
    case RecoveryFile::State::editLog:
    case RecoveryFile::State::wholeJournal:
        break;
    }
    if (request.setAside) {
        SessionFailure failure;
        const QString aside = session.setRecoveryAside(todayDate(), failure);
        if (aside.isEmpty()) {
            writeQtError(recovery.path + QStringLiteral(": ") + reasonText(failure));
            return exitJournalFailure;
        }
        writeOut(fillText(clitext::setAsideDone, {aside.toStdString()}));
        return finishOutput();
    }

    Edit change = recovery.composed;
    if (recovery.state == RecoveryFile::State::wholeJournal) {
        CQuilloxDoc recovered(todayDate());
        const OpenOutcome restored = session.restoreRecovery(recovery, todayDate(), recovered);
        if (restored.damaged()) {
            writeQtError(skippedLinesMessage(restored));
        }
        change = takingDaysOf(doc, recovered);
    }
    const MergePlan plan = planReplay(doc, change);
    if (!plan.conflicts.empty()) {
        // The journal's values the replay puts other values over.
        SessionFailure failure;
        const QString copy = session.keepConflictCopy(failure);
        if (failure.failed()) {
            writeQtError(reasonText(failure));
            return exitJournalFailure;
        }
        if (!copy.isEmpty()) {
            writeOut(fillText(clitext::conflictCopyKept, {copy.toStdString()}));
        }
    }
    writeMergeLines(plan.edit, plan.conflicts, clitext::dayConflictTheirs);
    doc.applyEdit(plan.edit);
    // Stored, the journal holds the edits: the store removes the log.
    session.markRecoveryResolved();
    if (!journal.store()) {
        return exitJournalFailure;
    }
    const int status = finishOutput();
    return status != exitSuccess    ? status
           : plan.conflicts.empty() ? exitSuccess
                                    : exitStoredWithConflicts;
}
