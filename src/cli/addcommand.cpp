#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "cli/exitstatus.h"
#include "entry/dayentry.h"

int runAdd(const CliRequest &request)
{
    OpenJournal journal(request, true);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    CQuilloxDoc &doc = journal.document();
    const Date date = request.date.value_or(todayDate());
    // The form as it shows the day, with the fields given typed over it.
    DayTexts texts = textsForDay(doc.findDay(date));
    const auto typeOver = [](std::string &field, const std::optional<std::string> &given) {
        if (given) {
            field = *given;
        }
    };
    typeOver(texts.weight, request.weight);
    typeOver(texts.fatPercent, request.fatPercent);
    typeOver(texts.jogDistance, request.jogDistance);
    typeOver(texts.jogDuration, request.jogDuration);
    typeOver(texts.walkDistance, request.walkDistance);
    typeOver(texts.walkDuration, request.walkDuration);
    typeOver(texts.memo, request.memo);
    const DayReading reading = registerDay(doc, date, texts, TypedEncoding::utf8);
    if (!reading.day) {
        writeError(reading.message);
        return exitBadInput;
    }
    return journal.store() ? exitSuccess : exitJournalFailure;
}
