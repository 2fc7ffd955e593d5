#pragma once

#include <chrono>
#include <optional>
#include <string>

// Journal dates are local calendar days. Day arithmetic is done on whole days
// (sys_days), never as "midnight + 86400 s", which is wrong on the days when
// daylight saving time starts or ends.
using Date = std::chrono::sys_days;

// Years outside this range cannot be written back as four-digit years.
inline constexpr int minJournalYear = 1;
inline constexpr int maxJournalYear = 9999;

// The day y/m/d when it is a real calendar day within the journal's years.
std::optional<Date> dateFromYmd(int year, int month, int day);

// A date the caller knows to be valid (constants, tests).
Date makeDate(int year, int month, int day);

int yearOf(Date date);
int monthOf(Date date);
int dayOf(Date date);

// "%Y/%m/%d": four-digit year, two-digit month and day, zero-padded.
std::string formatDate(Date date);

// The local calendar date now.
Date todayDate();
