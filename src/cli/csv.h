#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Comma-separated values as RFC 4180 has them: a field holding a comma, a
// double quote, CR or LF is quoted, a quote inside doubled; records end with
// CR LF. Bytes are copied as they are, so any text encoding passes through.

// Appends one record, ended by CR LF.
void appendCsvRecord(std::string &out, const std::vector<std::string_view> &fields);

struct CsvRecord {
    std::size_t lineNumber = 0; // where the record starts, 1-based
    std::vector<std::string> fields;
    std::string error; // UTF-8 reason when the record is malformed
    // A quote opened on this line (1-based) and never closed: the rest of
    // the text was read into one field, so nothing after the quote can be
    // trusted. 0 otherwise.
    std::size_t unclosedQuoteLine = 0;
};

// Splits text into records. A record may end with CR LF, LF or CR; inside a
// quoted field line breaks are data and kept exactly. A malformed record
// (text after a closing quote) carries its error and reading goes on after
// the line break that ends it; a quote never closed ends the reading, its
// record the last one. Empty lines are no
// records.
std::vector<CsvRecord> readCsvRecords(std::string_view text);
