#include "cli/csv.h"

#include "cli/clitexts.h"

namespace {

constexpr char quote = '"';
constexpr char comma = ',';
constexpr char cr = '\r';
constexpr char lf = '\n';

bool needsQuotes(std::string_view field)
{
    return field.find_first_of("\",\r\n") != std::string_view::npos;
}

// Moves pos past the line break at pos (CR LF, LF or CR), counting it.
void passLineBreak(std::string_view text, std::size_t &pos, std::size_t &line)
{
    if (text[pos] == cr && pos + 1 < text.size() && text[pos + 1] == lf) {
        ++pos;
    }
    ++pos;
    ++line;
}

} // namespace

void appendCsvRecord(std::string &out, const std::vector<std::string_view> &fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out += comma;
        }
        const std::string_view field = fields[i];
        if (!needsQuotes(field)) {
            out += field;
            continue;
        }
        out += quote;
        for (const char c : field) {
            if (c == quote) {
                out += quote;
            }
            out += c;
        }
        out += quote;
    }
    out += "\r\n";
}

std::vector<CsvRecord> readCsvRecords(std::string_view text)
{
    std::vector<CsvRecord> records;
    std::size_t pos = 0;
    std::size_t line = 1;
    while (pos < text.size()) {
        if (text[pos] == cr || text[pos] == lf) {
            passLineBreak(text, pos, line);
            continue;
        }
        CsvRecord record;
        record.lineNumber = line;
        bool recordEnded = false;
        while (!recordEnded) {
            std::string field;
            if (pos < text.size() && text[pos] == quote) {
                const std::size_t quoteLine = line;
                ++pos;
                bool closed = false;
                while (pos < text.size()) {
                    const char c = text[pos];
                    if (c == quote) {
                        if (pos + 1 < text.size() && text[pos + 1] == quote) {
                            field += quote;
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        closed = true;
                        break;
                    }
                    if (c == lf || (c == cr && !(pos + 1 < text.size() && text[pos + 1] == lf))) {
                        ++line;
                    }
                    field += c;
                    ++pos;
                }
                if (!closed) {
                    record.error = clitext::csvUnclosedQuote;
                    record.unclosedQuoteLine = quoteLine;
                    records.push_back(std::move(record));
                    return records;
                }
                if (pos < text.size() && text[pos] != comma && text[pos] != cr && text[pos] != lf) {
                    record.error = clitext::csvTextAfterQuote;
                    // Resynchronise at the end of this physical line.
                    while (pos < text.size() && text[pos] != cr && text[pos] != lf) {
                        ++pos;
                    }
                }
            } else {
                const std::size_t end = text.find_first_of(",\r\n", pos);
                const std::size_t stop = end == std::string_view::npos ? text.size() : end;
                field.assign(text.substr(pos, stop - pos));
                pos = stop;
            }
            record.fields.push_back(std::move(field));
            if (pos < text.size() && text[pos] == comma && record.error.empty()) {
                ++pos;
                continue;
            }
            recordEnded = true;
        }
        if (pos < text.size()) {
            passLineBreak(text, pos, line);
        }
        records.push_back(std::move(record));
    }
    return records;
}
