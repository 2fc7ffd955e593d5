#include "cli/clicommands.h"

#include "advisor/advisormessage.h"
#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "trend/trend.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

// Message boxes break lines with CR LF; a terminal wants LF.
std::string withLineFeeds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (!(text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')) {
            out += text[pos];
        }
    }
    return out;
}

} // namespace

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
