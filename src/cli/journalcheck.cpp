#include "cli/journalcheck.h"

#include "cli/clitexts.h"
#include "journal/cquilloxdoc.h"
#include "journal/numbertext.h"

#include <algorithm>
#include <array>

namespace {

using clitext::fillText;

const char *droppedMessage(DroppedLine::Kind kind)
{
    switch (kind) {
    case DroppedLine::Kind::noDate:
        return clitext::checkNoDate;
    case DroppedLine::Kind::impossibleDate:
        return clitext::checkImpossibleDate;
    case DroppedLine::Kind::replacedDay:
        return clitext::checkReplacedDay;
    case DroppedLine::Kind::unknownSection:
        return clitext::checkUnknownSection;
    case DroppedLine::Kind::notASetting:
        return clitext::checkNotASetting;
    case DroppedLine::Kind::unknownKey:
        return clitext::checkUnknownKey;
    }
    return clitext::checkNotASetting;
}

// A value a store writes with "%g" and a load reads back as another double.
void noteRounded(std::vector<CheckFinding> &findings, std::string_view where, std::string_view what,
                 double value)
{
    const std::string written = generalNumberText(value);
    if (leadingDecimalNumber(written) == value) {
        return;
    }
    // Seventeen significant digits name the double the file holds exactly.
    std::array<char, 40> exact{};
    std::snprintf(exact.data(), exact.size(), "%.17g", value);
    findings.push_back({0, fillText(clitext::checkRounded, {where, what, exact.data(), written})});
}

} // namespace

std::vector<CheckFinding> checkJournalText(std::string_view bytes)
{
    CQuilloxDoc document;
    std::vector<DroppedLine> dropped;
    // The event date's default is no part of what a store loses.
    document.loadJournalText(bytes, Date{}, &dropped);
    std::sort(dropped.begin(), dropped.end(), [](const DroppedLine &a, const DroppedLine &b) {
        return a.lineNumber < b.lineNumber;
    });

    std::vector<CheckFinding> findings;
    for (const DroppedLine &line : dropped) {
        findings.push_back({line.lineNumber, droppedMessage(line.kind)});
    }

    noteRounded(findings, clitext::valueSettings, clitext::valueHeight, document.userInfo.height);
    noteRounded(findings, clitext::valueSettings, clitext::valueTargetWeight,
                document.objective.weight);
    noteRounded(findings, clitext::valueSettings, clitext::valueTargetFat,
                document.objective.fatPercent);
    noteRounded(findings, clitext::valueSettings, clitext::valueJogDistanceMonth,
                document.objective.jogDistanceMonth);
    static constexpr std::array<std::pair<double DayRecord::*, const char *>, 6> dayValues{{
        {&DayRecord::weight, clitext::valueWeight},
        {&DayRecord::fatPercent, clitext::valueFatPercent},
        {&DayRecord::jogDistance, clitext::valueJogDistance},
        {&DayRecord::jogDuration, clitext::valueJogDuration},
        {&DayRecord::walkDistance, clitext::valueWalkDistance},
        {&DayRecord::walkDuration, clitext::valueWalkDuration},
    }};
    for (const auto &[date, day] : document.dayList()) {
        const std::string where = formatDate(date);
        for (const auto &[field, what] : dayValues) {
            noteRounded(findings, where, what, day.*field);
        }
    }
    return findings;
}

std::string checkReport(std::string_view name, const std::vector<CheckFinding> &findings)
{
    std::string report;
    for (const CheckFinding &finding : findings) {
        if (finding.lineNumber > 0) {
            report += fillText(clitext::checkLine,
                               {name, std::to_string(finding.lineNumber), finding.message});
        } else {
            report += std::string(name) + ": " + finding.message;
        }
        report += '\n';
    }
    report += findings.empty()
                  ? fillText(clitext::checkClean, {name})
                  : fillText(clitext::checkSummary, {name, std::to_string(findings.size())});
    report += '\n';
    return report;
}
