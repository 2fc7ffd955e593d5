// The weight exports of scales and health apps, and the telling apart of
// every kind of input by its content, on files the tests write themselves.

#include "activity/activitytexts.h"
#include "activity/importformats.h"
#include "activity/textscan.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// The local clock as the exports write it, counted as Unix time counts.
double clock(int year, int month, int day, int hour, int minute, int second = 0)
{
    return *clockSecondsOf(year, month, day, hour, minute, second);
}

struct Expected {
    double seconds;
    double weightKg;
    double fatPercent;
};

void expectWeighings(const ActivityFile &file, const std::vector<Expected> &expected)
{
    ASSERT_TRUE(file.ok()) << file.error;
    ASSERT_EQ(file.weighings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Weighing &w = file.weighings[i];
        EXPECT_TRUE(w.writtenClock);
        EXPECT_EQ(w.seconds, expected[i].seconds) << i;
        EXPECT_NEAR(w.weightKg, expected[i].weightKg, 1e-9) << i;
        EXPECT_NEAR(w.fatPercent, expected[i].fatPercent, 1e-9) << i;
    }
}

TEST(ImportFormats, eachKindIsToldByItsContent)
{
    const std::string fit = std::string("\x0e\x20\x08\x08\0\0\0\0.FIT", 12);
    const struct {
        std::string head;
        bool complete;
        std::optional<ImportKind> kind;
    } cases[] = {
        {fit, false, ImportKind::fit},
        {"PK\x03\x04", false, ImportKind::zip},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?><gpx>", false, ImportKind::gpx},
        {"<TrainingCenterDatabase>", false, ImportKind::tcx},
        {"<!DOCTYPE HealthData [\n<!ATTLIST HealthData locale CDATA #REQUIRED>\n]>\n<HealthData>",
         false, ImportKind::appleHealth},
        {"<!DOCTYPE HealthData [\n<!ATTLIST", false, std::nullopt},
        {"<kml>", true, ImportKind::unknown},
        {"[{\"weight\":125.0", false, ImportKind::fitbitJson},
        {" [\n ", false, std::nullopt},
        {"[1, 2]", true, ImportKind::unknown},
        {"\"dateTime\",\"weight\",\"fat\"\n", false, ImportKind::openScaleCsv},
        {"\"biceps\",\"dateTime\",\"weight\"", false, std::nullopt},
        {"\"biceps\",\"dateTime\",\"weight\"", true, ImportKind::openScaleCsv},
        {"DATE,TIME,WEIGHT,BODY_FAT\r\n", false, ImportKind::openScaleCsv},
        {"Date,\"Weight (lb)\",\"Fat mass (lb)\"\n", false, ImportKind::withingsCsv},
        {"Date,\"Height (m)\"\n", false, ImportKind::unknown},
        {std::string(70000, '\0'), false, ImportKind::unknown},
        {"", true, ImportKind::unknown},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sniffImportKind(c.head, c.complete), c.kind) << c.head.substr(0, 40);
}

TEST(ImportFormats, openScaleInBothLayoutsAndBothDateForms)
{
    // Columns in any order, others ignored; a comment holding a comma, a
    // doubled quote and a line break; 0 or nothing is "not measured".
    const std::string older = "\"comment\",\"fat\",\"weight\",\"dateTime\",\"water\"\n"
                              "\"said \"\"ok\"\", then\nleft\",23.8,56.8,2026-12-07 06:40,55.0\n"
                              ",0.0,56.9,08.12.2026 06:41,\n"
                              "\"\",24.1,,2026-12-09 06:42,\n"
                              ",,0,2026-12-10 06:43,\n"
                              ",abc,56.5,2026-12-11 06:44,\n"
                              ",,56.5,2026-13-11 06:44,\n";
    const ActivityFile file = decodeOpenScaleCsv(older);
    expectWeighings(file, {{clock(2026, 12, 7, 6, 40), 56.8, 23.8},
                           {clock(2026, 12, 8, 6, 41), 56.9, 0},
                           {clock(2026, 12, 9, 6, 42), 0, 24.1}});
    EXPECT_EQ(file.refusals,
              (std::vector<std::string>{
                  fillActivityText(activitytext::notANumber, {"7", "fat", "abc"}),
                  fillActivityText(activitytext::badTime, {"8", "2026-13-11 06:44"})}));

    const std::string later = "\"DATE\",\"TIME\",\"WEIGHT\",\"BODY_FAT\",\"WATER\"\r\n"
                              "2026-12-07,06:40:12,56.8,23.8,\r\n"
                              "2026-12-08,,56.7,,\r\n";
    expectWeighings(decodeOpenScaleCsv(later), {{clock(2026, 12, 7, 6, 40, 12), 56.8, 23.8},
                                                {clock(2026, 12, 8, 0, 0), 56.7, 0}});

    const ActivityFile open = decodeOpenScaleCsv("\"dateTime\",\"weight\"\n"
                                                 "2026-12-07 06:40,56.8\n\"2026-12-08 06:40,57\n");
    EXPECT_EQ(open.error, fillActivityText(activitytext::openQuote, {"3"}));
    EXPECT_TRUE(open.weighings.empty());
}

TEST(ImportFormats, withingsFatMassBecomesAShareOfTheWeightInKgOrPounds)
{
    const std::string kilograms =
        "Date,\"Weight (kg)\",\"Fat mass (kg)\",\"Bone mass (kg)\",Comments\n"
        "2026-12-09 21:30:00,57.80,,,\n"
        "\"2026-12-09 07:07:12\",56.78,13.24,3.10,\n"
        "2026-12-08 07:06:12,,13.25,,\n";
    expectWeighings(decodeWithingsCsv(kilograms),
                    {{clock(2026, 12, 9, 21, 30), 57.8, 0},
                     {clock(2026, 12, 9, 7, 7, 12), 56.78, 13.24 / 56.78 * 100}});

    const std::string pounds = "Date,\"Weight (lb)\",\"Fat mass (lb)\"\n"
                               "2026-12-09 07:07:12,125.20,29.20\n";
    expectWeighings(decodeWithingsCsv(pounds),
                    {{clock(2026, 12, 9, 7, 7, 12), 125.2 * 0.45359237, 29.2 / 125.2 * 100}});
}

TEST(ImportFormats, fitbitNeedsItsUnitNamed)
{
    const std::string json =
        "[{\"logId\":1,\"weight\":125.0,\"bmi\":28.91,\"fat\":23.1,\"date\":\"12/08/26\","
        "\"time\":\"06:55:12\",\"source\":\"Aria\",\"extra\":{\"a\":[1,2,{}]}},\n"
        " {\"weight\":124.7,\"date\":\"12/09/26\",\"time\":\"06:55:12\"},\n"
        " {\"weight\":\"heavy\",\"date\":\"12/10/26\",\"time\":\"06:55:12\"},\n"
        " {\"weight\":124.0,\"date\":\"2026-12-11\",\"time\":\"06:55:12\"},\n"
        " 7]";
    const ActivityFile unnamed = decodeFitbitJson(json, std::nullopt);
    EXPECT_TRUE(unnamed.needsWeightUnit);
    EXPECT_EQ(unnamed.error, activitytext::needsWeightUnit);
    EXPECT_TRUE(unnamed.weighings.empty());

    const ActivityFile pounds = decodeFitbitJson(json, WeightUnit::lb);
    expectWeighings(pounds, {{clock(2026, 12, 8, 6, 55, 12), 125.0 * 0.45359237, 23.1},
                             {clock(2026, 12, 9, 6, 55, 12), 124.7 * 0.45359237, 0}});
    EXPECT_EQ(pounds.refusals,
              (std::vector<std::string>{
                  fillActivityText(activitytext::notANumber, {"3", "weight", "heavy"}),
                  fillActivityText(activitytext::badTime, {"4", "2026-12-11 06:55:12"}),
                  fillActivityText(activitytext::jsonNotARecord, {"5"})}));
    EXPECT_EQ(decodeFitbitJson(json, WeightUnit::kg).weighings[0].weightKg, 125.0);

    // A damaged file says so before it asks for a unit.
    EXPECT_EQ(decodeFitbitJson("[{\"weight\":1,\n\"date\":}]", std::nullopt).error,
              fillActivityText(activitytext::jsonDamaged, {"2"}));
}

} // namespace
