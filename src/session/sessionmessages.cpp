#include "session/sessionmessages.h"

#include "dialogs/uitext.h"
#include "session/sessiontexts.h"

#include <QDir>
#include <QStringList>

namespace {

// How many skipped line numbers a message lists before it only counts the rest.
constexpr std::size_t maxListedLines = 20;

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString reasonText(const SessionFailure &failure)
{
    if (failure.inUseElsewhere)
        return ui(sessiontext::inUseElsewhere);
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
    const std::vector<SkippedLine> &lines = outcome.skippedLines;
    QStringList numbers;
    for (std::size_t i = 0; i < lines.size() && i < maxListedLines; ++i)
        numbers << QString::number(lines[i].lineNumber);
    QString lineList = numbers.join(QStringLiteral(", "));
    if (lines.size() > maxListedLines)
        lineList += ui(sessiontext::moreSkippedLines).arg(lines.size() - maxListedLines);

    QString text = ui(sessiontext::skippedLines).arg(shownPath(outcome.path), lineList);
    if (!outcome.damagedCopyPath.isEmpty())
        text += ui(sessiontext::damagedCopyKept).arg(shownPath(outcome.damagedCopyPath));
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
