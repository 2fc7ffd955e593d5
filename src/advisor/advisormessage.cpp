#include "advisor/advisormessage.h"

#include "advisor/advisortexts.h"
#include "journal/cquilloxdoc.h"
#include "journal/numbertext.h"
#include "text/cp932.h"
#include "text/entrytext.h"
#include "trend/trend.h"

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <variant>

namespace {

// The seven days of the summary end with the selected day.
constexpr int summaryDays = 7;
// Activity is judged over the last fourteen days, today included, and only
// once the journal is at least that old.
constexpr std::chrono::days activityPeriod{14};
constexpr int praisedActiveDays = 10;
// One kilocalorie per kilogram of body weight and kilometre run.
constexpr double kcalPerKgKm = 1.0;
// Grams of body fat per kilocalorie (1 / 7.2).
constexpr double fatGramsPerKcal = 0.1388888888888889;

struct BmiThresholds {
    double low;
    double high;
};
constexpr BmiThresholds maleBmi{20, 26};
constexpr BmiThresholds femaleBmi{19, 25};
constexpr double obesityClass2Bmi = 30;
constexpr double obesityClass3Bmi = 35;
constexpr double obesityClass4Bmi = 40;

const char *bmiCategory(double bmi, bool male)
{
    const BmiThresholds limits = male ? maleBmi : femaleBmi;
    int category = 5;
    if (bmi <= limits.low) {
        category = 0;
    } else if (bmi < limits.high) {
        category = 1;
    } else if (bmi < obesityClass2Bmi) {
        category = 2;
    } else if (bmi < obesityClass3Bmi) {
        category = 3;
    } else if (bmi < obesityClass4Bmi) {
        category = 4;
    }
    return advisortexts::bmiCategories[category];
}

// printf's "%d" of a truncated double is undefined outside the int range; a
// damaged or absurd journal must not reach that, so the value is clamped.
int truncatedToInt(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

using FormatArgument = std::variant<double, int, std::string_view>;

// The message's own small printf: "%5.2f", "%d", "%s" and "%%", taking the
// arguments in order. The formats are the program's own constants.
void appendFormatted(std::string &out, std::string_view format,
                     std::initializer_list<FormatArgument> arguments)
{
    const FormatArgument *next = arguments.begin();
    std::size_t pos = 0;
    while (pos < format.size()) {
        const std::size_t percent = format.find('%', pos);
        out.append(format.substr(pos, percent - pos));
        if (percent == std::string_view::npos) {
            break;
        }
        const std::string_view directive = format.substr(percent + 1);
        if (directive.starts_with('%')) {
            out += '%';
            pos = percent + 2;
            continue;
        }
        std::size_t directiveLength = 1;
        if (directive.starts_with("5.2f")) {
            appendFixedNumber(out, std::get<double>(*next++), 2, 5);
            directiveLength = 4;
        } else if (directive.starts_with(".2f")) {
            appendFixedNumber(out, std::get<double>(*next++), 2, 0);
            directiveLength = 3;
        } else if (directive.starts_with("+.2f")) {
            // printf's sign: a value that rounds to zero from below stays "-0.00".
            const double value = std::get<double>(*next++);
            if (!std::signbit(value) || std::isnan(value)) {
                out += '+';
            }
            appendFixedNumber(out, value, 2, 0);
            directiveLength = 4;
        } else if (directive.starts_with('d')) {
            appendPaddedInteger(out, std::get<int>(*next++));
        } else {
            out.append(std::get<std::string_view>(*next++));
        }
        pos = percent + 1 + directiveLength;
    }
}

bool journalOldEnoughToJudgeActivity(const CQuilloxDoc &document, Date today)
{
    const DayRecord *first = document.firstDay();
    return first && today - first->date >= activityPeriod;
}

void appendDayFigures(std::string &out, const CQuilloxDoc &document, const DayRecord &day)
{
    const double weight = day.weight;
    const double fat = day.fatPercent;
    const double height = document.userInfo().height;
    if (weight != 0 && height != 0) {
        const double metres = height * 0.01;
        const double bmi = weight / (metres * metres);
        appendFormatted(out, advisortexts::bmiLine,
                        {weight, bmi, bmiCategory(bmi, document.userInfo().sex)});
    }
    if (weight != 0 && fat != 0) {
        const double fatMass = weight * fat * 0.01;
        appendFormatted(out, advisortexts::massLine, {fatMass, weight - fatMass});
    }
    const double targetWeight = document.objective().weight;
    if (weight != 0 && targetWeight != 0 && weight > targetWeight) {
        appendFormatted(out, advisortexts::targetWeightLine, {weight - targetWeight});
    }
    const double targetFat = document.objective().fatPercent;
    if (fat != 0 && targetFat != 0 && fat > targetFat) {
        appendFormatted(out, advisortexts::targetFatLine, {fat - targetFat});
    }
}

void appendWeekSummary(std::string &out, const CQuilloxDoc &document, Date selectedDate)
{
    const Date first = selectedDate - std::chrono::days{summaryDays - 1};
    std::string summary;
    const double meanWeight = document.averageOverDays(seriesWeight, first, summaryDays);
    if (meanWeight != 0) {
        appendFormatted(summary, advisortexts::averageWeightLine, {meanWeight});
    }
    const double meanFat = document.averageOverDays(seriesFatPercent, first, summaryDays);
    if (meanFat != 0) {
        appendFormatted(summary, advisortexts::averageFatLine, {meanFat});
    }
    const double distance = document.sumOverDays(seriesJogDistance, first, summaryDays);
    if (distance != 0) {
        appendFormatted(summary, advisortexts::jogDistanceLine, {distance});
        if (meanWeight != 0) {
            const double kcal = distance * meanWeight * kcalPerKgKm;
            appendFormatted(summary, advisortexts::energyLine,
                            {kcal, truncatedToInt(kcal * fatGramsPerKcal)});
        }
    }
    const double duration = document.sumOverDays(seriesJogDuration, first, summaryDays);
    if (duration != 0) {
        const std::string text = formatDuration(duration);
        appendFormatted(summary, advisortexts::jogDurationLine, {std::string_view(text)});
    }
    if (!summary.empty()) {
        appendFormatted(out, advisortexts::summaryHeading, {dayOf(first), dayOf(selectedDate)});
        out += summary;
    }
}

void appendActivityRemark(std::string &out, const CQuilloxDoc &document, Date today,
                          const RandomSource &random)
{
    if (!journalOldEnoughToJudgeActivity(document, today)) {
        return;
    }
    const int activeDays =
        document.countExerciseDays(today - (activityPeriod - std::chrono::days{1}), today);
    if (activeDays >= praisedActiveDays) {
        out += advisortexts::praiseLine;
        out += advisortexts::keepItUpLine;
    } else if (activeDays == 0 && random() % 3 == 0) {
        out += advisortexts::absenceLine;
    }
}

void appendCountdown(std::string &out, const Objective &objective, Date today)
{
    if (objective.eventName.empty()) {
        return;
    }
    // Calendar days, so that a daylight-saving change in between costs no day.
    const auto daysLeft = (objective.eventDate - today).count();
    if (daysLeft > 0) {
        const std::string name = decodeCp932(objective.eventName).utf8;
        // Journal years end at 9999, so the count fits an int.
        appendFormatted(out, advisortexts::countdownLine,
                        {std::string_view(name), static_cast<int>(daysLeft)});
    }
}

void appendTrendLines(std::string &out, const JournalTrends &trends, double targetWeight,
                      Date selectedDate)
{
    const std::optional<double> pace = trends.weight.paceOn(selectedDate);
    if (pace) {
        // A pace needs trend points on or before the day, so the trend is there.
        appendFormatted(out, advisortexts::trendPaceLine,
                        {*trends.weight.trendOn(selectedDate), *pace});
    }
    const GoalOutlook outlook = goalOutlook(trends.weight, targetWeight, selectedDate);
    if (outlook.reached) {
        out += advisortexts::trendReachedLine;
    } else if (outlook.daysLeft) {
        const Date arrival = *outlook.arrival;
        appendFormatted(out, advisortexts::trendForecastLine,
                        {*outlook.daysLeft, yearOf(arrival), monthOf(arrival), dayOf(arrival)});
    }
}

} // namespace

int standardRandom()
{
    return std::rand();
}

std::string composeAdvisorMessage(const CQuilloxDoc &document, Date selectedDate, Date today,
                                  const RandomSource &random, const JournalTrends *trends)
{
    std::string message;
    const bool selectedIsToday = selectedDate == today;
    const UserInfo &user = document.userInfo();

    if (selectedIsToday && monthOf(today) == user.birthMonth && dayOf(today) == user.birthDay) {
        appendFormatted(message, advisortexts::birthdayGreeting, {yearOf(today) - user.birthYear});
    }
    if (const DayRecord *day = document.findDay(selectedDate)) {
        appendDayFigures(message, document, *day);
    }
    // With or without an entry on the day: the trend carries over the gaps.
    if (trends) {
        appendTrendLines(message, *trends, document.objective().weight, selectedDate);
    }
    appendWeekSummary(message, document, selectedDate);
    if (selectedIsToday) {
        appendActivityRemark(message, document, today, random);
        appendCountdown(message, document.objective(), today);
    }
    if (message.empty()) {
        message = advisortexts::encouragement;
    }
    return message;
}
