// The weight exports of openScale, Withings and Fitbit, and the sniffing
// of every kind of input. The exports' rows are measurements, each read on
// its own: a row that cannot be read is refused with its line and the rest
// of the file is taken. Only a file whose very shape is broken (an open
// quote, damaged JSON) is refused whole.

#include "activity/importformats.h"
#include "activity/textscan.h"

#include "activity/activitytexts.h"
#include "activity/applehealth.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

bool expect(std::string_view text, std::size_t &pos, char c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// "HH:mm" or "HH:mm:ss" from pos to the end.
bool readClock(std::string_view text, std::size_t pos, int &hour, int &minute, int &second)
{
    second = 0;
    if (!readDigits(text, pos, 2, hour) || !expect(text, pos, ':') ||
        !readDigits(text, pos, 2, minute))
        return false;
    if (expect(text, pos, ':') && !readDigits(text, pos, 2, second))
        return false;
    return pos == text.size();
}

// "yyyy-MM-dd" or "dd.MM.yyyy" at the start of text; pos after it.
bool readDate(std::string_view text, std::size_t &pos, int &year, int &month, int &day)
{
    const std::size_t start = pos;
    if (readDigits(text, pos, 4, year) && expect(text, pos, '-') &&
        readDigits(text, pos, 2, month) && expect(text, pos, '-') && readDigits(text, pos, 2, day))
        return true;
    pos = start;
    return readDigits(text, pos, 2, day) && expect(text, pos, '.') &&
           readDigits(text, pos, 2, month) && expect(text, pos, '.') &&
           readDigits(text, pos, 4, year);
}

// A date, then a space and a clock (openScale's dateTime, Withings' Date).
std::optional<double> dateAndClock(std::string_view text)
{
    text = trimmed(text);
    std::size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readDate(text, pos, year, month, day) || !expect(text, pos, ' ') ||
        !readClock(text, pos, hour, minute, second))
        return std::nullopt;
    return clockSecondsOf(year, month, day, hour, minute, second);
}

// A plain decimal as the exports write it ("56.8", "-1", ".5"); nullopt for
// anything else, an exponent or "inf" included.
std::optional<double> plainDecimal(std::string_view text)
{
    text = trimmed(text);
    std::size_t pos = text.starts_with('-') ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (std::size_t i = pos; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            digits = true;
        else if (text[i] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// RFC 4180 rows: fields apart by commas, quoted ones may hold commas,
// doubled quotes and line breaks.
class CsvReader {
  public:
    explicit CsvReader(std::string_view bytes) : bytes_(bytes)
    {
        if (bytes_.starts_with("\xEF\xBB\xBF"))
            pos_ = 3;
    }

    // The next row's fields and the line it starts on; false at the end or
    // at an open quote (then broken() is true).
    bool next(std::vector<std::string> &fields, std::size_t &line)
    {
        fields.clear();
        if (pos_ >= bytes_.size())
            return false;
        line = line_;
        std::string field;
        for (;;) {
            if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
                ++pos_;
                for (;;) {
                    const std::size_t quote = bytes_.find('"', pos_);
                    if (quote == std::string_view::npos) {
                        broken_ = true;
                        brokenLine_ = line;
                        return false;
                    }
                    const std::string_view part = bytes_.substr(pos_, quote - pos_);
                    countLines(part);
                    field.append(part);
                    pos_ = quote + 1;
                    if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
                        field += '"';
                        ++pos_;
                        continue;
                    }
                    break;
                }
            }
            // The rest of the field up to a comma or the end of the line.
            const std::size_t end = bytes_.find_first_of(",\n", pos_);
            const std::size_t stop = end == std::string_view::npos ? bytes_.size() : end;
            field.append(bytes_.substr(pos_, stop - pos_));
            pos_ = stop;
            if (pos_ < bytes_.size() && bytes_[pos_] == ',') {
                ++pos_;
                fields.push_back(std::move(field));
                field.clear();
                continue;
            }
            if (!field.empty() && field.back() == '\r')
                field.pop_back();
            fields.push_back(std::move(field));
            if (pos_ < bytes_.size()) {
                ++pos_; // the line feed
                ++line_;
            }
            return true;
        }
    }

    bool broken() const { return broken_; }
    std::size_t brokenLine() const { return brokenLine_; }

  private:
    void countLines(std::string_view text)
    {
        for (const char c : text)
            line_ += c == '\n';
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    bool broken_ = false;
    std::size_t brokenLine_ = 0;
};

std::optional<std::size_t> columnOf(const std::vector<std::string> &header, std::string_view name)
{
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (trimmed(header[i]) == name)
            return i;
    }
    return std::nullopt;
}

std::string_view fieldAt(const std::vector<std::string> &fields, std::optional<std::size_t> column)
{
    return column && *column < fields.size() ? std::string_view(fields[*column])
                                             : std::string_view();
}

std::string lineText(std::size_t line)
{
    return std::to_string(line);
}

// A measured value of a row: nullopt when it is not a number (refused with
// the reason), 0 when the field is empty or 0 (not measured).
std::optional<double> measuredValue(std::string_view text, std::size_t line,
                                    std::string_view column, std::vector<std::string> &refusals)
{
    if (trimmed(text).empty())
        return 0.0;
    const std::optional<double> value = plainDecimal(text);
    if (!value)
        refusals.push_back(
            fillActivityText(activitytext::notANumber,
                             {lineText(line), std::string(column), std::string(trimmed(text))}));
    return value;
}

void finish(ActivityFile &file, const CsvReader &reader)
{
    if (reader.broken()) {
        file.weighings.clear();
        file.refusals.clear();
        file.error = fillActivityText(activitytext::openQuote, {lineText(reader.brokenLine())});
    } else if (file.empty()) {
        file.error = activitytext::noWeighing;
    }
}

// The header row, or nothing for an empty file.
std::vector<std::string> headerOf(CsvReader &reader)
{
    std::vector<std::string> header;
    std::size_t line = 0;
    reader.next(header, line);
    return header;
}

struct OpenScaleColumns {
    std::optional<std::size_t> dateTime; // the older layout
    std::optional<std::size_t> date;     // the later one, with time
    std::optional<std::size_t> time;
    std::optional<std::size_t> weight;
    std::optional<std::size_t> fat;
    std::string_view weightName;
    std::string_view fatName;
};

OpenScaleColumns openScaleColumns(const std::vector<std::string> &header)
{
    OpenScaleColumns columns;
    if (const auto dateTime = columnOf(header, "dateTime")) {
        columns.dateTime = dateTime;
        columns.weight = columnOf(header, "weight");
        columns.fat = columnOf(header, "fat");
        columns.weightName = "weight";
        columns.fatName = "fat";
    } else {
        columns.date = columnOf(header, "DATE");
        columns.time = columnOf(header, "TIME");
        columns.weight = columnOf(header, "WEIGHT");
        columns.fat = columnOf(header, "BODY_FAT");
        columns.weightName = "WEIGHT";
        columns.fatName = "BODY_FAT";
    }
    return columns;
}

bool isOpenScaleHeader(const std::vector<std::string> &header)
{
    const OpenScaleColumns columns = openScaleColumns(header);
    return (columns.dateTime || columns.date) && columns.weight;
}

struct WithingsColumns {
    std::optional<std::size_t> date;
    std::optional<std::size_t> weight;
    std::optional<std::size_t> fatMass;
    WeightUnit unit = WeightUnit::kg;
    std::string_view weightName;
    std::string_view fatName;
};

WithingsColumns withingsColumns(const std::vector<std::string> &header)
{
    WithingsColumns columns;
    if (header.empty() || trimmed(header[0]) != "Date")
        return columns;
    columns.date = 0;
    for (const auto &[unit, weight, fat] :
         {std::tuple{WeightUnit::kg, "Weight (kg)", "Fat mass (kg)"},
          std::tuple{WeightUnit::lb, "Weight (lb)", "Fat mass (lb)"}}) {
        if (const auto column = columnOf(header, weight)) {
            columns.unit = unit;
            columns.weight = column;
            columns.fatMass = columnOf(header, fat);
            columns.weightName = weight;
            columns.fatName = fat;
            break;
        }
    }
    return columns;
}

// ---- JSON, as much as Fitbit's export needs: every value is parsed (and
// checked), the members of the array's objects are kept as text ----

class JsonReader {
  public:
    explicit JsonReader(std::string_view bytes) : bytes_(bytes)
    {
        if (bytes_.starts_with("\xEF\xBB\xBF"))
            pos_ = 3;
    }

    struct Member {
        std::string name;
        std::string text; // a string's contents, or a number's or literal's text
        bool isString = false;
        bool isNumber = false;
    };
    struct Object {
        std::size_t line = 0;
        std::vector<Member> members; // the scalar ones
        bool isObject = true;
    };

    // The top-level array's elements; false (with the line) when the text
    // is not JSON or not an array.
    bool readArray(std::vector<Object> &elements)
    {
        skipSpace();
        if (!take('['))
            return false;
        skipSpace();
        if (take(']'))
            return atEnd();
        for (;;) {
            skipSpace();
            Object element;
            element.line = line_;
            if (peek() == '{') {
                if (!readObject(element, 1))
                    return false;
            } else {
                element.isObject = false;
                if (!skipValue(1))
                    return false;
            }
            elements.push_back(std::move(element));
            skipSpace();
            if (take(','))
                continue;
            if (take(']'))
                return atEnd();
            return false;
        }
    }

    std::size_t line() const { return line_; }

  private:
    static constexpr int maxDepth = 64;

    char peek() const { return pos_ < bytes_.size() ? bytes_[pos_] : '\0'; }

    bool take(char c)
    {
        if (peek() != c || pos_ >= bytes_.size())
            return false;
        ++pos_;
        return true;
    }

    void skipSpace()
    {
        while (pos_ < bytes_.size()) {
            const char c = bytes_[pos_];
            if (c == '\n')
                ++line_;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++pos_;
        }
    }

    bool atEnd()
    {
        skipSpace();
        return pos_ == bytes_.size();
    }

    bool readObject(Object &object, int depth)
    {
        take('{');
        skipSpace();
        if (take('}'))
            return true;
        for (;;) {
            skipSpace();
            Member member;
            if (!readString(member.name))
                return false;
            skipSpace();
            if (!take(':'))
                return false;
            skipSpace();
            const char c = peek();
            if (c == '"') {
                member.isString = true;
                if (!readString(member.text))
                    return false;
            } else if (c == '{' || c == '[') {
                if (!skipValue(depth + 1))
                    return false;
            } else {
                const std::size_t start = pos_;
                if (!skipScalar())
                    return false;
                member.text = std::string(bytes_.substr(start, pos_ - start));
                member.isNumber = c == '-' || (c >= '0' && c <= '9');
            }
            object.members.push_back(std::move(member));
            skipSpace();
            if (take(','))
                continue;
            return take('}');
        }
    }

    bool skipValue(int depth)
    {
        if (depth > maxDepth)
            return false;
        skipSpace();
        const char c = peek();
        if (c == '"') {
            std::string ignored;
            return readString(ignored);
        }
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++pos_;
            skipSpace();
            if (take(close))
                return true;
            for (;;) {
                skipSpace();
                if (c == '{') {
                    std::string ignored;
                    if (!readString(ignored))
                        return false;
                    skipSpace();
                    if (!take(':'))
                        return false;
                }
                if (!skipValue(depth + 1))
                    return false;
                skipSpace();
                if (take(','))
                    continue;
                return take(close);
            }
        }
        return skipScalar();
    }

    // A number or a literal, as JSON writes them.
    bool skipScalar()
    {
        for (const std::string_view literal : {"true", "false", "null"}) {
            if (bytes_.substr(pos_).starts_with(literal)) {
                pos_ += literal.size();
                return true;
            }
        }
        const std::size_t start = pos_;
        take('-');
        if (take('0')) {
        } else if (peek() >= '1' && peek() <= '9') {
            skipDigits();
        } else {
            return false;
        }
        if (take('.') && !skipDigits())
            return false;
        if (take('e') || take('E')) {
            if (!take('+'))
                take('-');
            if (!skipDigits())
                return false;
        }
        return pos_ > start;
    }

    bool skipDigits()
    {
        const std::size_t start = pos_;
        while (peek() >= '0' && peek() <= '9')
            ++pos_;
        return pos_ > start;
    }

    bool readString(std::string &out)
    {
        if (!take('"'))
            return false;
        out.clear();
        while (pos_ < bytes_.size()) {
            const char c = bytes_[pos_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= bytes_.size())
                return false;
            const char escaped = bytes_[pos_++];
            switch (escaped) {
            case '"':
            case '\\':
            case '/':
                out += escaped;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned code = 0;
                if (pos_ + 4 > bytes_.size())
                    return false;
                const auto [end, error] =
                    std::from_chars(bytes_.data() + pos_, bytes_.data() + pos_ + 4, code, 16);
                if (error != std::errc() || end != bytes_.data() + pos_ + 4)
                    return false;
                pos_ += 4;
                appendUtf8(out, code);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    // A lone surrogate becomes U+FFFD: the names and dates read here never
    // hold one that matters.
    static void appendUtf8(std::string &out, unsigned code)
    {
        if (code >= 0xd800 && code <= 0xdfff)
            code = 0xfffd;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xc0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else {
            out += static_cast<char>(0xe0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (code & 0x3f));
        }
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
};

const JsonReader::Member *memberOf(const JsonReader::Object &object, std::string_view name)
{
    for (const JsonReader::Member &member : object.members) {
        if (member.name == name)
            return &member;
    }
    return nullptr;
}

// Fitbit's "MM/dd/yy" and "HH:mm:ss"; the century is this one.
std::optional<double> fitbitClock(std::string_view date, std::string_view time)
{
    std::size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readDigits(date, pos, 2, month) || !expect(date, pos, '/') ||
        !readDigits(date, pos, 2, day) || !expect(date, pos, '/') ||
        !readDigits(date, pos, 2, year) || pos != date.size())
        return std::nullopt;
    if (!readClock(time, 0, hour, minute, second))
        return std::nullopt;
    return clockSecondsOf(2000 + year, month, day, hour, minute, second);
}

// A number member as a measurement: 0 when absent or 0, nullopt (refused)
// when it is not a number.
std::optional<double> jsonMeasure(const JsonReader::Object &object, std::string_view name,
                                  std::vector<std::string> &refusals)
{
    const JsonReader::Member *member = memberOf(object, name);
    if (!member || (!member->isString && member->text == "null"))
        return 0.0;
    double value = 0;
    const std::string &text = member->text;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!member->isNumber || error != std::errc() || end != text.data() + text.size()) {
        refusals.push_back(fillActivityText(activitytext::notANumber,
                                            {lineText(object.line), std::string(name), text}));
        return std::nullopt;
    }
    return value;
}

} // namespace

ActivityFile decodeOpenScaleCsv(std::string_view bytes)
{
    ActivityFile file;
    file.format = ActivityFormat::openScaleCsv;
    CsvReader reader(bytes);
    const OpenScaleColumns columns = openScaleColumns(headerOf(reader));
    std::vector<std::string> fields;
    std::size_t line = 0;
    while (reader.next(fields, line)) {
        if (fields.size() == 1 && trimmed(fields[0]).empty())
            continue; // a blank line
        std::optional<double> clock;
        std::string written;
        if (columns.dateTime) {
            written = trimmed(fieldAt(fields, columns.dateTime));
            clock = dateAndClock(written);
        } else {
            const std::string_view date = trimmed(fieldAt(fields, columns.date));
            const std::string_view time = trimmed(fieldAt(fields, columns.time));
            written = std::string(date) + (time.empty() ? "" : " ") + std::string(time);
            clock = time.empty() ? dateAndClock(written + " 00:00") : dateAndClock(written);
        }
        const std::optional<double> weight =
            measuredValue(fieldAt(fields, columns.weight), line, columns.weightName, file.refusals);
        const std::optional<double> fat =
            measuredValue(fieldAt(fields, columns.fat), line, columns.fatName, file.refusals);
        if (!weight || !fat || (*weight == 0 && *fat == 0))
            continue;
        if (!clock) {
            file.refusals.push_back(
                fillActivityText(activitytext::badTime, {lineText(line), written}));
            continue;
        }
        file.weighings.push_back({*clock, true, *weight, *fat});
    }
    finish(file, reader);
    return file;
}

ActivityFile decodeWithingsCsv(std::string_view bytes)
{
    ActivityFile file;
    file.format = ActivityFormat::withingsCsv;
    CsvReader reader(bytes);
    const WithingsColumns columns = withingsColumns(headerOf(reader));
    const double toKilograms = columns.unit == WeightUnit::lb ? kilogramsPerPound : 1.0;
    std::vector<std::string> fields;
    std::size_t line = 0;
    while (reader.next(fields, line)) {
        if (fields.size() == 1 && trimmed(fields[0]).empty())
            continue;
        const std::optional<double> weight =
            measuredValue(fieldAt(fields, columns.weight), line, columns.weightName, file.refusals);
        const std::optional<double> fatMass =
            measuredValue(fieldAt(fields, columns.fatMass), line, columns.fatName, file.refusals);
        // Rows of other measures only (hydration, bone mass), and a fat mass
        // without the weight it is a share of, measure nothing here.
        if (!weight || !fatMass || *weight == 0)
            continue;
        const std::string written(trimmed(fieldAt(fields, columns.date)));
        const std::optional<double> clock = dateAndClock(written);
        if (!clock) {
            file.refusals.push_back(
                fillActivityText(activitytext::badTime, {lineText(line), written}));
            continue;
        }
        file.weighings.push_back(
            {*clock, true, *weight * toKilograms, *fatMass == 0 ? 0 : *fatMass / *weight * 100});
    }
    finish(file, reader);
    return file;
}

ActivityFile decodeFitbitJson(std::string_view bytes, std::optional<WeightUnit> unit)
{
    ActivityFile file;
    file.format = ActivityFormat::fitbitJson;
    JsonReader reader(bytes);
    std::vector<JsonReader::Object> entries;
    if (!reader.readArray(entries)) {
        file.error = fillActivityText(activitytext::jsonDamaged, {lineText(reader.line())});
        return file;
    }
    const double toKilograms = unit == WeightUnit::lb ? kilogramsPerPound : 1.0;
    for (const JsonReader::Object &entry : entries) {
        if (!entry.isObject) {
            file.refusals.push_back(
                fillActivityText(activitytext::jsonNotARecord, {lineText(entry.line)}));
            continue;
        }
        const std::optional<double> weight = jsonMeasure(entry, "weight", file.refusals);
        const std::optional<double> fat = jsonMeasure(entry, "fat", file.refusals);
        if (!weight || !fat || (*weight == 0 && *fat == 0))
            continue;
        const JsonReader::Member *date = memberOf(entry, "date");
        const JsonReader::Member *time = memberOf(entry, "time");
        const std::string dateText = date ? date->text : std::string();
        const std::string timeText = time ? time->text : std::string();
        const std::optional<double> clock = fitbitClock(dateText, timeText);
        if (!clock) {
            file.refusals.push_back(fillActivityText(
                activitytext::badTime,
                {lineText(entry.line), dateText + (timeText.empty() ? "" : " ") + timeText}));
            continue;
        }
        file.weighings.push_back({*clock, true, *weight * toKilograms, *fat});
    }
    if (file.empty()) {
        file.error = activitytext::noWeighing;
    } else if (!unit && !file.weighings.empty()) {
        // Read first, so that a damaged file says so before asking for a unit.
        file = ActivityFile{ActivityFormat::fitbitJson, {}, activitytext::needsWeightUnit};
        file.needsWeightUnit = true;
    }
    return file;
}

std::optional<ImportKind> sniffImportKind(std::string_view head, bool complete)
{
    if (head.size() < 12 && !complete && !head.starts_with("PK"))
        return std::nullopt;
    if (head.size() >= 12 && head.substr(8, 4) == ".FIT")
        return ImportKind::fit;
    if (head.starts_with("PK\x03\x04") || head.starts_with("PK\x05\x06"))
        return ImportKind::zip;
    std::string_view text = head;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return complete ? std::optional(ImportKind::unknown) : std::nullopt;
    if (text[first] == '<') {
        const XmlRoot root = xmlRootElement(head, complete);
        if (root.state == XmlRootState::needMore)
            return std::nullopt;
        if (root.state == XmlRootState::found) {
            if (root.localName == "gpx")
                return ImportKind::gpx;
            if (root.localName == "TrainingCenterDatabase")
                return ImportKind::tcx;
            if (root.localName == "HealthData")
                return ImportKind::appleHealth;
        }
        return ImportKind::unknown;
    }
    if (text[first] == '[') {
        const std::size_t next = text.find_first_not_of(" \t\r\n", first + 1);
        if (next == std::string_view::npos)
            return complete ? std::optional(ImportKind::unknown) : std::nullopt;
        return text[next] == '{' ? ImportKind::fitbitJson : ImportKind::unknown;
    }
    // A CSV export by its header row, which is short: no line break in the
    // first 64 kB is no export's.
    constexpr std::size_t longestHeader = 64 * 1024;
    if (text.find('\n') == std::string_view::npos && !complete)
        return text.size() < longestHeader ? std::nullopt : std::optional(ImportKind::unknown);
    CsvReader reader(head.substr(0, head.find('\n')));
    const std::vector<std::string> header = headerOf(reader);
    if (withingsColumns(header).weight)
        return ImportKind::withingsCsv;
    if (isOpenScaleHeader(header))
        return ImportKind::openScaleCsv;
    return ImportKind::unknown;
}

ActivityFile decodeImportBytes(std::string_view bytes, const DecodeOptions &options)
{
    const ImportKind kind = sniffImportKind(bytes, true).value_or(ImportKind::unknown);
    switch (kind) {
    case ImportKind::gpx:
        return decodeGpx(bytes);
    case ImportKind::tcx:
        return decodeTcx(bytes);
    case ImportKind::fit:
        return decodeFit(bytes);
    case ImportKind::openScaleCsv:
        return decodeOpenScaleCsv(bytes);
    case ImportKind::withingsCsv:
        return decodeWithingsCsv(bytes);
    case ImportKind::fitbitJson:
        return decodeFitbitJson(bytes, options.fitbitUnit);
    case ImportKind::appleHealth:
        return decodeAppleHealth(bytes);
    case ImportKind::zip:
        return ActivityFile{ActivityFormat::unknown, {}, activitytext::zipNotNamed};
    case ImportKind::unknown:
        break;
    }
    return ActivityFile{ActivityFormat::unknown, {}, activitytext::notImportFile};
}
