#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What loading a journal file and storing it again would lose or change:
// lines the reader passes over, words of a day line that a store does not
// write back (text where a number belongs, digits beyond the six kept), and
// values of the key sections the file holds more precisely than a store
// writes them. Nothing here changes the file.
struct CheckFinding {
    std::size_t lineNumber = 0; // 0: not tied to one line (a setting's value)
    std::string message;        // UTF-8
};

// Reports each finding as it is found, in file order, the settings' values
// last, and returns how many there were. The memory used beyond the bytes
// does not grow with the file: a journal of hundreds of megabytes is
// checked in little more than its own size.
std::size_t checkJournalText(std::string_view bytes,
                             const std::function<void(const CheckFinding &)> &report);

// All findings at once, for a small file.
std::vector<CheckFinding> checkJournalText(std::string_view bytes);

// The line check prints for one finding in the file named `name`.
std::string checkFindingLine(std::string_view name, const CheckFinding &finding);
// The closing summary line.
std::string checkSummaryLine(std::string_view name, std::size_t findingCount);

// The report check prints: one line per finding and the summary line.
std::string checkReport(std::string_view name, const std::vector<CheckFinding> &findings);
