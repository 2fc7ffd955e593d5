// Where two versions of a 100,000-day journal meet: the three-way merge of
// two whole versions, and the replay of an edit log onto the journal on disk.

#include "journal/cquilloxdoc.h"
#include "journal/edit.h"
#include "journal/editlog.h"
#include "journal/merge.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int journalDays = 100'000;
const Date firstDay = makeDate(1800, 1, 1);

DayRecord dayAt(int index, double shift)
{
    return DayRecord{
        firstDay + std::chrono::days(index), 60 + (index % 50) * 0.1 + shift, 20, 5, 1800, 0, 0,
        index % 7 == 0 ? "rain" : ""};
}

CQuilloxDoc longJournal()
{
    CQuilloxDoc doc(firstDay);
    EditBuilder edit(doc);
    for (int i = 0; i < journalDays; ++i)
        edit.changeDay(dayAt(i, 0));
    doc.applyEdit(edit.take());
    return doc;
}

// Each version changes every tenth day its own way (a few alike) and adds
// and removes some, so that every branch of the rule runs.
void BM_threeWayMerge(benchmark::State &state)
{
    const CQuilloxDoc base = longJournal();
    CQuilloxDoc ours = longJournal();
    CQuilloxDoc theirs = longJournal();
    EditBuilder mine(ours);
    EditBuilder other(theirs);
    for (int i = 0; i < journalDays; i += 10) {
        mine.changeDay(dayAt(i, 1));
        other.changeDay(dayAt(i + 5, i % 20 == 0 ? 1 : 2));
    }
    for (int i = 3; i < journalDays; i += 1000) {
        mine.deleteDay(firstDay + std::chrono::days(i));
        other.changeDay(dayAt(journalDays + i, 0));
    }
    ours.applyEdit(mine.take());
    theirs.applyEdit(other.take());
    for (auto _ : state) {
        MergePlan plan = planThreeWayMerge(base, ours, theirs);
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_threeWayMerge)->Unit(benchmark::kMillisecond);

// 1,000 one-day edits, as the log holds them, composed and replayed onto a
// journal another program changed meanwhile, then applied.
void BM_replayThousandRecords(benchmark::State &state)
{
    CQuilloxDoc session = longJournal();
    std::vector<Edit> records;
    for (int i = 0; i < 1000; ++i)
        records.push_back(session.applyEdit(dayEdit(session, dayAt(i * 97, 1))).inverse());
    CQuilloxDoc disk = longJournal();
    EditBuilder other(disk);
    for (int i = 0; i < journalDays; i += 50)
        other.changeDay(dayAt(i, 3));
    disk.applyEdit(other.take());
    for (auto _ : state) {
        const MergePlan plan = planReplay(disk, composeEdits(records));
        const Edit undo = disk.applyEdit(plan.edit);
        state.PauseTiming();
        disk.applyEdit(undo);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_replayThousandRecords)->Unit(benchmark::kMillisecond);

// The base's identity at every load and store: XXH3-128 of the journal's
// bytes (Arg 1) against the std::hash it replaces (Arg 0).
void BM_hashJournalBytes(benchmark::State &state)
{
    const std::string text = longJournal().journalText();
    for (auto _ : state) {
        if (state.range(0) == 1)
            benchmark::DoNotOptimize(hashContent(text));
        else
            benchmark::DoNotOptimize(std::hash<std::string_view>{}(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_hashJournalBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
