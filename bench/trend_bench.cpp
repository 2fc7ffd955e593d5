// Figures for the trend layer on a 100,000-day journal (far longer than anyone
// records): the trends of weight and body fat, worked out once per change of
// the journal, and the monthly summary.

#include "docsetup.h"
#include "journal/cquilloxdoc.h"
#include "trend/monthlysummary.h"
#include "trend/summarytable.h"
#include "trend/trend.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int journalDays = 100'000;
constexpr std::uint32_t journalSeed = 20020512;

// Weights and body fat on most days, gaps of a few days between.
const CQuilloxDoc &longJournal()
{
    static const CQuilloxDoc doc = [] {
        CQuilloxDoc journal;
        std::mt19937 random(journalSeed);
        std::uniform_real_distribution<double> unit(0, 1);
        const Date first = makeDate(1800, 1, 1);
        for (int i = 0; i < journalDays; ++i) {
            const bool weighed = unit(random) < 0.9;
            const bool jog = unit(random) < 0.5;
            putDay(journal, first + std::chrono::days{i}, "", weighed ? 55 + 10 * unit(random) : 0,
                   weighed ? 20 + 8 * unit(random) : 0, jog ? 3 + 7 * unit(random) : 0,
                   jog ? 900 + 2700 * unit(random) : 0, 0, 0);
        }
        return journal;
    }();
    return doc;
}

// As the journal context works them out after a change: into the storage of
// the previous computation.
void BM_JournalTrends(benchmark::State &state)
{
    const CQuilloxDoc &doc = longJournal();
    JournalTrends trends;
    for (auto _ : state) {
        updateJournalTrends(doc.dayList(), trends);
        benchmark::DoNotOptimize(trends);
    }
}
BENCHMARK(BM_JournalTrends)->Unit(benchmark::kMillisecond);

// The first computation, or zeph's one: new memory for the points.
void BM_JournalTrendsFresh(benchmark::State &state)
{
    const CQuilloxDoc &doc = longJournal();
    for (auto _ : state) {
        JournalTrends trends = journalTrends(doc.dayList());
        benchmark::DoNotOptimize(trends);
    }
}
BENCHMARK(BM_JournalTrendsFresh)->Unit(benchmark::kMillisecond);

// What the advisor asks of the trends for one day.
void BM_PaceAndOutlookOfADay(benchmark::State &state)
{
    const CQuilloxDoc &doc = longJournal();
    const JournalTrends trends = journalTrends(doc.dayList());
    const Date day = doc.lastDay()->date;
    for (auto _ : state) {
        benchmark::DoNotOptimize(trends.weight.paceOn(day));
        benchmark::DoNotOptimize(goalOutlook(trends.weight, 50, day));
    }
}
BENCHMARK(BM_PaceAndOutlookOfADay)->Unit(benchmark::kMicrosecond);

void BM_MonthlySummary(benchmark::State &state)
{
    const CQuilloxDoc &doc = longJournal();
    for (auto _ : state) {
        std::vector<MonthSummary> rows = monthlySummary(doc.dayList());
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_MonthlySummary)->Unit(benchmark::kMillisecond);

// The summary with the window's texts, as it fills its table.
void BM_MonthlySummaryTable(benchmark::State &state)
{
    const CQuilloxDoc &doc = longJournal();
    for (auto _ : state) {
        std::vector<SummaryRowTexts> rows = summaryTableRows(monthlySummary(doc.dayList()));
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_MonthlySummaryTable)->Unit(benchmark::kMillisecond);

} // namespace
