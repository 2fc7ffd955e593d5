#pragma once

// Small activity files written by the tests themselves: GPX and TCX as text,
// FIT through a writer of its own (its CRC computed the way FIT's own
// documentation does, nibble by nibble, not as the decoder does).

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace activityfixtures {

// Sets the system time zone for one test.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char *zone)
    {
        if (const char *old = std::getenv("TZ"))
            previous_ = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        if (previous_)
            ::setenv("TZ", previous_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

  private:
    std::optional<std::string> previous_;
};

// FIT counts seconds from 1989-12-31 00:00:00 UTC.
inline constexpr std::uint32_t fitEpoch = 631065600;

inline std::uint16_t fitCrc(const std::string &bytes, std::size_t size)
{
    static constexpr std::array<std::uint16_t, 16> table = {
        0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00, 0x2800, 0xE401,
        0xA001, 0x6C00, 0x7800, 0xB401, 0x5000, 0x9C01, 0x8801, 0x4400};
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        std::uint16_t tmp = table[crc & 0xF];
        crc = static_cast<std::uint16_t>(((crc >> 4) & 0x0FFF) ^ tmp ^ table[byte & 0xF]);
        tmp = table[crc & 0xF];
        crc = static_cast<std::uint16_t>(((crc >> 4) & 0x0FFF) ^ tmp ^ table[(byte >> 4) & 0xF]);
    }
    return crc;
}

struct FitField {
    std::uint8_t number;
    std::uint8_t size;
    std::uint8_t baseType;
};

class FitWriter {
  public:
    static constexpr std::uint16_t session = 18;
    static constexpr std::uint16_t record = 20;
    static constexpr std::uint16_t weightScale = 30;
    static constexpr std::uint8_t uint8 = 0x02;
    static constexpr std::uint8_t uint16 = 0x84;
    static constexpr std::uint8_t uint32 = 0x86;
    static constexpr std::uint8_t enumType = 0x00;

    // developerSizes: the sizes of developer fields the messages carry.
    void define(int local, std::uint16_t global, std::vector<FitField> fields,
                bool bigEndian = false, std::vector<std::uint8_t> developerSizes = {})
    {
        const bool developer = !developerSizes.empty();
        data_ += static_cast<char>(0x40 | (developer ? 0x20 : 0) | local);
        data_ += '\0';
        data_ += static_cast<char>(bigEndian ? 1 : 0);
        appendNumber(global, 2, bigEndian);
        data_ += static_cast<char>(fields.size());
        for (const FitField &f : fields) {
            data_ += static_cast<char>(f.number);
            data_ += static_cast<char>(f.size);
            data_ += static_cast<char>(f.baseType);
        }
        if (developer) {
            data_ += static_cast<char>(developerSizes.size());
            std::uint8_t number = 0;
            for (const std::uint8_t size : developerSizes) {
                data_ += static_cast<char>(number++);
                data_ += static_cast<char>(size);
                data_ += '\0';
            }
        }
        definitions_[local] = {std::move(fields), bigEndian, std::move(developerSizes)};
    }

    // Values in the order of the definition's fields; developer fields are
    // filled with 0xAB.
    void message(int local, const std::vector<std::uint64_t> &values)
    {
        data_ += static_cast<char>(local);
        appendValues(local, values);
    }

    // A data message with a compressed-timestamp header (local 0 to 3).
    void compressedMessage(int local, std::uint8_t timeOffset,
                           const std::vector<std::uint64_t> &values)
    {
        data_ += static_cast<char>(0x80 | (local << 5) | (timeOffset & 0x1f));
        appendValues(local, values);
    }

    // Bytes as they are, for damaged files.
    void raw(const std::string &bytes) { data_ += bytes; }

    // The whole file: header (14 bytes with its CRC, or 12), data, file CRC.
    std::string file(bool longHeader = true) const
    {
        std::string out;
        const std::size_t headerSize = longHeader ? 14 : 12;
        out += static_cast<char>(headerSize);
        out += static_cast<char>(0x20); // protocol 2.0
        out += static_cast<char>(0x08); // profile 21.xx, little-endian
        out += static_cast<char>(0x08);
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((data_.size() >> (8 * i)) & 0xff);
        out += ".FIT";
        if (longHeader) {
            const std::uint16_t crc = fitCrc(out, 12);
            out += static_cast<char>(crc & 0xff);
            out += static_cast<char>(crc >> 8);
        }
        out += data_;
        const std::uint16_t crc = fitCrc(out, out.size());
        out += static_cast<char>(crc & 0xff);
        out += static_cast<char>(crc >> 8);
        return out;
    }

  private:
    struct Definition {
        std::vector<FitField> fields;
        bool bigEndian = false;
        std::vector<std::uint8_t> developerSizes;
    };

    void appendNumber(std::uint64_t value, std::size_t size, bool bigEndian)
    {
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t shift = 8 * (bigEndian ? size - 1 - i : i);
            data_ += static_cast<char>((value >> shift) & 0xff);
        }
    }

    void appendValues(int local, const std::vector<std::uint64_t> &values)
    {
        const Definition &definition = definitions_.at(local);
        for (std::size_t i = 0; i < definition.fields.size(); ++i)
            appendNumber(values.at(i), definition.fields[i].size, definition.bigEndian);
        for (const std::uint8_t size : definition.developerSizes)
            data_.append(size, static_cast<char>(0xAB));
    }

    std::string data_;
    std::map<int, Definition> definitions_;
};

// A run as one session message: start (Unix time), metres, seconds, sport.
inline std::string fitRun(std::uint32_t unixStart, double metres, double seconds,
                          std::uint8_t sport = 1)
{
    FitWriter fit;
    fit.define(0, FitWriter::session,
               {{253, 4, FitWriter::uint32},
                {2, 4, FitWriter::uint32},
                {5, 1, FitWriter::enumType},
                {8, 4, FitWriter::uint32},
                {9, 4, FitWriter::uint32}});
    fit.message(0, {unixStart - fitEpoch + static_cast<std::uint32_t>(seconds),
                    unixStart - fitEpoch, sport, static_cast<std::uint64_t>(seconds * 1000),
                    static_cast<std::uint64_t>(metres * 100)});
    return fit.file();
}

// Unix time as GPX writes it: "2026-12-04T07:00:00Z".
inline std::string isoTime(std::int64_t unixSeconds)
{
    const std::time_t time = static_cast<std::time_t>(unixSeconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

// A GPX track running due north along a meridian from latitude 0: `points`
// points, each `metresApart` further on and a second later (one segment).
inline std::string gpxTrack(std::int64_t unixStart, int points, double metresApart,
                            const std::string &type = "running")
{
    constexpr double degreesPerMetre = 180.0 / (3.14159265358979323846 * 6371000.0);
    std::string gpx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<gpx version=\"1.1\" creator=\"test\" "
                      "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk>";
    if (!type.empty())
        gpx += "<type>" + type + "</type>";
    gpx += "<trkseg>\n";
    for (int i = 0; i < points; ++i) {
        char point[96];
        std::snprintf(point, sizeof point, "<trkpt lat=\"%.9f\" lon=\"0\">",
                      i * metresApart * degreesPerMetre);
        gpx += point;
        gpx += "<time>" + isoTime(unixStart + i) + "</time></trkpt>\n";
    }
    gpx += "</trkseg></trk></gpx>\n";
    return gpx;
}

} // namespace activityfixtures
