#include "journal/calendardate.h"

#include "journal/numbertext.h"

#include <ctime>

std::optional<Date> dateFromYmd(int year, int month, int day)
{
    if (year < minJournalYear || year > maxJournalYear || month < 1 || month > 12 || day < 1 ||
        day > 31) {
        return std::nullopt;
    }
    const std::chrono::year_month_day ymd{std::chrono::year{year},
                                          std::chrono::month{static_cast<unsigned>(month)},
                                          std::chrono::day{static_cast<unsigned>(day)}};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    return Date{ymd};
}

Date makeDate(int year, int month, int day)
{
    return Date{std::chrono::year_month_day{std::chrono::year{year},
                                            std::chrono::month{static_cast<unsigned>(month)},
                                            std::chrono::day{static_cast<unsigned>(day)}}};
}

int yearOf(Date date)
{
    return static_cast<int>(std::chrono::year_month_day{date}.year());
}

int monthOf(Date date)
{
    return static_cast<int>(static_cast<unsigned>(std::chrono::year_month_day{date}.month()));
}

int dayOf(Date date)
{
    return static_cast<int>(static_cast<unsigned>(std::chrono::year_month_day{date}.day()));
}

std::string formatDate(Date date)
{
    const std::chrono::year_month_day ymd{date};
    const int year = static_cast<int>(ymd.year());
    const unsigned month = static_cast<unsigned>(ymd.month());
    const unsigned day = static_cast<unsigned>(ymd.day());
    // Not strftime: the journal's dates do not depend on the C locale.
    std::string text;
    text.reserve(10);
    appendPaddedInteger(text, year, 4);
    text.push_back('/');
    appendPaddedInteger(text, month, 2);
    text.push_back('/');
    appendPaddedInteger(text, day, 2);
    return text;
}

Date todayDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return makeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}
