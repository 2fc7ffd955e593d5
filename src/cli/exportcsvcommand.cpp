#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clioutput.h"
#include "cli/exitstatus.h"
#include "cli/journalcsv.h"

int runExportCsv(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    if (refuseCompanionOutput(journal.path(), request.output)) {
        return exitBadInput;
    }
    return writeOutputFile(request.output, journalCsv(journal.document().dayList()));
}
