#pragma once

#include "journal/calendardate.h"

#include <functional>
#include <string>

class CQuilloxDoc;
struct JournalTrends;

// Draws one pseudo-random non-negative integer. Only the share of draws
// divisible by three matters to the advisor (about one in three).
using RandomSource = std::function<int()>;

// std::rand, which the application seeds from the clock at start-up.
int standardRandom();

// The mascot's words on `selectedDate`: birthday greeting, body-mass index and
// its category, fat and lean mass, what is left to the targets, the seven days
// up to the selected day, and, when the selected day is `today`, the recent
// activity and the days left to the event; an encouragement when none of these
// has anything to say. UTF-8, lines separated by CR LF, numbers written with a
// '.' whatever the locale. `random` is drawn at most once, only when the last
// fourteen days hold no exercise. The pane and the command line both use it.
// With trends (the trend line switched on), the weight trend's pace and the
// outlook on the target weight follow the day's own figures.
std::string composeAdvisorMessage(const CQuilloxDoc &document, Date selectedDate, Date today,
                                  const RandomSource &random = standardRandom,
                                  const JournalTrends *trends = nullptr);
