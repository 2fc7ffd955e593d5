#pragma once

#include "journal/cquilloxdoc.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The journal's days as CSV in UTF-8: a header line, then one record per day
// in ascending date order. Dates are YYYY-MM-DD, values are written as the
// journal file writes them ("%g"), empty where the journal holds 0, and
// durations are seconds; the memo is in its display form (lines separated by
// CR LF), so that a spreadsheet shows it as it was typed.

// "date,weight,fat_percent,jog_km,jog_seconds,walk_km,walk_seconds,memo"
extern const char *const journalCsvHeader;

std::string journalCsv(const CQuilloxDoc::DayList &days);

// YYYY-MM-DD.
std::string isoDate(Date date);

struct CsvRejectedLine {
    std::size_t lineNumber = 0;
    std::string reason; // UTF-8
};

struct JournalCsvRead {
    // The file as a whole is unusable: no header line, or a quote that is
    // never closed (which swallows every line after it).
    std::string fatalError;
    std::vector<DayRecord> days; // the good records, memo in its stored form
    std::vector<CsvRejectedLine> rejected;
    // Good records whose values the journal keeps with fewer digits (six
    // significant ones), one per value: imported, rounded.
    std::vector<CsvRejectedLine> rounded;
};

// Reads CSV as journalCsv writes it. A record is rejected, with the reason,
// for a malformed line, a wrong number of fields, a date that is not a real
// YYYY-MM-DD day, a value that is not a number (a duration: not a number of
// seconds from 0 up), or a memo character code page 932 cannot hold after the
// usual folding. A UTF-8 byte order mark before the header is allowed. An
// unclosed quote makes the whole file unusable (fatalError names the line
// where it opened), whether or not bad lines are to be skipped.
JournalCsvRead readJournalCsv(std::string_view csv);

// Stores the days as registering each of them does (a day already in the
// journal is replaced whole), in the order given.
void mergeDays(CQuilloxDoc &document, const std::vector<DayRecord> &days);
