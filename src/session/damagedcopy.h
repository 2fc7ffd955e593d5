#pragma once

#include "journal/safesave.h"

#include <QDate>
#include <QString>

// A journal whose load skipped lines would lose them at the next store, which
// replaces the whole file. Before that happens the file is copied, as it was,
// to "<journal>.damaged-YYYYMMDD" ("-2", "-3", ... when taken), a name no
// store ever writes to.

// The first free copy name for the day.
QString damagedCopyPath(const QString &journalPath, const QDate &day);

struct DamagedCopy {
    QString path; // empty when no copy could be made
    FileProblem problem = FileProblem::none;
    QString systemReason;
};

// Copies the journal; never replaces an existing copy, even one made by
// another program between choosing the name and writing it.
DamagedCopy keepDamagedCopy(const QString &journalPath, const QDate &day);
