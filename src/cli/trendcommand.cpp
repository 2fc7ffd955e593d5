#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "cli/progresscsv.h"
#include "trend/trend.h"

// The trends and the monthly summary, as CSV on standard output.
int runTrend(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    const CQuilloxDoc::DayList &days = journal.document().dayList();
    writeOut(trendCsv(days, journalTrends(days), request.from, request.to));
    return finishOutput();
}
