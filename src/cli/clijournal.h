#pragma once

#include "cli/cliarguments.h"
#include "cli/exitstatus.h"
#include "journal/cquilloxdoc.h"
#include "session/journalsession.h"

#include <QString>

#include <string>

// The journal a command works on, as the system names it: --file, or the
// current user's (relative to the working folder).
std::string journalName(const CliRequest &request);

// The journal, locked and loaded as the window loads it. Reports a failure
// (and the lines a damaged journal loses) on standard error. Only a command
// that stores copies a damaged journal aside, as the window does: one that
// only reads writes nothing into the journal's folder.
class OpenJournal {
  public:
    // A command that stores (`creates`) makes a journal that does not exist
    // yet, as the window does for the current user; one that only reads
    // refuses a named file that is not there.
    // A command that stores refuses while the window's edit log holds
    // edits, unless it is the one that replays it (`forRecovery`).
    OpenJournal(const CliRequest &request, bool creates, bool forRecovery = false);

    bool opened() const { return opened_; }
    // The exit status of a journal that could not be opened.
    int failureStatus() const { return status_; }
    QString path() const { return session_.path(); }
    CQuilloxDoc &document() { return document_; }

    // Stores the journal; false (reported) when it could not be.
    bool store();

    JournalSession &session() { return session_; }

  private:
    CQuilloxDoc document_; // declared first: the session refers to it
    JournalSession session_;
    bool opened_ = false;
    int status_ = exitJournalFailure;
};
