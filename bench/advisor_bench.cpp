// The advisor composes its message at every update of the panes; measured on
// a journal of 100,000 consecutive days (about 274 years) with every figure
// entered, the selected day being today, so that every part of the message
// is written.

#include "advisor/advisormessage.h"
#include "docsetup.h"
#include "journal/cquilloxdoc.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int journalDays = 100'000;

CQuilloxDoc makeJournal(Date today, bool active)
{
    CQuilloxDoc doc;
    userInfoOf(doc)->height = 170;
    userInfoOf(doc)->birthMonth = monthOf(today);
    userInfoOf(doc)->birthDay = dayOf(today);
    objectiveOf(doc)->weight = 60;
    objectiveOf(doc)->fatPercent = 18;
    objectiveOf(doc)->eventName = "\x83\x7a\x83\x6d\x83\x8b\x83\x8b"; // ホノルル
    objectiveOf(doc)->eventDate = today + std::chrono::days{40};
    std::mt19937 random(20020512);
    std::uniform_real_distribution<double> weight(62, 70);
    std::uniform_real_distribution<double> fat(18, 25);
    std::uniform_real_distribution<double> distance(2, 12);
    for (int i = 0; i < journalDays; ++i) {
        const double km = active ? distance(random) : 0;
        putDay(doc, today - std::chrono::days{i}, "", weight(random), fat(random), km, km * 330,
               km * 0.5, km * 600);
    }
    return doc;
}

void composeForToday(benchmark::State &state)
{
    const Date today = makeDate(2002, 6, 30);
    const CQuilloxDoc doc = makeJournal(today, state.range(0) != 0);
    const RandomSource random = [] { return 0; };
    for (auto _ : state) {
        benchmark::DoNotOptimize(composeAdvisorMessage(doc, today, today, random));
    }
}
BENCHMARK(composeForToday)->ArgName("active")->Arg(1)->Arg(0);

} // namespace
