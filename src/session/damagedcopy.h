#pragma once

#include "journal/safesave.h"

#include <QDate>
#include <QString>

#include <string>

// A journal whose load skipped or altered lines would lose them at the next
// store, which replaces the whole file. Before that happens the file is
// copied, as it was, to "<journal>.damaged-YYYYMMDD" ("-2", "-3", ... when
// taken), a name no store ever writes to. Only the window and the commands
// that store keep such copies (see JournalSession::setKeepsDamagedCopies).
//
// A copy holds the same health data as the journal: it gets the journal's
// permission bits, never wider ones. And it is made once: a load of the same
// damaged bytes (every start of the window, every zeph add) finds the copy
// it made before instead of filling the folder with identical ones.

// The first free copy name for the day.
QString damagedCopyPath(const QString &journalPath, const QDate &day);

struct DamagedCopy {
    QString path;             // empty when no copy could be made
    bool alreadyKept = false; // path is an earlier copy with the same bytes
    FileProblem problem = FileProblem::none;
    QString systemReason;
};

// Copies the journal unless one of its damaged copies (of any day) already
// holds the same bytes; never replaces an existing copy, even one made by
// another program between choosing the name and writing it. An identical
// copy with wider permissions than the journal's is narrowed to them.
DamagedCopy keepDamagedCopy(const QString &journalPath, const QDate &day);
// The same for bytes read already: the journal's, or those of its recovery
// file, whose unreadable lines are kept the same way.
DamagedCopy keepDamagedCopy(const QString &journalPath, const std::string &bytes, const QDate &day);
