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
// Whether a column holds numbers (shown right-aligned).
bool isSummaryNumberColumn(std::size_t column);

// "YYYY/MM", the count, the figures as "%.2f" and the durations as the list
// shows them; an empty text where the month has no such figure.
SummaryRowTexts summaryRowTexts(const MonthSummary &row);

// The rows of the window: the months of monthlySummary, newest first.
std::vector<SummaryRowTexts> summaryTableRows(const std::vector<MonthSummary> &months);

// The titles and then the given rows, fields separated by tabs and lines
// ended with a line feed, as a spreadsheet takes them from the clipboard.
std::string summaryTabText(const std::vector<SummaryRowTexts> &rows);
