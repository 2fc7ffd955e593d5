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
//
// The copy goes into the journal's folder as the session holds it (a
// descriptor, see journal/folder.h): folderPath only names it for messages.

struct DamagedCopy {
    QString path;             // empty when no copy could be made
    bool alreadyKept = false; // path is an earlier copy with the same bytes
    FileProblem problem = FileProblem::none;
    QString systemReason;
};

// Copies bytes, read from the journal `journalName` or from its recovery
// file (whose unreadable lines are kept the same way), unless one of the
// journal's damaged copies (of any day) already holds the same bytes; never
// replaces an existing copy, even one made by another program between
// choosing the name and writing it. An identical copy with wider
// permissions than the journal's is narrowed to them.
DamagedCopy keepDamagedCopy(int folder, const std::string &journalName, const std::string &bytes,
                            const QDate &day, const QString &folderPath);
