#pragma once

#include <QDate>
#include <QString>

// A journal whose load skipped lines would lose them at the next store, which
// replaces the whole file. Before that happens the file is copied, as it was,
// to "<journal>.damaged-YYYYMMDD" ("-2", "-3", ... when taken), a name no
// store ever writes to.

// The first free copy name for the day.
QString damagedCopyPath(const QString &journalPath, const QDate &day);

// Copies the journal; returns the copy's path, or an empty string with the
// reason in *error.
QString keepDamagedCopy(const QString &journalPath, const QDate &day, QString *error);
