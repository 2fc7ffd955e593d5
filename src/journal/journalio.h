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

// A word of a "[data]" line that a load reads as a day, but that the next
// store, which writes the day as read, does not write back: a word where a
// number belongs that is not one ("ジョギングした" read as 0: a memo after
// too few numbers; "nan"; "64kg" read as 64), a number with more than the
// six significant digits a store keeps, or text glued to the date.
struct AlteredValue {
    enum class Kind {
        notANumber, // text read as the number it starts with, or as 0
        rounded,    // a number a store writes with fewer digits
        dateText,   // text after the date in the date's word, dropped
    };
    std::size_t lineNumber = 0;
    Kind kind = Kind::notANumber;
    int field = 0;         // 0 the date, 1 to 6 the values in file order
    std::string_view word; // as in the file (code page 932), valid during the call
    double value = 0;      // what the value reads as (not for the date)
};

struct JournalLoadResult {
    bool opened = false; // false: the document was not touched
    std::string error;   // the system's reason why the file could not be read
    FileProblem problem = FileProblem::none;
    std::vector<SkippedLine> skippedLines;
    // Day lines loaded with some text of theirs altered (see AlteredValue).
    std::vector<std::size_t> alteredLines;
};

// Everything a load would drop or alter, line by line in file order, as
// CQuilloxDoc::scanJournalText reports it.
class JournalScanReport {
  public:
    virtual ~JournalScanReport() = default;
    virtual void dropped(const DroppedLine &line) = 0;
    virtual void altered(const AlteredValue &value) = 0;
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
