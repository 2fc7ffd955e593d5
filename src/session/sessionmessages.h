#pragma once

#include "journal/merge.h"

#include "session/journalsession.h"

#include <QString>

// The journal session's outcomes in the user's words (Japanese), each naming
// the path once. The window shows them in message boxes, the command-line
// companion prints them.

QString reasonText(const SessionFailure &failure);

// The open failed (status failed).
QString openFailureMessage(const OpenOutcome &outcome);
// The open skipped or altered lines: which, and where the file as it was is
// kept (or that a reading command keeps none).
QString skippedLinesMessage(const OpenOutcome &outcome);
// The store failed.
QString storeFailureMessage(const StoreOutcome &outcome);
// Stored, but the .bak could not be kept: one line.
QString backupWarningMessage(const StoreOutcome &outcome);
// Stored, after keeping another program's version: one sentence naming it.
QString conflictCopyMessage(const StoreOutcome &outcome);

// Stored into a rescue file (the journal's folder was gone): where it went.
QString rescueStoredMessage(const StoreOutcome &outcome);
// At a start: the rescue files written since the last (takeRescueNotices).
QString rescueFilesWaitingMessage(const QStringList &rescueFiles);
// The recovery file is a folder or cannot be read (findRecovery said
// unreadable): which file, why, where the edits are logged meanwhile
// (logPath) and what to do.
QString recoveryUnreadableMessage(const RecoveryFile &recovery, const QString &logPath);
// Why zeph's writing commands leave the journal alone while a recovery file
// is there: it holds the window's unstored edits, or cannot be read.
QString recoveryPendingMessage(const RecoveryFile &recovery);

// The days a recovery file or a merge touches, as one line: "2026/12/04",
// or "2026/12/04 ほか 2 日". Empty for none.
QString daysLine(const std::vector<Date> &days);

// The days and sections in conflict, listed by date then by section name.
QString conflictList(const MergeConflicts &conflicts);
