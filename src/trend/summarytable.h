#pragma once

#include "trend/monthlysummary.h"

#include <array>
#include <string>
#include <vector>

// The monthly summary as the window shows, copies and prints it: UTF-8 texts,
// one row per month, newest first.

inline constexpr std::size_t summaryColumnCount = 11;
using SummaryRowTexts = std::array<std::string, summaryColumnCount>;

// The column titles.
const SummaryRowTexts &summaryColumnTitles();
// The titles with their units, as the window and the printout head their
// columns ("平均体重 (kg)"); the clipboard keeps the bare titles.
SummaryRowTexts summaryColumnHeadings();
// Whether a column holds numbers (shown right-aligned).
bool isSummaryNumberColumn(std::size_t column);

// "YYYY/MM", the count, the figures as "%.2f" and the durations as the list
// shows them; an empty text where the month has no such figure.
SummaryRowTexts summaryRowTexts(const MonthSummary &row);

// What a click on a column heading sorts the row by: the figure, never its
// text (9.00 before 10.00, 59'00" before 1:00'00"), and a month without the
// figure before every month with it.
using SummarySortKeys = std::array<double, summaryColumnCount>;
SummarySortKeys summarySortKeys(const MonthSummary &row);

// The rows of the window: the months of monthlySummary, newest first.
std::vector<SummaryRowTexts> summaryTableRows(const std::vector<MonthSummary> &months);

// The titles and then the given rows, fields separated by tabs and lines
// ended with a line feed, as a spreadsheet takes them from the clipboard.
std::string summaryTabText(const std::vector<SummaryRowTexts> &rows);

// The printout's title line: the window's title, the user's name, the months
// printed (the rows' first and last, in either order) and the day of printing.
std::string summaryPrintTitle(std::string title, const std::string &userName,
                              const std::vector<SummaryRowTexts> &rows, Date printed);
