#include "trend/summarytable.h"

#include "journal/numbertext.h"
#include "text/entrytext.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

std::string figure(double value)
{
    std::string text;
    appendFixedNumber(text, value, 2, 0);
    return text;
}

std::string figure(const std::optional<double> &value)
{
    return value ? figure(*value) : std::string();
}

double sortKey(const std::optional<double> &value)
{
    return value.value_or(std::numeric_limits<double>::lowest());
}

} // namespace

const SummaryRowTexts &summaryColumnTitles()
{
    static const SummaryRowTexts titles{
        "月",      "日数",    "平均体重", "最小体重", "最大体重",     "平均体脂肪率",
        "Jog距離", "Jog時間", "Walk距離", "Walk時間", "消費カロリー",
    };
    return titles;
}

SummaryRowTexts summaryColumnHeadings()
{
    static const std::array<const char *, summaryColumnCount> units{
        "", "", "kg", "kg", "kg", "%", "km", "", "km", "", "kcal"};
    SummaryRowTexts headings = summaryColumnTitles();
    for (std::size_t c = 0; c < summaryColumnCount; ++c) {
        if (*units[c])
            headings[c] += std::string(" (") + units[c] + ")";
    }
    return headings;
}

bool isSummaryNumberColumn(std::size_t column)
{
    return column > 0;
}

SummaryRowTexts summaryRowTexts(const MonthSummary &row)
{
    std::string month;
    appendPaddedInteger(month, row.year, 4);
    month += '/';
    appendPaddedInteger(month, row.month, 2);
    return {month,
            std::to_string(row.days),
            figure(row.weightMean),
            figure(row.weightMin),
            figure(row.weightMax),
            figure(row.fatMean),
            figure(row.jogKm),
            formatDuration(row.jogSeconds),
            figure(row.walkKm),
            formatDuration(row.walkSeconds),
            figure(row.kcal)};
}

SummarySortKeys summarySortKeys(const MonthSummary &row)
{
    return {static_cast<double>(row.year * 12 + row.month - 1),
            static_cast<double>(row.days),
            sortKey(row.weightMean),
            sortKey(row.weightMin),
            sortKey(row.weightMax),
            sortKey(row.fatMean),
            row.jogKm,
            row.jogSeconds,
            row.walkKm,
            row.walkSeconds,
            sortKey(row.kcal)};
}

std::vector<SummaryRowTexts> summaryTableRows(const std::vector<MonthSummary> &months)
{
    std::vector<SummaryRowTexts> rows;
    rows.reserve(months.size());
    for (auto it = months.rbegin(); it != months.rend(); ++it)
        rows.push_back(summaryRowTexts(*it));
    return rows;
}

std::string summaryTabText(const std::vector<SummaryRowTexts> &rows)
{
    std::string text;
    const auto appendLine = [&text](const SummaryRowTexts &fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0)
                text += '\t';
            text += fields[i];
        }
        text += '\n';
    };
    appendLine(summaryColumnTitles());
    for (const SummaryRowTexts &row : rows)
        appendLine(row);
    return text;
}

std::string summaryPrintTitle(std::string title, const std::string &userName,
                              const std::vector<SummaryRowTexts> &rows, Date printed)
{
    if (!userName.empty())
        title += "\u3000" + userName;
    if (!rows.empty()) {
        const std::string &a = rows.front()[0];
        const std::string &b = rows.back()[0];
        title += "\u3000" + std::min(a, b);
        if (a != b)
            title += "\uff5e" + std::max(a, b);
    }
    title += "\u3000" + formatDate(printed) + " 印刷";
    return title;
}
