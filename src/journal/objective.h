#pragma once

#include "journal/calendardate.h"

#include <cstdint>
#include <string>

// The user's purpose and targets, section "[objective]" of the journal file.
struct Objective {
    std::int32_t intention = -1; // -1 when none is chosen, else 0 to 5
    double weight = 0;           // kg
    double fatPercent = 0;       // percent
    double jogDistanceMonth = 0; // km per month
    std::string eventName;       // code-page-932 bytes
    // The document sets it to the day it is given as today whenever it
    // resets; a member initialiser reading the clock would make two objects
    // made a moment apart differ across midnight.
    Date eventDate{};

    bool operator==(const Objective &) const = default;
};
