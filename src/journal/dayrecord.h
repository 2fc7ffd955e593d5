#pragma once

#include "journal/calendardate.h"

#include <string>

// One day's entry. In every numeric field 0 means "not entered".
struct DayRecord {
    Date date{};
    double weight = 0;       // kg
    double fatPercent = 0;   // percent
    double jogDistance = 0;  // km
    double jogDuration = 0;  // seconds
    double walkDistance = 0; // km
    double walkDuration = 0; // seconds
    // One-line stored form (see toStoredMemo), as code-page-932 bytes.
    std::string memo;

    bool operator==(const DayRecord &) const = default;
};

// Names one series of the journal: 0 to 5 are the stored values in the order
// of DayRecord (and of a day line in the file), the negative ones are derived.
enum SeriesIndex : int {
    seriesWeight = 0,
    seriesFatPercent = 1,
    seriesJogDistance = 2,
    seriesJogDuration = 3,
    seriesWalkDistance = 4,
    seriesWalkDuration = 5,
    seriesFatMass = -1,
    seriesLeanMass = -2,
};

inline constexpr int storedSeriesCount = 6;
