#pragma once

#include "journal/dayrecord.h"

#include <string>

// One day's line of the journal list, as code-page-932 bytes: the layout of
// the C format "%04d/%02d/%02d %6.2f %5.1f %4.1f %9s %4.1f %9s %s"
// (date, weight, body fat, jog distance and time, walk distance and time,
// memo in its stored one-line form), written in the C locale whatever locale
// the application runs in. In a fixed-pitch face the columns line up.
std::string listLine(const DayRecord &entry);
