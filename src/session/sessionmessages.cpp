#include "session/sessionmessages.h"

#include "qttext/uitext.h"
#include "session/sessiontexts.h"

#include <QDir>
#include <QStringList>
#include <QSysInfo>

namespace {

// How many skipped line numbers a message lists before it only counts the rest.
constexpr std::size_t maxListedLines = 20;

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The line numbers, the first maxListedLines of them, then how many more.
QString lineList(const std::vector<std::size_t> &lines)
{
    QStringList numbers;
    for (std::size_t i = 0; i < lines.size() && i < maxListedLines; ++i)
        numbers << QString::number(lines[i]);
    QString list = numbers.join(QStringLiteral(", "));
    if (lines.size() > maxListedLines)
        list += ui(sessiontext::moreSkippedLines).arg(lines.size() - maxListedLines);
    return list;
}

QString inUseText(const SessionFailure &failure)
{
    if (failure.lockPath.isEmpty())
        return ui(sessiontext::inUseElsewhere);
    const QString lockFile = shownPath(failure.lockPath);
    if (failure.lockHolderPid <= 0)
        return ui(sessiontext::inUseBeingLocked).arg(lockFile);
    const QString pid = QString::number(failure.lockHolderPid);
    if (!failure.lockHolderHost.isEmpty() && failure.lockHolderHost != QSysInfo::machineHostName())
        return ui(sessiontext::inUseOnOtherHost).arg(pid, lockFile, failure.lockHolderHost);
    return ui(sessiontext::inUseByProcess).arg(pid, lockFile);
}

} // namespace

QString reasonText(const SessionFailure &failure)
{
    if (failure.inUseElsewhere)
        return inUseText(failure);
    switch (failure.problem) {
    case FileProblem::none:
        return {};
    case FileProblem::noSpace:
        return ui(sessiontext::noSpace);
    case FileProblem::readOnlyFileSystem:
        return ui(sessiontext::readOnlyFileSystem);
    case FileProblem::permissionDenied:
        return ui(sessiontext::permissionDenied);
    case FileProblem::readOnlyFile:
        return ui(sessiontext::readOnlyFile);
    case FileProblem::notFound:
        return ui(sessiontext::notFound);
    case FileProblem::notRegularFile:
        return ui(sessiontext::notRegularFile);
    case FileProblem::tooLarge:
        return ui(sessiontext::tooLarge);
    case FileProblem::other:
        break;
    }
    return ui(sessiontext::otherFailure).arg(failure.systemReason);
}

QString openFailureMessage(const OpenOutcome &outcome)
{
    return ui(sessiontext::cannotOpen).arg(shownPath(outcome.path), reasonText(outcome.failure));
}

QString skippedLinesMessage(const OpenOutcome &outcome)
{
    QStringList parts;
    if (!outcome.skippedLines.empty()) {
        std::vector<std::size_t> numbers;
        for (const SkippedLine &line : outcome.skippedLines)
            numbers.push_back(line.lineNumber);
        parts << ui(sessiontext::skippedLines).arg(shownPath(outcome.path), lineList(numbers));
    }
    if (!outcome.alteredLines.empty())
        parts << ui(sessiontext::alteredLines)
                     .arg(shownPath(outcome.path), lineList(outcome.alteredLines));
    QString text = parts.join(QStringLiteral("\n\n"));
    if (outcome.damagedCopyLeftToWindow)
        text += ui(sessiontext::damagedCopyLeftToWindow);
    else if (!outcome.damagedCopyPath.isEmpty())
        text += ui(outcome.damagedCopyAlreadyKept ? sessiontext::damagedCopyAlreadyKept
                                                  : sessiontext::damagedCopyKept)
                    .arg(shownPath(outcome.damagedCopyPath));
    else
        text += ui(sessiontext::damagedCopyFailed).arg(reasonText(outcome.damagedCopyFailure));
    return text;
}

QString storeFailureMessage(const StoreOutcome &outcome)
{
    if (outcome.conflictNotKept)
        return ui(sessiontext::conflictCopyFailed)
            .arg(shownPath(outcome.path), reasonText(outcome.failure));
    return ui(sessiontext::cannotStore).arg(shownPath(outcome.path), reasonText(outcome.failure));
}

QString backupWarningMessage(const StoreOutcome &outcome)
{
    return ui(sessiontext::backupNotKept)
        .arg(shownPath(outcome.backupPath), reasonText(outcome.backupFailure));
}

QString conflictCopyMessage(const StoreOutcome &outcome)
{
    return ui(sessiontext::conflictCopyKept)
        .arg(shownPath(outcome.path), shownPath(outcome.conflictCopyPath));
}

QString rescueStoredMessage(const StoreOutcome &outcome)
{
    return ui(sessiontext::rescueStored)
        .arg(shownPath(outcome.rescuedFrom), shownPath(outcome.rescuePath));
}

QString rescueFilesWaitingMessage(const QStringList &rescueFiles)
{
    QStringList shown;
    for (const QString &file : rescueFiles)
        shown << shownPath(file);
    return ui(sessiontext::rescueFilesWaiting).arg(shown.join(u'\n'));
}

QString recoveryPendingMessage(const RecoveryFile &recovery)
{
    if (recovery.state == RecoveryFile::State::unreadable)
        return ui(sessiontext::recoveryPendingUnreadable)
            .arg(shownPath(recovery.path),
                 reasonText({recovery.problem, false, recovery.systemReason}));
    return ui(sessiontext::recoveryPending).arg(shownPath(recovery.path));
}

QString recoveryUnreadableMessage(const RecoveryFile &recovery, const QString &logPath)
{
    return ui(sessiontext::recoveryUnreadableLoggedElsewhere)
        .arg(shownPath(recovery.path), reasonText({recovery.problem, false, recovery.systemReason}),
             shownPath(logPath));
}

QString daysLine(const std::vector<Date> &days)
{
    if (days.empty())
        return {};
    const QString first = QString::fromStdString(formatDate(days.front()));
    if (days.size() == 1)
        return first;
    return ui(sessiontext::daysAndMore).arg(first).arg(days.size() - 1);
}

QString conflictList(const MergeConflicts &conflicts)
{
    QStringList items;
    for (Date day : conflicts.days)
        items << QString::fromStdString(formatDate(day));
    if (conflicts.userInfo)
        items << ui(sessiontext::sectionProfile);
    if (conflicts.objective)
        items << ui(sessiontext::sectionObjective);
    if (conflicts.graphSettings)
        items << ui(sessiontext::sectionGraphSettings);
    return items.join(ui(sessiontext::listSeparator));
}
