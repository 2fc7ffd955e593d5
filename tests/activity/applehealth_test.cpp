// Apple Health's export through the scanner and the full reader, on
// exports the tests write themselves.

#include "activity/activitytexts.h"
#include "activity/applehealth.h"
#include "activity/importformats.h"
#include "activity/textscan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string dtd = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<!DOCTYPE HealthData [\n"
                        "<!-- HealthKit Export Version: 14 -->\n"
                        "<!ELEMENT HealthData (ExportDate,Me,(Record|Correlation|Workout)*)>\n"
                        "<!ATTLIST HealthData\n  locale CDATA #REQUIRED\n>\n"
                        "<!ELEMENT Record ((MetadataEntry)*)>\n"
                        "<!ATTLIST Record\n  type CDATA #REQUIRED\n  unit CDATA #IMPLIED\n"
                        "  value CDATA #IMPLIED\n  startDate CDATA #REQUIRED\n>\n"
                        "<!ELEMENT ExportDate EMPTY>\n"
                        "<!ELEMENT Me (#PCDATA)>\n"
                        "]>\n";

std::string record(const std::string &type, const std::string &unit, const std::string &value,
                   const std::string &date, const std::string &inside = "")
{
    std::string element = " <Record type=\"HKQuantityTypeIdentifier" + type +
                          "\" sourceName=\"Health\" device=\"&lt;&lt;HKDevice&gt;, name:Scale, "
                          "manufacturer:A &amp; B&gt;\" unit=\"" +
                          unit + "\" creationDate=\"" + date + "\" startDate=\"" + date +
                          "\" endDate=\"" + date + "\" value=\"" + value + "\"";
    return element + (inside.empty() ? "/>\n" : ">\n" + inside + " </Record>\n");
}

std::string document(const std::string &body)
{
    return dtd +
           "<HealthData locale=\"ja_JP\">\n <ExportDate value=\"2027-01-20 12:00:00 +0900\"/>\n" +
           body + "</HealthData>\n";
}

// The clock as written, counted as Unix time counts.
double clock(int day, int hour, int minute)
{
    return *clockSecondsOf(2026, 12, day, hour, minute, 0);
}

void expectSame(const ActivityFile &a, const ActivityFile &b)
{
    EXPECT_EQ(a.error, b.error);
    EXPECT_EQ(a.refusals, b.refusals);
    ASSERT_EQ(a.weighings.size(), b.weighings.size());
    for (std::size_t i = 0; i < a.weighings.size(); ++i) {
        EXPECT_EQ(a.weighings[i].seconds, b.weighings[i].seconds);
        EXPECT_EQ(a.weighings[i].weightKg, b.weighings[i].weightKg);
        EXPECT_EQ(a.weighings[i].fatPercent, b.weighings[i].fatPercent);
    }
    ASSERT_EQ(a.activities.size(), b.activities.size());
    for (std::size_t i = 0; i < a.activities.size(); ++i) {
        EXPECT_EQ(a.activities[i].startSeconds, b.activities[i].startSeconds);
        EXPECT_EQ(a.activities[i].writtenClockSeconds, b.activities[i].writtenClockSeconds);
        EXPECT_EQ(a.activities[i].distanceMetres, b.activities[i].distanceMetres);
        EXPECT_EQ(a.activities[i].durationSeconds, b.activities[i].durationSeconds);
        EXPECT_EQ(a.activities[i].sport, b.activities[i].sport);
        EXPECT_EQ(a.activities[i].field, b.activities[i].field);
    }
}

// The document through the scanner in pieces of `size` bytes.
std::optional<ActivityFile> scanInPieces(const std::string &bytes, std::size_t size)
{
    AppleHealthScanner scanner;
    for (std::size_t at = 0; at < bytes.size(); at += size) {
        if (!scanner.feed(std::string_view(bytes).substr(at, size)))
            return std::nullopt;
    }
    return scanner.finish();
}

TEST(AppleHealth, recordsAndWorkoutsAsBothReadersReadThem)
{
    const std::string metadata = "  <MetadataEntry key=\"HKWasUserEntered\" value=\"1\"/>\n";
    const std::string body =
        record("BodyMass", "kg", "56.9", "2026-12-07 07:02:12 +0900", metadata) +
        record("BodyMass", "lb", "125.4", "2026-12-08 06:55:00 -0500") +
        record("BodyMass", "st", "9.1", "2026-12-09 07:00:00 +0000") +
        record("StepCount", "count", "5120", "2026-12-07 20:00:00 +0900") +
        // Fat as a fraction: the one at a mass's very moment joins it.
        record("BodyFatPercentage", "%", "0.235", "2026-12-07 07:02:12 +0900") +
        record("BodyFatPercentage", "%", "0.24", "2026-12-10 07:00:00 +0900") +
        // A record inside another element is not one of the export's own.
        " <Correlation type=\"X\">\n" +
        record("BodyMass", "kg", "99", "2026-12-11 07:00:00 +0900") +
        " </Correlation>\n"
        // Older exports: the distance on the Workout; newer ones: in its statistics.
        " <Workout workoutActivityType=\"HKWorkoutActivityTypeRunning\" duration=\"31.5\" "
        "durationUnit=\"min\" totalDistance=\"5.21\" totalDistanceUnit=\"km\" "
        "startDate=\"2026-12-12 07:30:00 +0900\" endDate=\"2026-12-12 08:01:30 +0900\"/>\n"
        " <Workout workoutActivityType=\"HKWorkoutActivityTypeWalking\" duration=\"40\" "
        "durationUnit=\"min\" startDate=\"2026-12-12 23:30:00 -0800\" "
        "endDate=\"2026-12-13 00:10:00 -0800\">\n"
        "  <WorkoutStatistics type=\"HKQuantityTypeIdentifierActiveEnergyBurned\" sum=\"99\" "
        "unit=\"kcal\"/>\n"
        "  <WorkoutStatistics type=\"HKQuantityTypeIdentifierDistanceWalkingRunning\" "
        "sum=\"2.5\" unit=\"mi\"/>\n"
        " </Workout>\n"
        " <Workout workoutActivityType=\"HKWorkoutActivityTypeHiking\" "
        "startDate=\"2026-12-14 09:00:00 +0900\" endDate=\"2026-12-14 12:00:00 +0900\"/>\n"
        " <Workout workoutActivityType=\"HKWorkoutActivityTypeCycling\" duration=\"60\" "
        "durationUnit=\"min\" totalDistance=\"20\" totalDistanceUnit=\"km\" "
        "startDate=\"2026-12-15 09:00:00 +0900\" endDate=\"2026-12-15 10:00:00 +0900\"/>\n";
    const std::string bytes = document(body);

    const ActivityFile full = readAppleHealthFully(bytes);
    ASSERT_TRUE(full.ok()) << full.error;
    EXPECT_EQ(full.format, ActivityFormat::appleHealth);
    ASSERT_EQ(full.weighings.size(), 3u);
    EXPECT_EQ(full.weighings[0].seconds, clock(7, 7, 2) + 12);
    EXPECT_TRUE(full.weighings[0].writtenClock);
    EXPECT_EQ(full.weighings[0].weightKg, 56.9);
    EXPECT_NEAR(full.weighings[0].fatPercent, 23.5, 1e-9);
    // The date as written, whatever its offset.
    EXPECT_EQ(full.weighings[1].seconds, clock(8, 6, 55));
    EXPECT_DOUBLE_EQ(full.weighings[1].weightKg, 125.4 * 0.45359237);
    EXPECT_EQ(full.weighings[2].weightKg, 0);
    EXPECT_NEAR(full.weighings[2].fatPercent, 24, 1e-9);
    EXPECT_EQ(full.refusals, std::vector<std::string>{fillActivityText(
                                 activitytext::healthBadUnit,
                                 {"2026-12-09 07:00:00 +0000", activitytext::healthWeight, "st"})});

    ASSERT_EQ(full.activities.size(), 3u);
    const Activity &run = full.activities[0];
    EXPECT_EQ(run.sport, "Running");
    EXPECT_EQ(run.field, ActivityField::jog);
    EXPECT_EQ(run.writtenClockSeconds, clock(12, 7, 30));
    EXPECT_EQ(run.startSeconds, clock(12, 7, 30) - 9 * 3600);
    EXPECT_DOUBLE_EQ(run.distanceMetres, 5210);
    EXPECT_DOUBLE_EQ(run.durationSeconds, 1890);
    const Activity &walk = full.activities[1];
    EXPECT_EQ(walk.field, ActivityField::walk);
    EXPECT_EQ(walk.writtenClockSeconds, clock(12, 23, 30));
    EXPECT_DOUBLE_EQ(walk.distanceMetres, 2.5 * 1609.344);
    const Activity &hike = full.activities[2];
    EXPECT_EQ(hike.field, ActivityField::walk);
    EXPECT_EQ(hike.distanceMetres, 0);
    EXPECT_EQ(hike.durationSeconds, 3 * 3600); // from its start and end

    // The scanner reads the same, whole or in pieces of any size.
    const std::optional<ActivityFile> quick = scanAppleHealth(bytes);
    ASSERT_TRUE(quick.has_value());
    expectSame(*quick, full);
    for (const std::size_t size : {1, 7, 100, 4096}) {
        const std::optional<ActivityFile> pieces = scanInPieces(bytes, size);
        ASSERT_TRUE(pieces.has_value()) << size;
        expectSame(*pieces, full);
    }
}

TEST(AppleHealth, theScannerLeavesToTheFullReaderWhatItCannotReadAsWritten)
{
    const std::string mass = record("BodyMass", "kg", "57", "2026-12-07 07:00:00 +0900");
    const struct {
        const char *name;
        std::string bytes;
        double weight; // as the full reader reads it; 0: refused with `error`
        std::string error;
    } cases[] = {
        {"a reference in a wanted attribute",
         document(record("BodyMass", "kg", "5&#55;.5", "2026-12-07 07:00:00 +0900")), 57.5, ""},
        {"a default from the DTD",
         [&] {
             std::string bytes = document(mass);
             bytes.replace(bytes.find("unit CDATA #IMPLIED"), 19, "unit CDATA \"lb\"");
             bytes.replace(bytes.find("unit=\"kg\" "), 10, "");
             return bytes;
         }(),
         57 * 0.45359237, ""},
        {"CDATA", document(" <Me><![CDATA[x]]></Me>\n" + mass), 57, ""},
        {"another encoding",
         [&] {
             std::string bytes = document(mass);
             bytes.replace(bytes.find("UTF-8"), 5, "ISO-8859-1");
             return bytes;
         }(),
         57, ""},
        // An entity must not expand, however little it holds: the file is refused.
        {"an entity",
         [&] {
             std::string bytes =
                 document(record("BodyMass", "kg", "&w;", "2026-12-07 07:00:00 +0900"));
             bytes.insert(bytes.find("<!ELEMENT Record"), "<!ENTITY w \"57\">\n");
             return bytes;
         }(),
         0, activitytext::entityDeclared},
        {"cut short", document(mass).substr(0, dtd.size() + 200), 0, "XML"},
    };
    for (const auto &c : cases) {
        EXPECT_FALSE(scanAppleHealth(c.bytes).has_value()) << c.name;
        const ActivityFile file = decodeAppleHealth(c.bytes);
        if (c.error.empty()) {
            ASSERT_TRUE(file.ok()) << c.name << ": " << file.error;
            ASSERT_EQ(file.weighings.size(), 1u) << c.name;
            EXPECT_DOUBLE_EQ(file.weighings[0].weightKg, c.weight) << c.name;
        } else {
            EXPECT_EQ(file.error.rfind(c.error, 0), 0u) << c.name << ": " << file.error;
            EXPECT_TRUE(file.weighings.empty()) << c.name;
        }
    }
}

} // namespace
