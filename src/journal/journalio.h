#pragma once

#include "journal/safesave.h"

#include <cstddef>
#include <string>
#include <vector>

// A non-blank line of the "[data]" section that could not become an entry.
struct SkippedLine {
    std::size_t lineNumber = 0; // 1-based, counted in the file
    std::string reason;         // English, for messages and logs
};

// A line whose content a load does not keep, so that the next store, which
// writes only what the document holds, loses it. Reported only on request
// (a check of a journal before it is opened); the load itself does not care.
struct DroppedLine {
    enum class Kind {
        noDate,         // a "[data]" line without a year/month/day at its start
        impossibleDate, // a "[data]" line whose date is no calendar day
        replacedDay,    // a later "[data]" line has the same date and wins
        unknownSection, // a bracketed line that names no section
        notASetting,    // a line of a key section that is not "key = value"
        unknownKey,     // a setting whose key its section does not have
    };
    std::size_t lineNumber = 0; // 1-based; for replacedDay, the earlier line
    Kind kind = Kind::noDate;
};

struct JournalLoadResult {
    bool opened = false; // false: the document was not touched
    std::string error;   // the system's reason why the file could not be read
    FileProblem problem = FileProblem::none;
    std::vector<SkippedLine> skippedLines;
};

struct JournalStoreResult {
    bool written = false; // false: the previous file is exactly as it was
    std::string error;    // why the journal could not be written (English)
    FileProblem problem = FileProblem::none;
    std::string systemReason; // the system's text alone
    // Set when the journal was written but its previous version could not be
    // kept as path + ".bak" (an older .bak, if any, is still whole).
    std::string backupWarning;
    FileProblem backupProblem = FileProblem::none;
    std::string backupSystemReason;
};
