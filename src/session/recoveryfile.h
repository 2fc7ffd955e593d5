#pragma once

#include "journal/editlog.h"
#include "journal/safesave.h"

#include <QDate>
#include <QString>

#include <string>

// The window's edits since the journal was last loaded or stored go to a
// hidden log beside the journal (see journal/editlog.h and
// editlogwriter.h), so that a crash, a kill or a power cut loses nothing
// that was registered. The log goes away after a store that succeeds; one
// found at the next open holds edits the journal lacks. Earlier releases
// kept the whole journal text under the same name instead.

// "<folder>/.<journal name>.recovery"
QString recoveryPathFor(const QString &journalPath);
// ".<journal name>.recovery", its name in the journal's folder.
std::string recoveryNameFor(const std::string &journalName);

struct RecoveryFile {
    enum class State {
        none,         // no recovery file, or one with nothing to restore (removed)
        editLog,      // a log of this journal with edits: log
        wholeJournal, // an earlier release's journal text: bytes
        foreign,      // a log whose header cannot be read or that names another journal
        unreadable,   // exists but cannot be read: problem, systemReason
    };
    State state = State::none;
    QString path;
    std::string bytes;
    EditLogContents log;
    // The log's records composed per day and section (state editLog).
    Edit composed;
    FileProblem problem = FileProblem::none;
    QString systemReason;
};

// Reads the recovery file of journalPath and tells what it is (a log is
// checked against `expected`, the journal's own header; its base is not
// compared: the replay works on the journal as it is now).
RecoveryFile readRecoveryFile(const QString &journalPath, const EditLogHeader &expected);
// The same for the log `logName` in a held folder (see journal/folder.h);
// shownPath names it in the result.
RecoveryFile readRecoveryFile(int folder, const std::string &logName, const QString &shownPath,
                              const EditLogHeader &expected);

// The folder's device and inode and the journal's file name, as a log's
// header names its journal. False when the folder cannot be looked at.
bool journalIdentity(const QString &journalPath, EditLogHeader &header);
// The same for the journal `journalName` in a held folder, which keeps its
// device and inode when it is renamed.
bool journalIdentity(int folder, const std::string &journalName, EditLogHeader &header);
