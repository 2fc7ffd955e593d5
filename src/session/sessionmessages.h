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

// The days a recovery file or a merge touches, as one line: "2026/12/04",
// or "2026/12/04 ほか 2 日". Empty for none.
QString daysLine(const std::vector<Date> &days);

// The days and sections in conflict, listed by date then by section name.
QString conflictList(const MergeConflicts &conflicts);
