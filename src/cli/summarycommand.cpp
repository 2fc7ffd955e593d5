#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "cli/progresscsv.h"
#include "trend/monthlysummary.h"

int runSummary(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    writeOut(summaryCsv(monthlySummary(journal.document().dayList(), request.from, request.to)));
    return finishOutput();
}
