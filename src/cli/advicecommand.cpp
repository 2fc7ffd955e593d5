#include "cli/clicommands.h"

#include "advisor/advisormessage.h"
#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "trend/trend.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

int runAdvice(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    // The remark on a long rest is drawn at random, as the window draws it.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const Date today = todayDate();
    const CQuilloxDoc &doc = journal.document();
    const std::optional<JournalTrends> trends =
        request.trend ? std::optional(journalTrends(doc.dayList())) : std::nullopt;
    const std::string message = composeAdvisorMessage(doc, request.date.value_or(today), today,
                                                      standardRandom, trends ? &*trends : nullptr);
    std::string text = withLineFeeds(message);
    while (text.ends_with('\n')) {
        text.pop_back();
    }
    writeOut(text + "\n");
    return finishOutput();
}
