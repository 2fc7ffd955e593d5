#pragma once

#include "journal/safesave.h"

#include <QDate>
#include <QString>

#include <string>

// The window writes the whole journal text, after every change, to a hidden
// file beside the journal, so that a crash, a kill or a power cut loses
// nothing that was registered. The file goes away after a store that
// succeeds; one found at the next open holds days the journal lacks.

// "<folder>/.<journal name>.recovery"
QString recoveryPathFor(const QString &journalPath);

// "<journal>.recovered-YYYYMMDD" (then -2, -3, ...): where a recovery file
// the user chose not to restore is kept, visible, with the journal's bits.
QString recoveredPathFor(const QString &journalPath, const QDate &day);

struct RecoveryFile {
    enum class State {
        none,       // no recovery file, or one identical to the journal (removed)
        differs,    // holds a text the journal does not: bytes
        unreadable, // exists but cannot be read: problem, systemReason
    };
    State state = State::none;
    QString path;
    std::string bytes;
    FileProblem problem = FileProblem::none;
    QString systemReason;
};

// Reads the recovery file of journalPath.
RecoveryFile readRecoveryFile(const QString &journalPath);
