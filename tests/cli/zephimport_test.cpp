// zeph import through the real executable: each export a scale or a health
// app writes, and the inputs that broke the reading of runs (a huge FIT
// file, an endless standard input, impossible values, a long prolog, a pipe,
// a sport in lower case).

#include "docsetup.h"
#include "zephrunner.h"

#include "../activity/activityfixtures.h"
#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace activityfixtures;
using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;
using zephtest::runZeph;

constexpr const char *journal = "zph0001.txt";

std::uint32_t at(int year, int month, int day, int hour)
{
    const auto days = std::chrono::sys_days{std::chrono::year{year} / month / day};
    return static_cast<std::uint32_t>(days.time_since_epoch().count() * 86400 + hour * 3600);
}

CQuilloxDoc journalIn(const TempDir &dir)
{
    CQuilloxDoc doc(makeDate(2026, 12, 20));
    doc.loadJournalText(readFile(dir.path() / journal), makeDate(2026, 12, 20));
    return doc;
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

std::string fitWeighIn(std::uint32_t unixTime, std::uint64_t hundredthsKg,
                       std::uint64_t hundredthsPercent)
{
    FitWriter fit;
    fit.define(0, FitWriter::weightScale,
               {{253, 4, FitWriter::uint32}, {0, 2, FitWriter::uint16}, {1, 2, FitWriter::uint16}});
    fit.message(0, {unixTime - fitEpoch, hundredthsKg, hundredthsPercent});
    return fit.file();
}

void writeZip(const std::filesystem::path &path, const std::string &entry, const std::string &bytes)
{
    int error = 0;
    zip_t *archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    zip_source_t *source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    ASSERT_GE(zip_file_add(archive, entry.c_str(), source, ZIP_FL_OVERWRITE), 0);
    ASSERT_EQ(zip_close(archive), 0);
}

std::string appleHealthExport()
{
    const auto record = [](const std::string &type, const std::string &unit,
                           const std::string &value) {
        const std::string date = "2026-12-11 07:30:00 +0900";
        return " <Record type=\"HKQuantityTypeIdentifier" + type + "\" unit=\"" + unit +
               "\" creationDate=\"" + date + "\" startDate=\"" + date + "\" endDate=\"" + date +
               "\" value=\"" + value + "\"/>\n";
    };
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE HealthData [\n<!ATTLIST HealthData\n  locale CDATA #REQUIRED\n>\n]>\n"
           "<HealthData locale=\"ja_JP\">\n" +
           record("BodyMass", "kg", "57.2") + record("BodyFatPercentage", "%", "0.235") +
           "</HealthData>\n";
}

// Per format: the day it fills, and the same file again changes nothing.
TEST(ZephImport, eachExportFillsItsDayAndTheSameFileTwiceChangesNothing)
{
    TempDir dir;
    CQuilloxDoc start(makeDate(2026, 12, 20));
    userInfoOf(start)->name = "test";
    putDay(start, makeDate(2026, 12, 7), "", 60, 0, 5, 1500, 0, 0);
    writeFile(dir.path() / journal, start.journalText());

    writeFile(dir.path() / "openScale.csv",
              "\"id\",\"dateTime\",\"weight\",\"fat\"\n\"1\",\"07.12.2026 06:40\",\"56.8\","
              "\"23.8\"\n\"2\",\"07.12.2026 21:00\",\"57.4\",\"0\"\n");
    writeFile(dir.path() / "weight.csv", "Date,\"Weight (kg)\",\"Fat mass (kg)\",Comments\n"
                                         "2026-12-08 07:07:12,56.78,13.24,\n");
    writeFile(dir.path() / "weight-2026-12-01.json",
              "[{\"logId\":1,\"weight\":125.5,\"bmi\":20.1,\"date\":\"12/09/26\","
              "\"time\":\"07:00:00\",\"source\":\"Aria\"}]");
    writeFile(dir.path() / "scale.fit", fitWeighIn(at(2026, 12, 10, 6), 5691, 2340));
    writeZip(dir.path() / "export.zip", "apple_health_export/export.xml", appleHealthExport());

    const struct {
        std::vector<std::string> args;
        std::string line;
        DayRecord day;
    } cases[] = {
        // The first weigh-in of the day, its other fields kept.
        {{"import", "openScale.csv"},
         "2026/12/07 体重 56.8 kg 23.8 %\n",
         {makeDate(2026, 12, 7), 56.8, 23.8, 5, 1500, 0, 0, ""}},
        {{"import", "weight.csv"},
         "2026/12/08 体重 56.78 kg 23.3 %\n",
         {makeDate(2026, 12, 8), 56.78, 23.3, 0, 0, 0, 0, ""}},
        {{"import", "--unit", "lb", "weight-2026-12-01.json"},
         "2026/12/09 体重 56.93 kg\n",
         {makeDate(2026, 12, 9), 56.93, 0, 0, 0, 0, 0, ""}},
        {{"import-run", "scale.fit"},
         "2026/12/10 体重 56.91 kg 23.4 %\n",
         {makeDate(2026, 12, 10), 56.91, 23.4, 0, 0, 0, 0, ""}},
        {{"import", "export.zip"},
         "2026/12/11 体重 57.2 kg 23.5 %\n",
         {makeDate(2026, 12, 11), 57.2, 23.5, 0, 0, 0, 0, ""}},
    };
    for (const auto &c : cases) {
        const zephtest::Run run = runZeph(dir.path(), c.args);
        EXPECT_EQ(run.status, 0) << c.args.back() << run.err;
        EXPECT_EQ(run.out, c.line) << c.args.back();
        const CQuilloxDoc doc = journalIn(dir);
        const DayRecord *day = doc.findDay(c.day.date);
        ASSERT_NE(day, nullptr) << c.args.back();
        EXPECT_EQ(*day, c.day) << c.args.back();

        const std::string once = readFile(dir.path() / journal);
        EXPECT_EQ(runZeph(dir.path(), c.args).status, 0) << c.args.back();
        EXPECT_EQ(readFile(dir.path() / journal), once) << c.args.back();
    }

    // Fitbit's file does not say its unit: without --unit, status 2 and
    // nothing stored, even of the other files named with it.
    const std::string before = readFile(dir.path() / journal);
    writeFile(dir.path() / "later.fit", fitWeighIn(at(2026, 12, 12, 6), 5500, 0));
    const zephtest::Run unitless =
        runZeph(dir.path(), {"import", "later.fit", "weight-2026-12-01.json"});
    EXPECT_EQ(unitless.status, 2);
    EXPECT_TRUE(contains(unitless.err, "weight-2026-12-01.json: 体重の単位がファイルに書かれて"))
        << unitless.err;
    EXPECT_TRUE(contains(unitless.err, "--unit kg か --unit lb")) << unitless.err;
    EXPECT_EQ(unitless.out, "");
    EXPECT_EQ(readFile(dir.path() / journal), before);

    // --pick mean and --keep-existing.
    const zephtest::Run mean = runZeph(dir.path(), {"import", "--pick", "mean", "openScale.csv"});
    EXPECT_EQ(mean.out, "2026/12/07 体重 57.1 kg 23.8 %\n");
    EXPECT_EQ(journalIn(dir).findDay(makeDate(2026, 12, 7))->weight, 57.1);
    const std::string kept = readFile(dir.path() / journal);
    const zephtest::Run keep = runZeph(dir.path(), {"import", "--keep-existing", "openScale.csv"});
    EXPECT_EQ(keep.status, 0);
    EXPECT_EQ(keep.out, "");
    EXPECT_EQ(keep.err, "zeph: 2026/12/07 体重: 記録 (57.1 kg 23.8 %) があるため変えません "
                        "(--keep-existing)。\n");
    EXPECT_EQ(readFile(dir.path() / journal), kept);
    EXPECT_EQ(runZeph(dir.path(), {"import", "--pick", "median", "openScale.csv"}).status, 2);
}

// The faults hostile files found in the reading of runs, each through zeph.
TEST(ZephImport, hostileInputsAreReadOrRefusedWithTheirReason)
{
    TempDir dir;
    CQuilloxDoc start(makeDate(2026, 12, 20));
    userInfoOf(start)->name = "test";
    writeFile(dir.path() / journal, start.journalText());

    // Standard input has the limit of files, with a message: a GPX that
    // never ends (a sparse file, so the test writes no 300 MB).
    const std::filesystem::path endless = dir.path() / "endless";
    writeFile(endless, "<?xml version=\"1.0\"?>\n<gpx>");
    std::filesystem::resize_file(endless, 300ull << 20);
    const std::string journalBefore = readFile(dir.path() / journal);
    const zephtest::Run tooLong = runZeph(dir.path(), {"import", "-"}, {}, {.inputFile = endless});
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_TRUE(contains(tooLong.err, "標準入力: 256 MB を超えています。")) << tooLong.err;
    EXPECT_LT(tooLong.peakMemoryKiB, 400L << 10); // a gigabyte of zeros once took 1.06 GB
    EXPECT_EQ(readFile(dir.path() / journal), journalBefore);

    // Impossible values are refused with the reason, the rest imported; the
    // sum of two laps of 1.7e308 m is named by the value written, not "inf".
    writeFile(dir.path() / "laps.tcx",
              "<TrainingCenterDatabase><Activities>\n"
              "<Activity Sport=\"Running\"><Id>2026-12-04T06:30:00Z</Id>\n"
              "<Lap><TotalTimeSeconds>60</TotalTimeSeconds><DistanceMeters>1.7e308</DistanceMeters>"
              "</Lap>\n<Lap><TotalTimeSeconds>60</TotalTimeSeconds><DistanceMeters>1.7e308"
              "</DistanceMeters></Lap></Activity>\n"
              "<Activity Sport=\"Running\"><Id>2026-12-05T06:30:00Z</Id><Lap><TotalTimeSeconds>1e11"
              "</TotalTimeSeconds><DistanceMeters>10</DistanceMeters></Lap></Activity>\n"
              "<Activity Sport=\"running\"><Id>2026-12-07T06:30:00Z</Id><Lap><TotalTimeSeconds>1500"
              "</TotalTimeSeconds><DistanceMeters>5000</DistanceMeters></Lap></Activity>\n"
              "</Activities></TrainingCenterDatabase>");
    writeFile(dir.path() / "heavy.csv", "Date,\"Weight (kg)\",\"Fat mass (kg)\"\n"
                                        "2026-12-01 07:00:00,5000,\n"
                                        "2026-12-02 07:00:00,60,\n");
    const zephtest::Run impossible = runZeph(dir.path(), {"import", "laps.tcx", "heavy.csv"});
    EXPECT_EQ(impossible.status, 2);
    // The lower-case sport is a run all the same.
    EXPECT_EQ(impossible.out, "2026/12/07 Jog 5 km 25'00\"\n2026/12/02 体重 60 kg\n");
    EXPECT_TRUE(contains(impossible.err, "laps.tcx: 3 行目の DistanceMeters「1.7e308」は"
                                         "ありえない値のため、この運動は取り込みません"))
        << impossible.err;
    EXPECT_FALSE(contains(impossible.err, "inf"));
    EXPECT_TRUE(contains(impossible.err, "TotalTimeSeconds「1e11」")) << impossible.err;
    EXPECT_TRUE(contains(impossible.err, "heavy.csv: 2026/12/01 07:00 の測定: 体重「5000"))
        << impossible.err;
    const CQuilloxDoc doc = journalIn(dir);
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 4)), nullptr);
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 1)), nullptr);
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 7))->jogDistance, 5);

    // A GPX whose root element comes after a long comment; and the same run
    // through a pipe, as `zeph import <(cat run.gpx)` passes it.
    std::string gpx = gpxTrack(at(2026, 12, 14, 7), 11, 100.0);
    gpx.insert(gpx.find("?>") + 2, "\n<!-- " + std::string(20000, 'x') + " -->");
    writeFile(dir.path() / "prolog.gpx", gpx);
    const zephtest::Run prolog = runZeph(dir.path(), {"import", "prolog.gpx"});
    EXPECT_EQ(prolog.status, 0) << prolog.err;
    EXPECT_EQ(prolog.out, "2026/12/14 Jog 1 km 0'10\"\n");

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const std::string run = gpxTrack(at(2026, 12, 15, 7), 11, 200.0);
    ASSERT_EQ(::write(pipeEnds[1], run.data(), run.size()), static_cast<ssize_t>(run.size()));
    ::close(pipeEnds[1]);
    const zephtest::Run piped =
        runZeph(dir.path(), {"import", "/dev/fd/" + std::to_string(pipeEnds[0])});
    ::close(pipeEnds[0]);
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, "2026/12/15 Jog 2 km 0'10\"\n");
}

// 100,000 sessions in one FIT file took 13.7 s, and the time grew with the
// square of their number: now they are one import like any other.
TEST(ZephImport, aHundredThousandFitSessionsAreImported)
{
    TempDir dir;
    CQuilloxDoc start(makeDate(2026, 12, 20));
    userInfoOf(start)->name = "test";
    writeFile(dir.path() / journal, start.journalText());

    FitWriter fit;
    fit.define(0, FitWriter::session,
               {{2, 4, FitWriter::uint32},
                {5, 1, FitWriter::enumType},
                {8, 4, FitWriter::uint32},
                {9, 4, FitWriter::uint32}});
    // Four runs a day, six hours apart, from 2000-01-01 on: 25,000 days.
    constexpr int sessions = 100'000;
    for (int i = 0; i < sessions; ++i)
        fit.message(0, {at(2000, 1, 1, 1) + i * 6u * 3600u - fitEpoch, 1, 1'500'000, 500'000});
    writeFile(dir.path() / "many.fit", fit.file());

    const zephtest::Run run = runZeph(dir.path(), {"import", "many.fit"});
    EXPECT_EQ(run.status, 0) << run.err.substr(0, 1000);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), sessions);
    const CQuilloxDoc doc = journalIn(dir);
    EXPECT_EQ(doc.dayList().size(), 25'000u);
    EXPECT_EQ(*doc.findDay(makeDate(2000, 1, 1)),
              (DayRecord{makeDate(2000, 1, 1), 0, 0, 20, 6000, 0, 0, ""}));
}

} // namespace
