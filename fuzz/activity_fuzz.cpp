// Feeds arbitrary bytes to the decoders of runs from a watch (GPX, TCX, FIT)
// and to the import rules, and traps when a property that must hold for
// every input is broken. The first byte picks the decoder ('0' to '3' in the
// seed corpus; with bit 0x40 set, every kind an import reads, by content),
// the rest is the file.

#include "activity/activity.h"
#include "activity/importformats.h"
#include "activity/importplan.h"
#include "activity/runimport.h"
#include "docsetup.h"
#include "journal/cquilloxdoc.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

void require(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        __builtin_trap();
    }
}

const Date fuzzToday = makeDate(2026, 12, 8);

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char *>(data) + 1, size - 1);
    if (data[0] & 0x40) {
        // A weight export or any other input, planned into a journal.
        const ActivityFile file = decodeImportBytes(bytes, {WeightUnit::lb});
        require(file.ok() != file.empty(), "an input read holds something, one refused nothing");
        CQuilloxDoc doc(fuzzToday);
        putDay(doc, makeDate(2026, 12, 4), "memo", 60, 20, 1, 60, 1, 60);
        ImportChoices choices;
        choices.pick = static_cast<WeightPick>(data[0] % 3);
        choices.addToDay = data[0] & 0x08;
        choices.keepExisting = data[0] & 0x10;
        const ImportPlan plan =
            planImport({importFileOf("fuzz", file)}, doc.dayList(), choices, "");
        for (const ImportDayChange &change : plan.changes) {
            require(change.after.has_value() && change.before != change.after,
                    "a change sets a day to something new");
            const DayRecord &day = *change.after;
            require(day.weight >= 0 && day.weight <= 500 && day.fatPercent >= 0 &&
                        day.fatPercent <= 80,
                    "a weight and a fat stored are plausible");
            doc.applyEdit(dayEdit(doc, day));
        }
        const std::string text = doc.journalText();
        CQuilloxDoc again(fuzzToday);
        require(again.loadJournalText(text, fuzzToday).empty(), "the journal reads back");
        require(again.journalText() == text, "the journal reads back to the same text");
        return 0;
    }
    ActivityFile file;
    switch (data[0] % 4) {
    case 0:
        file = decodeActivityFile(bytes);
        break;
    case 1:
        file = decodeGpx(bytes);
        break;
    case 2:
        file = decodeTcx(bytes);
        break;
    default:
        file = decodeFit(bytes);
        break;
    }
    require(file.ok() != file.empty(),
            "a file read has activities, weighings or refusals, one refused none");

    // The quick GPX scanner reads what the full reader reads, to the bit.
    if (const std::optional<ActivityFile> quick = decodeSimpleGpx(bytes)) {
        require(quick->ok() && quick->activities.size() == 1, "the scanner reads one activity");
        const ActivityFile full = decodeGpxFully(bytes);
        if (full.ok()) {
            const Activity &a = quick->activities[0];
            const Activity &b = full.activities[0];
            require(a.startSeconds == b.startSeconds && a.distanceMetres == b.distanceMetres &&
                        a.durationSeconds == b.durationSeconds && a.sport == b.sport,
                    "the scanner and the full reader agree");
        }
    }
    for (const Weighing &weighing : file.weighings) {
        require(std::isfinite(weighing.seconds) && weighing.weightKg >= 0 &&
                    weighing.fatPercent >= 0,
                "a weighing is a time and measures");
    }
    for (const Activity &activity : file.activities) {
        require(std::isfinite(activity.startSeconds), "a start is a time");
        require(std::isfinite(activity.distanceMetres) && activity.distanceMetres >= 0,
                "a distance is a finite number of metres");
        require(std::isfinite(activity.durationSeconds) && activity.durationSeconds >= 0,
                "a duration is a finite number of seconds");
    }

    // Whatever a file holds, the journal it goes into stays one that can be
    // written and read back to the same text.
    CQuilloxDoc doc(fuzzToday);
    putDay(doc, makeDate(2026, 12, 4), "memo", 60, 20, 1, 60, 1, 60);
    const RunImportPlan plan = planRunImport({{"fuzz", file}}, std::nullopt, "");
    require(plan.fileFailed == !file.ok(), "a file refused is reported");
    doc.applyEdit(runImportEdit(doc, plan, data[0] & 0x10));
    const std::string text = doc.journalText();
    CQuilloxDoc again(fuzzToday);
    require(again.loadJournalText(text, fuzzToday).empty(), "the journal reads back");
    require(again.journalText() == text, "the journal reads back to the same text");
    return 0;
}
