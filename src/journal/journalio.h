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
