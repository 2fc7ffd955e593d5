#include "cli/journalcheck.h"

#include "cli/clitexts.h"
#include "journal/cquilloxdoc.h"
#include "journal/numbertext.h"
#include "text/cp932.h"

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

// The names of a day line's six values, in file order.
constexpr std::array<const char *, 6> dayValueNames{
    clitext::valueWeight,      clitext::valueFatPercent,   clitext::valueJogDistance,
    clitext::valueJogDuration, clitext::valueWalkDistance, clitext::valueWalkDuration,
};

std::string alteredMessage(const AlteredValue &value)
{
    // The word as the user typed it into the file (code page 932).
    const std::string word = decodeCp932(value.word).utf8;
    switch (value.kind) {
    case AlteredValue::Kind::dateText:
        return fillText(clitext::checkDateText, {word});
    case AlteredValue::Kind::notANumber:
        return fillText(clitext::checkNotANumber,
                        {dayValueNames[static_cast<std::size_t>(value.field - 1)], word,
                         generalNumberText(value.value)});
    case AlteredValue::Kind::rounded:
        break;
    }
    return fillText(clitext::checkRoundedWord,
                    {dayValueNames[static_cast<std::size_t>(value.field - 1)], word,
                     generalNumberText(value.value)});
}

class FindingReporter : public JournalScanReport {
  public:
    explicit FindingReporter(const std::function<void(const CheckFinding &)> &report)
        : report_(report)
    {
    }
    void dropped(const DroppedLine &line) override
    {
        emit({line.lineNumber, droppedMessage(line.kind)});
    }
    void altered(const AlteredValue &value) override
    {
        emit({value.lineNumber, alteredMessage(value)});
    }
    // A setting's value a store writes with "%g" and a load reads back as
    // another double.
    void noteRounded(std::string_view what, double value)
    {
        const std::string written = generalNumberText(value);
        if (leadingDecimalNumber(written) == value) {
            return;
        }
        // Seventeen significant digits name the double the file holds exactly.
        std::array<char, 40> exact{};
        std::snprintf(exact.data(), exact.size(), "%.17g", value);
        emit({0, fillText(clitext::checkRounded,
                          {clitext::valueSettings, what, exact.data(), written})});
    }
    std::size_t count() const { return count_; }

  private:
    void emit(const CheckFinding &finding)
    {
        ++count_;
        report_(finding);
    }

    const std::function<void(const CheckFinding &)> &report_;
    std::size_t count_ = 0;
};

} // namespace

std::size_t checkJournalText(std::string_view bytes,
                             const std::function<void(const CheckFinding &)> &report)
{
    FindingReporter reporter(report);
    CQuilloxDoc document;
    document.scanJournalText(bytes, reporter);
    reporter.noteRounded(clitext::valueHeight, document.userInfo().height);
    reporter.noteRounded(clitext::valueTargetWeight, document.objective().weight);
    reporter.noteRounded(clitext::valueTargetFat, document.objective().fatPercent);
    reporter.noteRounded(clitext::valueJogDistanceMonth, document.objective().jogDistanceMonth);
    return reporter.count();
}

std::vector<CheckFinding> checkJournalText(std::string_view bytes)
{
    std::vector<CheckFinding> findings;
    checkJournalText(bytes,
                     [&findings](const CheckFinding &finding) { findings.push_back(finding); });
    return findings;
}

std::string checkFindingLine(std::string_view name, const CheckFinding &finding)
{
    std::string line = finding.lineNumber > 0
                           ? fillText(clitext::checkLine,
                                      {name, std::to_string(finding.lineNumber), finding.message})
                           : std::string(name) + ": " + finding.message;
    line += '\n';
    return line;
}

std::string checkSummaryLine(std::string_view name, std::size_t findingCount)
{
    return (findingCount == 0
                ? fillText(clitext::checkClean, {name})
                : fillText(clitext::checkSummary, {name, std::to_string(findingCount)})) +
           "\n";
}

std::string checkReport(std::string_view name, const std::vector<CheckFinding> &findings)
{
    std::string report;
    for (const CheckFinding &finding : findings) {
        report += checkFindingLine(name, finding);
    }
    report += checkSummaryLine(name, findings.size());
    return report;
}
