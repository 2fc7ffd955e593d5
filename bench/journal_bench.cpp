// Figures for the journal file and the queries the panes run on every redraw,
// measured on a long journal: 100,000 consecutive days (about 274 years), far
// more than a person records, so that a real journal is comfortably inside.

#include "journal/cquilloxdoc.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Loads reset the event date to "today": a fixed one keeps runs comparable.
const Date benchToday = makeDate(2026, 1, 1);

constexpr int journalDays = 100'000;
constexpr std::uint32_t journalSeed = 20020512;

// Stored (one-line) memos in code-page-932 bytes. The double-byte characters
// include ソ and 表, whose trail byte is a backslash, next to real escapes.
const std::array<const char *, 8> storedMemos = {
    // ジョギング後、膝が少し痛い\n要注意
    "\x83\x57\x83\x87\x83\x4d\x83\x93\x83\x4f\x8c\xe3\x81\x41\x95\x47\x82\xaa\x8f\xad\x82\xb5"
    "\x92\xc9\x82\xa2\\n\x97\x76\x92\x8d\x88\xd3",
    // 表参道まで歩いた
    "\x95\x5c\x8e\x51\x93\xb9\x82\xdc\x82\xc5\x95\xe0\x82\xa2\x82\xbd",
    // 体調良好\tソフトクリーム
    "\x91\xcc\x92\xb2\x97\xc7\x8d\x44\\t\x83\x5c\x83\x74\x83\x67\x83\x4e\x83\x8a\x81\x5b\x83\x80",
    // 雨
    "\x89\x4a",
    "long slow distance, felt fine",
    // ホノルルマラソン\n\n完走 C:\\shoes
    "\x83\x7a\x83\x6d\x83\x8b\x83\x8b\x83\x7d\x83\x89\x83\x5c\x83\x93\\n\\n\x8a\xae\x91\x96 "
    "C:\\\\shoes",
    // ｿﾌﾄ (half-width katakana: single bytes)
    "\xbf\xcc\xc4 5km",
    "interval 6x400m\\tcool down",
};

const char *const journalSettings = "# quillox file ver 2\r\n"
                                    "[settings]\r\n"
                                    "graphNDays = 35\r\n"
                                    "graphWeight = 1\r\n"
                                    "graphFatPercent = 1\r\n"
                                    "graphFat = 0\r\n"
                                    "graphNotFat = 0\r\n"
                                    "graphJogDistance = 1\r\n"
                                    "graphJogDuration = 1\r\n"
                                    "graphWalkDistance = 0\r\n"
                                    "graphWalkDuration = 0\r\n"
                                    "yAxisMain = 0\r\n"
                                    "colorWeight = 0xf00000\r\n"
                                    "colorFatPercent = 0x0000f0\r\n"
                                    "colorJogDistance = 0x00f000\r\n"
                                    "colorJogDuration = 0xf000f0\r\n"
                                    "colorWalkDistance = 0x00f000\r\n"
                                    "colorWalkDuration = 0xf000f0\r\n"
                                    "colorCrntDate = 0x00ff00\r\n"
                                    "colorDivision = 0x000000\r\n"
                                    "colorBackGround = 0xffffff\r\n"
                                    "weightLineType = 0\r\n"
                                    "fatPcntLineType = 0\r\n"
                                    "fatLineType = 0\r\n"
                                    "notFatLineType = 0\r\n"
                                    "jogDistType = 1\r\n"
                                    "jogDurType = 1\r\n"
                                    "walkDistType = 1\r\n"
                                    "walkDurType = 1\r\n"
                                    "paperOri = 2\r\n"
                                    "[userInfo]\r\n"
                                    "name = \x8e\x52\x93\x63\x91\xbe\x98\x59\r\n"
                                    "birthday = 1970/04/01\r\n"
                                    "sex = male\r\n"
                                    "height = 171.5\r\n"
                                    "restBpm = 58\r\n"
                                    "[objective]\r\n"
                                    "intention = 1\r\n"
                                    "weight = 60\r\n"
                                    "fatPercent = 20\r\n"
                                    "jogDistanceMonth = 100\r\n"
                                    "eventName = \x83\x7a\x83\x6d\x83\x8b\x83\x8b\r\n"
                                    "eventDate = 2073/12/08\r\n"
                                    "[data]\r\n";

Date firstJournalDay()
{
    return makeDate(1800, 1, 1);
}

// The day lines, in date order, each with its CR LF. Only the raw engine
// output is used: the standard distributions differ between libraries, and
// the journal must be the same wherever the benchmark runs.
std::vector<std::string> generateDayLines()
{
    std::mt19937 random(journalSeed);
    const auto percentChance = [&random](unsigned percent) { return random() % 100 < percent; };

    std::vector<std::string> lines;
    lines.reserve(journalDays);
    int weightTenths = 623; // a slow random walk around 62 kg
    int fatTenths = 241;
    std::array<char, 160> buffer{};
    for (int i = 0; i < journalDays; ++i) {
        weightTenths += static_cast<int>(random() % 7) - 3;
        weightTenths = std::clamp(weightTenths, 550, 720);
        fatTenths += static_cast<int>(random() % 5) - 2;
        fatTenths = std::clamp(fatTenths, 180, 300);

        const double weight = percentChance(85) ? weightTenths / 10.0 : 0.0;
        const double fat = weight != 0 && percentChance(80) ? fatTenths / 10.0 : 0.0;
        double jogDistance = 0;
        double jogDuration = 0;
        if (percentChance(35)) {
            jogDistance = (30 + random() % 91) / 10.0;                      // 3.0 to 12.0 km
            jogDuration = std::floor(jogDistance * (300 + random() % 120)); // 5 to 7 min/km
        }
        double walkDistance = 0;
        double walkDuration = 0;
        if (percentChance(40)) {
            walkDistance = (5 + random() % 56) / 10.0;
            walkDuration = std::floor(walkDistance * (600 + random() % 240));
        }
        const char *memo = percentChance(75) ? storedMemos[random() % storedMemos.size()] : "";

        const std::string date = formatDate(firstJournalDay() + std::chrono::days{i});
        std::snprintf(buffer.data(), buffer.size(), "%s\t%g\t%g\t%g\t%g\t%g\t%g\t", date.c_str(),
                      weight, fat, jogDistance, jogDuration, walkDistance, walkDuration);
        std::string line = buffer.data();
        line += memo;
        line += "\r\n";
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string journalFromLines(const std::vector<std::string> &lines)
{
    std::string text = journalSettings;
    for (const std::string &line : lines) {
        text += line;
    }
    return text;
}

void writeWholeFile(const std::filesystem::path &path, const std::string &bytes)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// The generated journal, written once per run into a private directory that
// is removed when the program ends.
struct JournalFiles {
    std::filesystem::path directory;
    std::filesystem::path inDateOrder;
    std::filesystem::path reversed;
    std::filesystem::path writeTarget;
    std::size_t fileSize = 0;
    CQuilloxDoc loaded;
    std::string loadError;

    JournalFiles()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zph-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary directory");
        }
        directory = pattern;
        inDateOrder = directory / "journal.txt";
        reversed = directory / "reversed.txt";
        writeTarget = directory / "written.txt";

        std::vector<std::string> lines = generateDayLines();
        const std::string text = journalFromLines(lines);
        fileSize = text.size();
        writeWholeFile(inDateOrder, text);
        std::reverse(lines.begin(), lines.end());
        writeWholeFile(reversed, journalFromLines(lines));

        const JournalLoadResult result = loaded.readJournal(inDateOrder.string(), benchToday);
        if (!result.opened) {
            loadError = "readJournal failed: " + result.error;
        } else if (loaded.dayList().size() != static_cast<std::size_t>(journalDays)) {
            loadError = "the generated journal loaded " + std::to_string(loaded.dayList().size()) +
                        " days instead of " + std::to_string(journalDays);
        }
    }

    ~JournalFiles()
    {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }

    JournalFiles(const JournalFiles &) = delete;
    JournalFiles &operator=(const JournalFiles &) = delete;
};

// On a busy machine the fastest repetition is the one least disturbed by
// other work; report it next to the mean and median.
double fastest(const std::vector<double> &values)
{
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

JournalFiles &journalFiles()
{
    static JournalFiles files;
    return files;
}

// False (and the benchmark skipped) when the core could not load the journal:
// figures measured on a half-read file would mean nothing.
bool journalReady(benchmark::State &state)
{
    const JournalFiles &files = journalFiles();
    if (!files.loadError.empty()) {
        state.SkipWithError(files.loadError.c_str());
        return false;
    }
    return true;
}

void readIntoFreshDocument(benchmark::State &state, const std::filesystem::path &path)
{
    if (!journalReady(state)) {
        return;
    }
    std::unique_ptr<CQuilloxDoc> doc;
    for (auto _ : state) {
        // The start-up case: an empty document. Freeing the previous one is
        // not part of reading.
        state.PauseTiming();
        doc = std::make_unique<CQuilloxDoc>();
        state.ResumeTiming();
        const JournalLoadResult result = doc->readJournal(path.string(), benchToday);
        benchmark::DoNotOptimize(result.opened);
    }
    if (doc == nullptr || doc->dayList().size() != static_cast<std::size_t>(journalDays)) {
        state.SkipWithError("the journal did not load completely");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(journalFiles().fileSize));
}

void BM_readJournal(benchmark::State &state)
{
    readIntoFreshDocument(state, journalFiles().inDateOrder);
}
BENCHMARK(BM_readJournal)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// The day lines newest first: every entry goes in at the front of the list.
void BM_readJournalReversed(benchmark::State &state)
{
    readIntoFreshDocument(state, journalFiles().reversed);
}
BENCHMARK(BM_readJournalReversed)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// Opening another journal over a loaded one: includes dropping the old days.
void BM_reloadJournal(benchmark::State &state)
{
    if (!journalReady(state)) {
        return;
    }
    CQuilloxDoc doc;
    for (auto _ : state) {
        const JournalLoadResult result = doc.readJournal(journalFiles().inDateOrder.string(), benchToday);
        benchmark::DoNotOptimize(result.opened);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(journalFiles().fileSize));
}
BENCHMARK(BM_reloadJournal)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// The reader without the file system: what parsing alone costs.
void BM_loadJournalText(benchmark::State &state)
{
    if (!journalReady(state)) {
        return;
    }
    const std::string text = journalFiles().loaded.journalText();
    std::unique_ptr<CQuilloxDoc> doc;
    for (auto _ : state) {
        state.PauseTiming();
        doc = std::make_unique<CQuilloxDoc>();
        state.ResumeTiming();
        benchmark::DoNotOptimize(doc->loadJournalText(text, benchToday));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_loadJournalText)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// The machine's limit for the readers: the file's bytes into memory, nothing
// else.
void BM_plainRead(benchmark::State &state)
{
    const std::filesystem::path &path = journalFiles().inDateOrder;
    std::string bytes;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        if (fd < 0 || ::fstat(fd, &info) != 0) {
            state.SkipWithError("cannot open the generated journal");
            break;
        }
        std::string buffer(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t done = 0;
        while (done < buffer.size()) {
            const ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
            if (got <= 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        ::close(fd);
        bytes = std::move(buffer);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["file_MB"] = static_cast<double>(journalFiles().fileSize) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(journalFiles().fileSize));
}
BENCHMARK(BM_plainRead)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// The whole store: formatting, writing, fsync and the rename.
void BM_writeJournal(benchmark::State &state)
{
    if (!journalReady(state)) {
        return;
    }
    JournalFiles &files = journalFiles();
    for (auto _ : state) {
        const JournalStoreResult result = files.loaded.writeJournal(files.writeTarget.string());
        if (!result.written) {
            state.SkipWithError(("writeJournal failed: " + result.error).c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(files.fileSize));
}
BENCHMARK(BM_writeJournal)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", fastest);

// The store without the disk: the text that writeJournal would put in the file.
void BM_journalText(benchmark::State &state)
{
    if (!journalReady(state)) {
        return;
    }
    const CQuilloxDoc &doc = journalFiles().loaded;
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string text = doc.journalText();
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(size));
}
BENCHMARK(BM_journalText)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// What the graph and the advisor ask on one redraw near the end of the
// journal: the value range of all eight series over a year, and the
// seven-day sums and means of the six stored values.
void BM_advisorQueries(benchmark::State &state)
{
    if (!journalReady(state)) {
        return;
    }
    const CQuilloxDoc &doc = journalFiles().loaded;
    const Date last = firstJournalDay() + std::chrono::days{journalDays - 1};
    const Date yearStart = last - std::chrono::days{364};
    const Date weekStart = last - std::chrono::days{6};
    constexpr std::array<int, 8> allSeries = {0, 1, 2, 3, 4, 5, -1, -2};
    for (auto _ : state) {
        for (const int series : allSeries) {
            benchmark::DoNotOptimize(doc.seriesRange(series, yearStart, last, 1.0));
        }
        for (int series = 0; series < storedSeriesCount; ++series) {
            benchmark::DoNotOptimize(doc.sumOverDays(series, weekStart, 7));
            benchmark::DoNotOptimize(doc.averageOverDays(series, weekStart, 7));
        }
    }
}
BENCHMARK(BM_advisorQueries)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);

} // namespace
