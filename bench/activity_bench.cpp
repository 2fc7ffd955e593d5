// Decoding a ten-hour run recorded at one point a second (36,000 points): as
// GPX (about 7 MB of XML) and as FIT.

#include "../tests/activity/activityfixtures.h"
#include "activity/activity.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

using namespace activityfixtures;

constexpr int tenHours = 36000;
constexpr std::int64_t start = 1796367600; // 2026-12-04 07:00 UTC

// As a watch exports it: position, elevation, time, heart rate and cadence.
std::string tenHourGpx()
{
    std::string gpx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<gpx version=\"1.1\" creator=\"bench\" "
                      "xmlns=\"http://www.topografix.com/GPX/1/1\" "
                      "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n"
                      "<metadata><time>2026-12-04T07:00:00Z</time></metadata>\n"
                      "<trk><name>Long run</name><type>running</type><trkseg>\n";
    for (int i = 0; i < tenHours; ++i) {
        char point[512];
        std::snprintf(point, sizeof point,
                      "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele><time>%s</time>"
                      "<extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>%d</gpxtpx:hr>"
                      "<gpxtpx:cad>%d</gpxtpx:cad></gpxtpx:TrackPointExtension></extensions>"
                      "</trkpt>\n",
                      35.6812345 + i * 0.0000251, 139.7671234 + (i % 600) * 0.0000031,
                      40.0 + (i % 100) * 0.1, isoTime(start + i).c_str(), 120 + i % 40,
                      80 + i % 10);
        gpx += point;
    }
    gpx += "</trkseg></trk></gpx>\n";
    return gpx;
}

std::string tenHourFit()
{
    FitWriter fit;
    constexpr std::uint8_t sint32 = 0x85;
    fit.define(0, FitWriter::record,
               {{253, 4, FitWriter::uint32},
                {0, 4, sint32},
                {1, 4, sint32},
                {5, 4, FitWriter::uint32},
                {3, 1, FitWriter::uint8},
                {4, 1, FitWriter::uint8}});
    const std::uint32_t first = static_cast<std::uint32_t>(start) - fitEpoch;
    for (std::uint32_t i = 0; i < tenHours; ++i)
        fit.message(0, {first + i, 425000000 + i * 300, 1667000000 + (i % 600) * 37, i * 280,
                        120 + i % 40, 80 + i % 10});
    fit.define(1, FitWriter::session,
               {{253, 4, FitWriter::uint32},
                {2, 4, FitWriter::uint32},
                {5, 1, FitWriter::enumType},
                {8, 4, FitWriter::uint32},
                {9, 4, FitWriter::uint32}});
    fit.message(1, {first + tenHours, first, 1, tenHours * 1000ull, tenHours * 280ull});
    return fit.file();
}

void decodeTenHourGpx(benchmark::State &state)
{
    const std::string gpx = tenHourGpx();
    for (auto _ : state) {
        const ActivityFile file = decodeActivityFile(gpx);
        if (!file.ok())
            state.SkipWithError(file.error.c_str());
        benchmark::DoNotOptimize(file);
    }
    state.counters["MB"] = static_cast<double>(gpx.size()) / 1e6;
}
BENCHMARK(decodeTenHourGpx)->Unit(benchmark::kMillisecond);

// The same file through Qt's XML reader alone, which a track takes when the
// quick scanner gives up on it (a DOCTYPE, CDATA, another encoding).
void decodeTenHourGpxFully(benchmark::State &state)
{
    const std::string gpx = tenHourGpx();
    for (auto _ : state) {
        const ActivityFile file = decodeGpxFully(gpx);
        if (!file.ok())
            state.SkipWithError(file.error.c_str());
        benchmark::DoNotOptimize(file);
    }
}
BENCHMARK(decodeTenHourGpxFully)->Unit(benchmark::kMillisecond);

void decodeTenHourFit(benchmark::State &state)
{
    const std::string fit = tenHourFit();
    for (auto _ : state) {
        const ActivityFile file = decodeActivityFile(fit);
        if (!file.ok())
            state.SkipWithError(file.error.c_str());
        benchmark::DoNotOptimize(file);
    }
    state.counters["MB"] = static_cast<double>(fit.size()) / 1e6;
}
BENCHMARK(decodeTenHourFit)->Unit(benchmark::kMillisecond);

} // namespace
