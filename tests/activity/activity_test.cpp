// The decoders of the three formats and the rules that turn their activities
// into days, on files the tests write themselves.

#include "activity/activity.h"
#include "activity/activitytexts.h"
#include "activity/importplan.h"
#include "activity/plausibility.h"
#include "activity/runimport.h"
#include "activityfixtures.h"
#include "docsetup.h"
#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <numbers>
#include <optional>
#include <string>

namespace {

using namespace activityfixtures;

// Latitude in degrees of a point `metres` north of the equator.
double northOf(double metres)
{
    return metres * 180.0 / (std::numbers::pi * 6371000.0);
}

std::string trkpt(double metres, const std::string &time)
{
    std::string point = "<trkpt lat=\"";
    char lat[32];
    std::snprintf(lat, sizeof lat, "%.12f", northOf(metres));
    point += lat;
    point += "\" lon=\"0.0\"><ele>12.5</ele>";
    if (!time.empty())
        point += "<time>" + time + "</time>";
    return point + "</trkpt>\n";
}

std::int64_t unixTime(int year, int month, int day, int hour, int minute)
{
    return std::chrono::sys_days{
               std::chrono::year_month_day{std::chrono::year{year},
                                           std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}}}
                   .time_since_epoch()
                   .count() *
               86400 +
           hour * 3600 + minute * 60;
}

TEST(ActivityDecoding, gpxSumsEachSegmentAndTimesTheWholeTrackPausesIncluded)
{
    // Two segments 5 km apart, ten minutes between them; a point without a
    // time still counts for the distance.
    const std::string gpx = "<?xml version=\"1.0\"?>\n"
                            "<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\">"
                            "<trk><name>朝ラン</name><type> Run </type><type>Biking</type>"
                            "<trkseg>\n" +
                            trkpt(0, "2026-12-04T07:00:00.400Z") +
                            trkpt(100, "2026-12-04T07:00:30Z") + trkpt(250, "") +
                            "</trkseg><trkseg>\n" + trkpt(5250, "2026-12-04T07:10:00Z") +
                            trkpt(5400, "2026-12-04T07:10:00.900Z") + "</trkseg></trk></gpx>\n";
    const ActivityFile file = decodeActivityFile(gpx);
    ASSERT_TRUE(file.ok()) << file.error;
    EXPECT_EQ(file.format, ActivityFormat::gpx);
    ASSERT_EQ(file.activities.size(), 1u);
    const Activity &run = file.activities[0];
    EXPECT_NEAR(run.distanceMetres, 400.0, 1e-3);
    // 600.5 s: fractions kept until the final rounding, which gives 601.
    EXPECT_NEAR(run.durationSeconds, 600.5, 1e-6);
    EXPECT_EQ(roundedSeconds(run.durationSeconds), 601);
    EXPECT_EQ(run.sport, "Run");
    EXPECT_EQ(run.field, ActivityField::jog);

    // The quick scanner and the full reader agree; a document beyond the
    // scanner (a DOCTYPE, CDATA) is read by the full reader alone.
    const std::optional<ActivityFile> quick = decodeSimpleGpx(gpx);
    ASSERT_TRUE(quick.has_value());
    EXPECT_EQ(quick->activities[0].distanceMetres,
              decodeGpxFully(gpx).activities[0].distanceMetres);
    std::string unusual = gpx;
    unusual.insert(unusual.find("<gpx"), "<!DOCTYPE gpx>\n");
    unusual.replace(unusual.find("2026-12-04T07:00:30Z"), 20, "<![CDATA[2026-12-04T07:00:30Z]]>");
    EXPECT_FALSE(decodeSimpleGpx(unusual).has_value());
    const ActivityFile full = decodeActivityFile(unusual);
    ASSERT_TRUE(full.ok()) << full.error;
    EXPECT_NEAR(full.activities[0].distanceMetres, 400.0, 1e-3);
}

TEST(ActivityDecoding, tcxAddsItsLapsPerActivityAndNamesEachSport)
{
    const std::string lapTrack = "<Track><Trackpoint><Time>2026-12-04T06:31:00Z</Time>"
                                 "<DistanceMeters>4999</DistanceMeters></Trackpoint></Track>";
    const std::string tcx =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<TrainingCenterDatabase "
        "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n"
        "<Activities><Activity Sport=\"Running\"><Id>2026-12-04T06:30:00Z</Id>"
        "<Lap StartTime=\"2026-12-04T06:30:00Z\"><TotalTimeSeconds>1500.4</TotalTimeSeconds>"
        "<DistanceMeters>5000.2</DistanceMeters>" +
        lapTrack +
        "</Lap><Lap StartTime=\"2026-12-04T06:55:00Z\"><TotalTimeSeconds>1499.8"
        "</TotalTimeSeconds><DistanceMeters>5010.3</DistanceMeters></Lap></Activity>\n"
        "<Activity Sport=\"Biking\"><Id>2026-12-05T08:00:00Z</Id><Lap><TotalTimeSeconds>3600"
        "</TotalTimeSeconds><DistanceMeters>30000</DistanceMeters></Lap></Activity>"
        "<Activity Sport=\"running\"><Id>2026-12-06T08:00:00Z</Id><Lap><TotalTimeSeconds>600"
        "</TotalTimeSeconds><DistanceMeters>2000</DistanceMeters></Lap></Activity>"
        "</Activities></TrainingCenterDatabase>\n";
    const ActivityFile file = decodeActivityFile(tcx);
    ASSERT_TRUE(file.ok()) << file.error;
    ASSERT_EQ(file.activities.size(), 3u);
    const Activity &run = file.activities[0];
    EXPECT_DOUBLE_EQ(run.startSeconds, static_cast<double>(unixTime(2026, 12, 4, 6, 30)));
    EXPECT_NEAR(run.durationSeconds, 3000.2, 1e-9);
    EXPECT_NEAR(run.distanceMetres, 10010.5, 1e-9); // the trackpoint's distance is not a lap's
    EXPECT_EQ(run.field, ActivityField::jog);
    EXPECT_EQ(roundedKilometres(run.distanceMetres), 10.01);
    EXPECT_EQ(file.activities[1].sport, "Biking");
    EXPECT_FALSE(file.activities[1].field.has_value());
    EXPECT_EQ(file.activities[2].field, ActivityField::jog) << "sports are named in any case";
}

TEST(ActivityDecoding, fitFollowsCompressedTimestampsAndSkipsDeveloperFields)
{
    // The session has no start time: it starts its elapsed time before its
    // timestamp, which only the compressed headers give, rolling over their
    // five bits on the way.
    const std::uint32_t start = static_cast<std::uint32_t>(unixTime(2026, 12, 4, 7, 0)) - fitEpoch;
    const std::uint32_t elapsed = 3600;
    std::uint32_t end = start + elapsed;
    while ((end & 31) != 3)
        ++end; // so that the last step rolls over
    const std::uint32_t before = end - 20;
    FitWriter fit;
    fit.define(0, FitWriter::record, {{253, 4, FitWriter::uint32}, {3, 1, FitWriter::uint8}}, false,
               {2});
    fit.message(0, {before, 120});
    fit.define(1, FitWriter::record, {{3, 1, FitWriter::uint8}}, false, {3, 1});
    fit.compressedMessage(1, static_cast<std::uint8_t>((before + 10) & 31), {121});
    // The session in big-endian order, with a developer field of its own.
    fit.define(2, FitWriter::session,
               {{5, 1, FitWriter::enumType},
                {7, 4, FitWriter::uint32},
                {8, 4, FitWriter::uint32},
                {9, 4, FitWriter::uint32}},
               true, {4});
    fit.compressedMessage(2, static_cast<std::uint8_t>(end & 31),
                          {11, (end - start) * 1000ull, 3500500, 421234});
    const ActivityFile file = decodeActivityFile(fit.file());
    ASSERT_TRUE(file.ok()) << file.error;
    EXPECT_EQ(file.format, ActivityFormat::fit);
    ASSERT_EQ(file.activities.size(), 1u);
    const Activity &walk = file.activities[0];
    EXPECT_DOUBLE_EQ(walk.startSeconds, static_cast<double>(unixTime(2026, 12, 4, 7, 0)));
    EXPECT_DOUBLE_EQ(walk.durationSeconds, 3500.5); // the timer's time, not the elapsed
    EXPECT_DOUBLE_EQ(walk.distanceMetres, 4212.34);
    EXPECT_EQ(walk.sport, "walking");
    EXPECT_EQ(walk.field, ActivityField::walk);
    EXPECT_EQ(roundedSeconds(walk.durationSeconds), 3501);
}

TEST(ActivityDecoding, multiSportFitGivesOneActivityPerSession)
{
    const auto start = static_cast<std::uint32_t>(unixTime(2026, 12, 4, 6, 0)) - fitEpoch;
    FitWriter fit;
    fit.define(0, FitWriter::session,
               {{2, 4, FitWriter::uint32},
                {5, 1, FitWriter::enumType},
                {8, 4, FitWriter::uint32},
                {9, 4, FitWriter::uint32}});
    fit.message(0, {start, 1, 1200000, 400000});                   // running
    fit.message(0, {start + 1300, 2, 3600000, 3000000});           // cycling
    fit.message(0, {start + 5000, 17, 1800000, 250000});           // hiking
    fit.message(0, {start + 7000, 0xff, 600000, 150000});          // no sport
    const ActivityFile file = decodeActivityFile(fit.file(false)); // 12-byte header
    ASSERT_TRUE(file.ok()) << file.error;
    ASSERT_EQ(file.activities.size(), 4u);
    EXPECT_EQ(file.activities[0].field, ActivityField::jog);
    EXPECT_EQ(file.activities[1].sport, "cycling");
    EXPECT_FALSE(file.activities[1].field.has_value());
    EXPECT_EQ(file.activities[2].field, ActivityField::walk);
    EXPECT_EQ(file.activities[3].sport, "");
    EXPECT_EQ(file.activities[3].field, ActivityField::jog);
    EXPECT_DOUBLE_EQ(file.activities[1].distanceMetres, 30000);
}

TEST(ActivityDecoding, fitReadsAScalesWeighInsBesideARun)
{
    // A watch's file with a run and the scale's weigh-ins: the weight in
    // hundredths of a kg, the fat in hundredths of a percent; a "calculating"
    // weight and an invalid one are no measurement; a weigh-in with no time
    // at all is refused on its own.
    const auto at = [](int hour) {
        return static_cast<std::uint32_t>(unixTime(2026, 12, 9, hour, 0)) - fitEpoch;
    };
    FitWriter fit;
    fit.define(0, FitWriter::weightScale,
               {{253, 4, FitWriter::uint32}, {0, 2, FitWriter::uint16}, {1, 2, FitWriter::uint16}});
    fit.message(0, {at(6), 0xfffe, 0xffff});
    fit.message(0, {at(7), 5691, 2345});
    fit.message(0, {at(8), 5702, 0xffff});
    fit.message(0, {at(9), 0xffff, 2310});
    fit.message(0, {at(10), 0xffff, 0xffff});
    fit.message(0, {at(11), 0, 0});
    fit.define(1, FitWriter::weightScale, {{0, 2, FitWriter::uint16}});
    fit.message(1, {5800});
    fit.define(2, FitWriter::session,
               {{2, 4, FitWriter::uint32},
                {5, 1, FitWriter::enumType},
                {8, 4, FitWriter::uint32},
                {9, 4, FitWriter::uint32}});
    fit.message(2, {at(12), 1, 1200000, 400000});
    const ActivityFile file = decodeActivityFile(fit.file());
    ASSERT_TRUE(file.ok()) << file.error;
    EXPECT_EQ(file.activities.size(), 1u);
    ASSERT_EQ(file.weighings.size(), 3u);
    EXPECT_DOUBLE_EQ(file.weighings[0].seconds, at(7) + static_cast<double>(fitEpoch));
    EXPECT_FALSE(file.weighings[0].writtenClock);
    EXPECT_DOUBLE_EQ(file.weighings[0].weightKg, 56.91);
    EXPECT_DOUBLE_EQ(file.weighings[0].fatPercent, 23.45);
    EXPECT_DOUBLE_EQ(file.weighings[1].fatPercent, 0);
    EXPECT_DOUBLE_EQ(file.weighings[2].weightKg, 0);
    EXPECT_DOUBLE_EQ(file.weighings[2].fatPercent, 23.1);
    EXPECT_EQ(file.refusals, std::vector<std::string>{activitytext::fitWeightWithoutTime});
}

TEST(ActivityDecoding, valuesNoWatchOrScaleCanRecordAreRefusedWithTheValue)
{
    const struct {
        Quantity quantity;
        double value;      // in the decoders' unit
        const char *shown; // empty: plausible
    } cases[] = {
        {Quantity::distance, 1000000, ""},
        {Quantity::distance, 1000010, "1000.01 km"},
        {Quantity::distance, 1e300, "1e+297 km"},
        {Quantity::distance, -10, "-0.01 km"},
        {Quantity::duration, 48 * 3600, ""},
        {Quantity::duration, 1e11, "2.78e+07 時間"},
        {Quantity::weight, 500, ""},
        {Quantity::weight, 500.01, "500.01 kg"},
        {Quantity::weight, -1, "-1.00 kg"},
        {Quantity::fatPercent, 80, ""},
        {Quantity::fatPercent, 80.5, "80.50 %"},
    };
    for (const auto &c : cases) {
        const std::optional<std::string> reason = implausibility(c.quantity, c.value);
        EXPECT_EQ(reason.has_value(), *c.shown != 0) << c.value;
        if (reason) {
            EXPECT_NE(reason->find(std::string("「") + c.shown + "」"), std::string::npos)
                << *reason;
        }
    }
    EXPECT_EQ(implausibility(Quantity::distance, INFINITY),
              fillActivityText(activitytext::notFinite, {"距離"}));
    // 0 is "not measured", never a value to judge.
    EXPECT_FALSE(implausibility(Weighing{0, true, 0, 0}));
}

// The plan of an import of decoded files into a journal.
ImportPlan planOf(const std::vector<std::pair<std::string, ActivityFile>> &files,
                  const CQuilloxDoc &doc = CQuilloxDoc(), const ImportChoices &choices = {},
                  const std::string &refusalHint = "")
{
    std::vector<ImportFile> imports;
    for (const auto &[name, file] : files)
        imports.push_back(importFileOf(name, file));
    return planImport(imports, doc.dayList(), choices, refusalHint);
}

TEST(RunImport, anImpossibleActivityIsRefusedAndTheRestOfItsFileTaken)
{
    const ScopedTimeZone zone("UTC");
    // Two laps of 1.7e308 m: named as written, not as the infinite sum.
    const std::string tcx =
        "<TrainingCenterDatabase><Activities>\n"
        "<Activity Sport=\"Running\"><Id>2026-12-04T06:30:00Z</Id>\n"
        "<Lap><TotalTimeSeconds>60</TotalTimeSeconds><DistanceMeters>1.7e308</DistanceMeters>"
        "</Lap>\n<Lap><TotalTimeSeconds>60</TotalTimeSeconds><DistanceMeters>1.7e308"
        "</DistanceMeters></Lap></Activity>\n"
        "<Activity Sport=\"Running\"><Id>2026-12-05T06:30:00Z</Id><Lap><TotalTimeSeconds>1e11"
        "</TotalTimeSeconds><DistanceMeters>10</DistanceMeters></Lap></Activity>\n"
        "<Activity Sport=\"Running\"><Id>2026-12-06T06:30:00Z</Id><Lap><TotalTimeSeconds>600"
        "</TotalTimeSeconds><DistanceMeters>900000</DistanceMeters></Lap><Lap><TotalTimeSeconds>"
        "600</TotalTimeSeconds><DistanceMeters>900000</DistanceMeters></Lap></Activity>\n"
        "<Activity Sport=\"Running\"><Id>2026-12-07T06:30:00Z</Id><Lap><TotalTimeSeconds>1500"
        "</TotalTimeSeconds><DistanceMeters>5000</DistanceMeters></Lap></Activity>\n"
        "</Activities></TrainingCenterDatabase>";
    // Antipodal points a few seconds apart.
    const std::string gpx = "<gpx><trk><trkseg><trkpt lat=\"0\" lon=\"0\"><time>"
                            "2026-12-08T07:00:00Z</time></trkpt><trkpt lat=\"0\" lon=\"180\">"
                            "<time>2026-12-08T07:16:39Z</time></trkpt></trkseg></trk></gpx>";
    const ImportPlan plan =
        planOf({{"laps.tcx", decodeActivityFile(tcx)}, {"far.gpx", decodeActivityFile(gpx)}});
    ASSERT_EQ(plan.rows.size(), 1u);
    EXPECT_EQ(plan.rows[0].day, makeDate(2026, 12, 7));
    EXPECT_EQ(plan.problems,
              (std::vector<std::string>{
                  "laps.tcx: 3 行目の DistanceMeters「1.7e308」はありえない値のため、"
                  "この運動は取り込みません (距離は 1000 km まで)。",
                  "laps.tcx: 5 行目の TotalTimeSeconds「1e11」はありえない値のため、"
                  "この運動は取り込みません (時間は 48 時間まで)。",
                  "laps.tcx: 2026/12/06 の運動 (Running): 距離「1800.00 km」は 0〜1000 km "
                  "の範囲を外れているため、取り込みません。",
                  "far.gpx: 2026/12/08 の運動: 距離「20015.09 km」は 0〜1000 km "
                  "の範囲を外れているため、取り込みません。",
              }));
}

TEST(ActivityDecoding, damagedFilesAreRefusedWithTheirReason)
{
    const std::string fit =
        fitRun(static_cast<std::uint32_t>(unixTime(2026, 12, 4, 7, 0)), 5000, 1500);
    std::string badFileCrc = fit;
    badFileCrc[20] = static_cast<char>(badFileCrc[20] ^ 0x01);
    std::string badHeaderCrc = fit;
    badHeaderCrc[12] = static_cast<char>(badHeaderCrc[12] ^ 0x01);
    std::string noHeaderCrc = fit.substr(0, fit.size() - 2); // 0 means "not computed"
    noHeaderCrc[12] = noHeaderCrc[13] = 0;
    const std::uint16_t crc = fitCrc(noHeaderCrc, noHeaderCrc.size());
    noHeaderCrc += static_cast<char>(crc & 0xff);
    noHeaderCrc += static_cast<char>(crc >> 8);
    const std::string truncated = fit.substr(0, fit.size() - 5);

    FitWriter undefined; // a data message of a local type never defined
    undefined.define(0, FitWriter::record, {{3, 1, FitWriter::uint8}});
    undefined.raw(std::string(1, '\x05'));

    const std::string gpxOnePoint = gpxTrack(unixTime(2026, 12, 4, 7, 0), 1, 10);
    const std::string gpx = gpxTrack(unixTime(2026, 12, 4, 7, 0), 3, 10);
    std::string badTime = gpx;
    badTime.replace(badTime.find("<time>") + 6, 4, "20XX");

    const std::string tcxCut = "<TrainingCenterDatabase><Activities><Activity><Id>"
                               "2026-12-04T06:30:00Z</Id><Lap><TotalTimeSeconds>60"
                               "</TotalTimeSeconds></Lap></Activity><Activity><Id>";
    const struct {
        const char *name;
        std::string bytes;
        std::string error; // empty: read
    } cases[] = {
        {"FIT as written", fit, ""},
        {"FIT header CRC 0", noHeaderCrc, ""},
        {"FIT file CRC", badFileCrc, activitytext::fitFileCrc},
        {"FIT header CRC", badHeaderCrc, activitytext::fitHeaderCrc},
        {"FIT cut short", truncated, activitytext::fitTruncated},
        {"FIT undefined message", undefined.file(),
         fillActivityText(activitytext::fitUndefinedMessage, {"23"})},
        {"binary named .gpx",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0<\x03>garbage",
                     20),
         activitytext::notActivityFile},
        {"empty", "", activitytext::notActivityFile},
        {"XML cut short", gpx.substr(0, gpx.size() / 2),
         fillActivityText(activitytext::xmlDamaged, {"4", "0"})},
        {"one timed point", gpxOnePoint, activitytext::tooFewTimedPoints},
        {"bad time", badTime,
         fillActivityText(activitytext::badTime, {"4", "20XX-12-04T07:00:00Z"})},
        {"TCX cut after a whole activity", tcxCut,
         fillActivityText(activitytext::xmlDamaged, {"1", "0"})},
        {"TCX without activities", "<TrainingCenterDatabase><Activities/></TrainingCenterDatabase>",
         activitytext::noActivity},
        {"TCX bad number",
         "<TrainingCenterDatabase><Activities><Activity><Id>2026-12-04T06:30:00Z</Id><Lap>\n"
         "<TotalTimeSeconds>-5</TotalTimeSeconds></Lap></Activity></Activities>"
         "</TrainingCenterDatabase>",
         fillActivityText(activitytext::badNumber, {"2", "TotalTimeSeconds", "-5"})},
    };
    for (const auto &c : cases) {
        const ActivityFile file = decodeActivityFile(c.bytes);
        if (c.error.find("XML") != std::string::npos) {
            // Where the reader stops depends on the cut; the message is the point.
            EXPECT_TRUE(file.error.find("XML が") == 0) << c.name << ": " << file.error;
        } else {
            EXPECT_EQ(file.error, c.error) << c.name;
        }
        EXPECT_EQ(file.activities.empty(), !c.error.empty()) << c.name;
    }
}

TEST(ActivityDecoding, theRootElementIsFoundPastAPrologOfAnyLength)
{
    const std::string longComment = "<!--" + std::string(5000, 'x') + "-->\n";
    const std::string doctype = "<!DOCTYPE gpx [\n<!-- a ] and a > in a comment -->\n"
                                "<!ATTLIST trk name CDATA \"]>\">\n]>\n";
    const struct {
        std::string bytes;
        bool complete;
        XmlRootState state;
        const char *name;
    } cases[] = {
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n" + longComment + "<gpx:gpx>", true,
         XmlRootState::found, "gpx"},
        {doctype + "<HealthData locale=\"ja_JP\">", true, XmlRootState::found, "HealthData"},
        {doctype.substr(0, doctype.size() - 4), false, XmlRootState::needMore, ""},
        {doctype.substr(0, doctype.size() - 4), true, XmlRootState::notXml, ""},
        {"<?xml version=\"1.0\"?>\n<Trai", false, XmlRootState::needMore, ""},
        {"text<gpx>", true, XmlRootState::notXml, ""},
        {"<!ELEMENT gpx ANY><gpx>", true, XmlRootState::notXml, ""},
    };
    for (const auto &c : cases) {
        const XmlRoot root = xmlRootElement(c.bytes, c.complete);
        EXPECT_EQ(root.state, c.state) << c.bytes.substr(0, 60);
        EXPECT_EQ(root.localName, c.name) << c.bytes.substr(0, 60);
    }
    // A watch's track behind a long comment is still a GPX.
    const std::string gpx = gpxTrack(unixTime(2026, 12, 4, 7, 0), 3, 10);
    std::string commented = gpx;
    commented.insert(commented.find("<gpx"), longComment);
    EXPECT_TRUE(decodeActivityFile(commented).ok()) << decodeActivityFile(commented).error;
}

TEST(ActivityDecoding, isoTimesAsGpxAndTcxWriteThem)
{
    const double noon = static_cast<double>(unixTime(2026, 12, 4, 12, 0));
    const struct {
        const char *text;
        std::optional<double> seconds;
    } cases[] = {
        {"2026-12-04T12:00:00Z", noon},
        {"2026-12-04T12:00:00.250Z", noon + 0.25},
        {"2026-12-04T21:00:00+09:00", noon},
        {"2026-12-04T06:30:00-0530", noon},
        {"2026-12-04T12:00:00", noon}, // no zone: UTC, as GPX prescribes
        {"2026-02-30T12:00:00Z", std::nullopt},
        {"2026-12-04", std::nullopt},
        {"2026-12-04T12:00:00Zjunk", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseIsoDateTime(c.text), c.seconds) << c.text;
}

TEST(RunImport, theDayIsTheLocalDayOfTheStart)
{
    const struct {
        const char *zone;
        std::int64_t start;
        Date day;
    } cases[] = {
        // 23:50 on 4 December in New York is already the 5th in UTC.
        {"America/New_York", unixTime(2026, 12, 5, 4, 50), makeDate(2026, 12, 4)},
        // 00:10 on the 5th in Tokyo is still the 4th in UTC.
        {"Asia/Tokyo", unixTime(2026, 12, 4, 15, 10), makeDate(2026, 12, 5)},
        {"Asia/Tokyo", unixTime(2026, 12, 4, 14, 50), makeDate(2026, 12, 4)},
    };
    for (const auto &c : cases) {
        const ScopedTimeZone zone(c.zone);
        const ActivityFile file =
            decodeActivityFile(fitRun(static_cast<std::uint32_t>(c.start), 5000, 1800));
        const ImportPlan plan = planOf({{"run.fit", file}});
        ASSERT_EQ(plan.rows.size(), 1u);
        EXPECT_EQ(plan.rows[0].day, c.day) << c.zone << " " << c.start;
    }
}

TEST(RunImport, sumsOfADayReplaceOrAddToItsFieldAndKeepTheRest)
{
    const ScopedTimeZone zone("UTC");
    const auto at = [](int day, int hour) {
        return static_cast<std::uint32_t>(unixTime(2026, 12, day, hour, 0));
    };
    const std::vector<std::pair<std::string, ActivityFile>> sources = {
        {"morning.fit", decodeActivityFile(fitRun(at(4, 7), 5004.9, 1500.4))},
        {"evening.fit", decodeActivityFile(fitRun(at(4, 18), 5005.0, 1500.5))},
        {"walk.fit", decodeActivityFile(fitRun(at(4, 12), 2000, 1200, 11))},
        {"ride.fit", decodeActivityFile(fitRun(at(5, 9), 30000, 3600, 2))},
        {"broken.gpx", decodeActivityFile("<gpx><trk>")},
        {"morning copy.fit", decodeActivityFile(fitRun(at(4, 7), 5004.9, 1500.4))},
    };
    CQuilloxDoc doc(makeDate(2026, 12, 8));
    putDay(doc, makeDate(2026, 12, 4), "memo", 65.5, 21, 3, 1200, 1, 600);
    const ImportPlan plan = planOf(sources, doc, {}, " hint");
    EXPECT_TRUE(plan.fileFailed);
    ASSERT_EQ(plan.problems.size(), 2u);
    EXPECT_EQ(plan.problems[0],
              fillActivityText(activitytext::refusedSport, {"ride.fit", "cycling"}) + " hint");
    EXPECT_EQ(plan.problems[1].rfind("broken.gpx: XML が", 0), 0u) << plan.problems[1];
    // The same recording twice counts once.
    EXPECT_EQ(plan.notes, std::vector<std::string>{fillActivityText(
                              activitytext::sameActivity, {"morning copy.fit", "morning.fit"})});

    CQuilloxDoc added = doc;
    doc.applyEdit(plan.edit());
    const DayRecord *day = doc.findDay(makeDate(2026, 12, 4));
    ASSERT_NE(day, nullptr);
    // 5.00 + 5.01 km (each rounded first), 1500 + 1501 s (to the nearest).
    EXPECT_EQ(*day, (DayRecord{makeDate(2026, 12, 4), 65.5, 21, 10.01, 3001, 2, 1200, "memo"}));
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 5)), nullptr) << "a refused ride stores nothing";

    // Importing the same files again with replace changes nothing.
    EXPECT_FALSE(planOf(sources, doc).hasChanges());

    ImportChoices adding;
    adding.addToDay = true;
    added.applyEdit(planOf(sources, added, adding).edit());
    day = added.findDay(makeDate(2026, 12, 4));
    EXPECT_EQ(*day, (DayRecord{makeDate(2026, 12, 4), 65.5, 21, 13.01, 4201, 3, 1800, "memo"}));

    // The user's field overrides every sport, the refused ride's too.
    CQuilloxDoc walked(makeDate(2026, 12, 8));
    ImportChoices asWalk;
    asWalk.runField = ActivityField::walk;
    const ImportPlan walkPlan = planOf(sources, walked, asWalk);
    EXPECT_EQ(walkPlan.problems.size(), 1u); // the broken file only
    EXPECT_EQ(walkPlan.changes.back().date, makeDate(2026, 12, 5));
    walked.applyEdit(walkPlan.edit());
    EXPECT_EQ(*walked.findDay(makeDate(2026, 12, 5)),
              (DayRecord{makeDate(2026, 12, 5), 0, 0, 0, 0, 30, 3600, ""}));
    EXPECT_EQ(walked.findDay(makeDate(2026, 12, 4))->walkDistance, 12.01);
}

} // namespace
