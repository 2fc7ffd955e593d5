#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "cli/clitexts.h"
#include "cli/exitstatus.h"
#include "cli/journalcheck.h"
#include "qttext/uitext.h"
#include "session/journalsession.h"
#include "session/recoveryfile.h"
#include "session/sessionmessages.h"

#include <string>

int runCheck(const CliRequest &request)
{
    // A look at the file, not an opening of the journal: no lock is taken,
    // and a journal open in the window can be checked too.
    // The name as the system gives it: read as bytes, it needs no text form.
    const std::string path = !request.input.empty() ? request.input : journalName(request);
    std::string bytes;
    if (!readInput(path, bytes)) {
        return exitJournalFailure;
    }
    const std::string shown = shownName(path).toStdString();
    // An emptied or headerless file is a finding of its own: a load calls it
    // a journal with nothing in it.
    std::size_t headerFindings = 0;
    if (!hasJournalHeader(bytes)) {
        writeOut(checkFindingLine(shown, CheckFinding{0, clitext::checkHeaderMissing}));
        headerFindings = 1;
    }
    // Each finding goes out as it is found: a long report never sits in memory.
    std::size_t findings = checkJournalText(bytes, [&shown](const CheckFinding &finding) {
        writeOut(checkFindingLine(shown, finding));
    });
    if (request.input.empty()) {
        const QString fullPath = JournalSession::fullPath(shownName(path));
        EditLogHeader identity;
        journalIdentity(fullPath, identity);
        if (const RecoveryFile recovery = readRecoveryFile(fullPath, identity);
            recovery.state != RecoveryFile::State::none &&
            !(recovery.state == RecoveryFile::State::wholeJournal && recovery.bytes == bytes)) {
            writeOut(checkFindingLine(
                shown, CheckFinding{0, recoveryPendingMessage(recovery).toStdString()}));
            ++findings;
        }
    }
    findings += headerFindings;
    writeOut(checkSummaryLine(shown, findings));
    const int status = finishOutput();
    return status != exitSuccess ? status : findings == 0 ? exitSuccess : exitJournalFailure;
}
