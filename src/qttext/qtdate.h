#pragma once

#include "journal/calendardate.h"

#include <QDate>

// The journal's days as QDate counts them. Through the Julian day number,
// which QDate keeps for every year the journal holds (QDate::fromStdSysDays
// needs a newer C++ library than this platform's).
inline constexpr qint64 julianDayOfUnixEpoch = 2440588;

inline QDate toQDate(Date date)
{
    return QDate::fromJulianDay(date.time_since_epoch().count() + julianDayOfUnixEpoch);
}

inline Date fromQDate(QDate date)
{
    return Date{std::chrono::days{date.toJulianDay() - julianDayOfUnixEpoch}};
}
