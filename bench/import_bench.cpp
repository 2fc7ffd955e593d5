// The import of weights and runs: Apple Health's export through the scanner
// and through Qt's reader, and the memory a gigabyte export takes when read
// from a file; 100,000 rows of openScale and Withings CSV; 10,000 FIT
// weigh-ins; 300,000 FIT sessions read and planned.
//
// The memory figure (peak_rss_MB) is the process's: run that benchmark
// alone (--benchmark_filter=readLargeHealthExportFile) for it to mean the
// import's.

#include "../tests/activity/activityfixtures.h"
#include "activity/applehealth.h"
#include "activity/importformats.h"
#include "activity/importplan.h"
#include "activity/importreader.h"
#include "activity/runimport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace activityfixtures;

constexpr std::int64_t start = 1796367600; // 2026-12-04 07:00 UTC

const char healthProlog[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE HealthData [\n"
    "<!-- HealthKit Export Version: 14 -->\n"
    "<!ELEMENT HealthData (ExportDate,Me,(Record|Correlation|Workout|ActivitySummary)*)>\n"
    "<!ATTLIST HealthData\n  locale CDATA #REQUIRED\n>\n"
    "<!ELEMENT Record ((MetadataEntry)*)>\n"
    "<!ATTLIST Record\n  type CDATA #REQUIRED\n  unit CDATA #IMPLIED\n  value CDATA #IMPLIED\n"
    "  sourceName CDATA #REQUIRED\n  sourceVersion CDATA #IMPLIED\n  device CDATA #IMPLIED\n"
    "  creationDate CDATA #IMPLIED\n  startDate CDATA #REQUIRED\n  endDate CDATA #REQUIRED\n>\n"
    "<!ELEMENT MetadataEntry EMPTY>\n"
    "<!ATTLIST MetadataEntry\n  key CDATA #REQUIRED\n  value CDATA #REQUIRED\n>\n"
    "]>\n<HealthData locale=\"ja_JP\">\n"
    " <ExportDate value=\"2027-01-20 12:00:00 +0900\"/>\n";
const char healthEpilog[] = "</HealthData>\n";

// About a megabyte of the records a phone and a watch write all day (steps
// and heart rate), a morning weigh-in among them, starting at `day`.
std::string healthRecords(int day)
{
    std::string out;
    char record[768];
    for (int i = 0; out.size() < (1 << 20); ++i) {
        const int minute = i % 1440;
        const int d = day + i / 1440;
        char date[40];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:00 +0900", 2000 + d / 360,
                      d / 30 % 12 + 1, d % 28 + 1, minute / 60, minute % 60);
        if (minute == 420) {
            std::snprintf(
                record, sizeof record,
                " <Record type=\"HKQuantityTypeIdentifierBodyMass\" sourceName=\"Health\" "
                "sourceVersion=\"17.1\" device=\"&lt;&lt;HKDevice: 0x28c51fb&gt;, "
                "name:Smart Scale, manufacturer:Acme &amp; Co&gt;\" unit=\"kg\" "
                "creationDate=\"%s\" startDate=\"%s\" endDate=\"%s\" value=\"%.1f\">\n"
                "  <MetadataEntry key=\"HKWasUserEntered\" value=\"0\"/>\n </Record>\n",
                date, date, date, 57 + (d % 7) * 0.1);
        } else {
            std::snprintf(record, sizeof record,
                          " <Record type=\"HKQuantityTypeIdentifier%s\" sourceName=\"Apple Watch\" "
                          "sourceVersion=\"10.2\" device=\"&lt;&lt;HKDevice: 0x281b990&gt;, "
                          "name:Apple Watch, manufacturer:Apple Inc., model:Watch, "
                          "hardware:Watch6,1, software:10.2&gt;\" unit=\"%s\" creationDate=\"%s\" "
                          "startDate=\"%s\" endDate=\"%s\" value=\"%d\"/>\n",
                          i % 2 ? "HeartRate" : "StepCount", i % 2 ? "count/min" : "count", date,
                          date, date, i % 2 ? 60 + i % 50 : i % 300);
        }
        out += record;
    }
    return out;
}

// An export of about `megabytes` MB, handed to `take` a megabyte at a time.
template <typename Take> void healthExport(int megabytes, Take take)
{
    take(std::string_view(healthProlog));
    for (int i = 0; i < megabytes; ++i)
        take(healthRecords(i * 3));
    take(std::string_view(healthEpilog));
}

double peakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024; // ru_maxrss is in kB
}

// The same megabyte pieces each time, made once: the figure is the reader's.
const std::vector<std::string> &healthPieces()
{
    static const std::vector<std::string> pieces = [] {
        std::vector<std::string> out;
        healthExport(128, [&](std::string_view piece) { out.emplace_back(piece); });
        return out;
    }();
    return pieces;
}

std::size_t totalSize(const std::vector<std::string> &pieces)
{
    std::size_t size = 0;
    for (const std::string &piece : pieces)
        size += piece.size();
    return size;
}

void scanHealthExport(benchmark::State &state)
{
    const std::vector<std::string> &pieces = healthPieces();
    for (auto _ : state) {
        AppleHealthScanner scanner;
        for (const std::string &piece : pieces)
            scanner.feed(piece);
        const std::optional<ActivityFile> file = scanner.finish();
        if (!file || !file->ok())
            state.SkipWithError("the scanner gave up");
        benchmark::DoNotOptimize(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * totalSize(pieces)));
}
BENCHMARK(scanHealthExport)->Unit(benchmark::kMillisecond);

// Qt's reader on the same export, which takes a document the scanner
// gives up on.
void readHealthExportFully(benchmark::State &state)
{
    const std::vector<std::string> &pieces = healthPieces();
    for (auto _ : state) {
        AppleHealthXmlReader reader;
        for (const std::string &piece : pieces)
            reader.feed(piece);
        const ActivityFile file = reader.finish();
        if (!file.ok())
            state.SkipWithError(file.error.c_str());
        benchmark::DoNotOptimize(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * totalSize(pieces)));
}
BENCHMARK(readHealthExportFully)->Unit(benchmark::kMillisecond)->Iterations(2);

// A 1 GB export.xml read from a file through the reading routine: the
// memory it takes does not grow with the file.
void readLargeHealthExportFile(benchmark::State &state)
{
    const std::string path = "/tmp/zph-bench-export-" + std::to_string(::getpid()) + ".xml";
    {
        std::ofstream out(path, std::ios::binary);
        healthExport(static_cast<int>(state.range(0)),
                     [&](std::string_view piece) { out.write(piece.data(), piece.size()); });
    }
    const double before = peakRssMegabytes();
    for (auto _ : state) {
        const ImportFile file = readImportInput(path, "export.xml");
        if (!file.ok())
            state.SkipWithError(file.error.c_str());
        benchmark::DoNotOptimize(file);
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
    state.counters["peak_rss_before_MB"] = before;
    state.SetBytesProcessed(state.iterations() * state.range(0) * (1 << 20));
    std::remove(path.c_str());
}
BENCHMARK(readLargeHealthExportFile)->Arg(1024)->Unit(benchmark::kMillisecond)->Iterations(1);

std::string openScaleCsv(int rows)
{
    std::string csv = "\"biceps\",\"bone\",\"caliper1\",\"calories\",\"chest\",\"comment\","
                      "\"dateTime\",\"fat\",\"hip\",\"lbm\",\"muscle\",\"water\",\"weight\"\n";
    char row[256];
    for (int i = 0; i < rows; ++i) {
        const int d = i / 3;
        std::snprintf(
            row, sizeof row,
            "0.0,3.1,,0.0,0.0,\"\",%04d-%02d-%02d %02d:%02d,%.1f,0.0,0.0,43.7,55.0,%.1f\n",
            1990 + d / 336, d / 28 % 12 + 1, d % 28 + 1, 6 + i % 3 * 6, i % 60, 22 + i % 30 * 0.1,
            56 + i % 40 * 0.1);
        csv += row;
    }
    return csv;
}

std::string withingsCsv(int rows)
{
    std::string csv = "Date,\"Weight (kg)\",\"Fat mass (kg)\",\"Bone mass (kg)\","
                      "\"Muscle mass (kg)\",\"Hydration (kg)\",Comments\n";
    char row[192];
    for (int i = 0; i < rows; ++i) {
        const int d = i / 3;
        std::snprintf(row, sizeof row,
                      "\"%04d-%02d-%02d %02d:%02d:12\",%.2f,%.2f,3.10,50.20,40.00,\n",
                      1990 + d / 336, d / 28 % 12 + 1, d % 28 + 1, 6 + i % 3 * 6, i % 60,
                      56 + i % 40 * 0.1, 13 + i % 20 * 0.05);
        csv += row;
    }
    return csv;
}

template <typename Make> void readCsv(benchmark::State &state, Make make)
{
    const std::string csv = make(100000);
    for (auto _ : state) {
        const ImportFile file = importFileOf("weights.csv", decodeImportBytes(csv));
        if (!file.ok() || file.patches.size() != 100000)
            state.SkipWithError("not every row was read");
        benchmark::DoNotOptimize(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csv.size()));
}

void readOpenScaleCsv(benchmark::State &state)
{
    readCsv(state, openScaleCsv);
}
BENCHMARK(readOpenScaleCsv)->Unit(benchmark::kMillisecond);

void readWithingsCsv(benchmark::State &state)
{
    readCsv(state, withingsCsv);
}
BENCHMARK(readWithingsCsv)->Unit(benchmark::kMillisecond);

void readFitWeights(benchmark::State &state)
{
    FitWriter fit;
    fit.define(0, FitWriter::weightScale,
               {{253, 4, FitWriter::uint32}, {0, 2, FitWriter::uint16}, {1, 2, FitWriter::uint16}});
    const std::uint32_t first = static_cast<std::uint32_t>(start) - fitEpoch;
    for (std::uint32_t i = 0; i < 10000; ++i)
        fit.message(0, {first + i * 43200, 5600 + i % 300, 2200 + i % 100});
    const std::string bytes = fit.file();
    for (auto _ : state) {
        const ImportFile file = importFileOf("scale.fit", decodeImportBytes(bytes));
        if (!file.ok() || file.patches.size() != 10000)
            state.SkipWithError("not every weigh-in was read");
        benchmark::DoNotOptimize(file);
    }
}
BENCHMARK(readFitWeights)->Unit(benchmark::kMillisecond);

// 300,000 sessions, one a day: decoded and planned, the plan as the dialog
// makes it and as zeph does.
void readAndPlanFitSessions(benchmark::State &state)
{
    FitWriter fit;
    fit.define(0, FitWriter::session,
               {{253, 4, FitWriter::uint32},
                {2, 4, FitWriter::uint32},
                {5, 1, FitWriter::enumType},
                {8, 4, FitWriter::uint32},
                {9, 4, FitWriter::uint32}});
    const std::uint32_t first = static_cast<std::uint32_t>(start) - fitEpoch - 300000u * 3600;
    for (std::uint32_t i = 0; i < 300000; ++i) {
        const std::uint32_t begin = first + i * 3600;
        fit.message(0, {begin + 1800, begin, i % 3 == 0 ? 11u : 1u, 1800000u + i % 600,
                        500000u + i % 1000});
    }
    const std::string bytes = fit.file();
    const std::map<Date, DayRecord> days;
    for (auto _ : state) {
        const std::vector<ImportFile> files = {importFileOf("runs.fit", decodeImportBytes(bytes))};
        const ImportPlan plan = planImport(files, days, {}, "");
        if (plan.rows.size() != 300000)
            state.SkipWithError("not every session was read");
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(readAndPlanFitSessions)->Unit(benchmark::kMillisecond);

// The same sessions through today's planning of runs, which searched every
// earlier activity for a repeat.
void planRunImportOfFitSessions(benchmark::State &state)
{
    FitWriter fit;
    fit.define(0, FitWriter::session,
               {{2, 4, FitWriter::uint32},
                {5, 1, FitWriter::enumType},
                {8, 4, FitWriter::uint32},
                {9, 4, FitWriter::uint32}});
    const std::uint32_t first = static_cast<std::uint32_t>(start) - fitEpoch - 300000u * 3600;
    for (std::uint32_t i = 0; i < 300000; ++i)
        fit.message(0, {first + i * 3600, 1, 1800000u, 500000u});
    const ActivityFile file = decodeFit(fit.file());
    for (auto _ : state) {
        const RunImportPlan plan = planRunImport({{"runs.fit", file}}, std::nullopt, "");
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(planRunImportOfFitSessions)->Unit(benchmark::kMillisecond);

} // namespace
