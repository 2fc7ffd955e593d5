#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What loading a journal file and storing it again would lose or change:
// lines the reader passes over, and values the file holds more precisely than
// a store writes them. Nothing here changes the file.
struct CheckFinding {
    std::size_t lineNumber = 0; // 0: not tied to one line (a rounded value)
    std::string message;        // UTF-8
};

// Findings in file order; the rounded values follow the lines.
std::vector<CheckFinding> checkJournalText(std::string_view bytes);

// The report check prints for the file named `name`, one line per finding
// and a closing summary line.
std::string checkReport(std::string_view name, const std::vector<CheckFinding> &findings);
