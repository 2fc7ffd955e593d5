// A ten-hour track at one point a second is some 7 MB of XML, most of it
// elevation, heart rate and cadence that a day's entry never uses; Qt's
// reader spends well over the budget tokenising it. This scanner reads the
// plain shape every watch and app writes (UTF-8, elements, attributes,
// comments, the predefined entities) and gives up on anything else: a
// DOCTYPE, CDATA, another encoding, a tag that does not close, a point or a
// time it cannot read. Then the full reader reads the file and says what is
// wrong with it, so the messages come from one place.

#include "activity/activity.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace {

enum class Tag { other, trk, trkseg, trkpt, time, type };

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

std::string_view localName(std::string_view name)
{
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Every '&' starts one of the references XML itself defines.
bool entitiesValid(std::string_view text)
{
    for (std::size_t at = text.find('&'); at != std::string_view::npos;
         at = text.find('&', at + 1)) {
        const std::size_t semicolon = text.find(';', at);
        if (semicolon == std::string_view::npos || semicolon - at > 10)
            return false;
        const std::string_view name = text.substr(at + 1, semicolon - at - 1);
        if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos")
            continue;
        if (name.size() < 2 || name[0] != '#')
            return false;
        const bool hex = name[1] == 'x';
        std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty())
            return false;
        unsigned code = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (error != std::errc() || end != digits.data() + digits.size() || code == 0 ||
            code > 0x10ffff)
            return false;
    }
    return true;
}

// A plain decimal coordinate: [-]digits[.digits].
std::optional<double> coordinate(std::string_view text)
{
    if (text.empty() || text.size() > 32)
        return std::nullopt;
    std::size_t digits = text[0] == '-' ? 1 : 0;
    bool point = false;
    bool any = false;
    for (std::size_t i = digits; i < text.size(); ++i) {
        if (text[i] == '.' && !point) {
            point = true;
        } else if (text[i] >= '0' && text[i] <= '9') {
            any = true;
        } else {
            return std::nullopt;
        }
    }
    if (!any || text.back() == '.' || text[digits] == '.')
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool asciiEqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        if (x != b[i])
            return false;
    }
    return true;
}

// The encoding an XML declaration names is one the scanner reads as it is.
bool declarationReadable(std::string_view declaration)
{
    const std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return true;
    const std::size_t quote = declaration.find_first_of("\"'", at);
    if (quote == std::string_view::npos)
        return false;
    const std::size_t close = declaration.find(declaration[quote], quote + 1);
    if (close == std::string_view::npos)
        return false;
    const std::string_view name = declaration.substr(quote + 1, close - quote - 1);
    return asciiEqualsIgnoringCase(name, "utf-8") || asciiEqualsIgnoringCase(name, "us-ascii");
}

std::string_view trimmedAscii(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<ActivityFile> decodeSimpleGpx(std::string_view bytes)
{
    const char *const data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t pos = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;

    struct Open {
        std::string_view name;
        Tag tag;
    };
    std::vector<Open> open;
    open.reserve(16);
    bool rootSeen = false;
    bool havePrevious = false;
    double previousLat = 0;
    double previousLon = 0;
    double metres = 0;
    int timedPoints = 0;
    double firstTime = 0;
    double lastTime = 0;
    bool sportNamed = false;
    std::string_view sport;
    std::size_t textStart = pos; // of the text inside a time or type element

    while (pos < size) {
        const void *found = std::memchr(data + pos, '<', size - pos);
        const std::size_t lt =
            found ? static_cast<std::size_t>(static_cast<const char *>(found) - data) : size;
        const std::string_view text(data + pos, lt - pos);
        if (open.empty()) {
            if (!trimmedAscii(text).empty())
                return std::nullopt; // text outside the root element
        } else if (text.find('&') != std::string_view::npos && !entitiesValid(text)) {
            return std::nullopt;
        }
        if (lt == size)
            break;
        pos = lt + 1;
        if (pos >= size)
            return std::nullopt;
        const char first = data[pos];
        if (first == '?') {
            const std::size_t end = bytes.find("?>", pos);
            if (end == std::string_view::npos || !declarationReadable(bytes.substr(pos, end - pos)))
                return std::nullopt;
            pos = end + 2;
            continue;
        }
        if (first == '!') {
            if (bytes.substr(pos, 3) != "!--")
                return std::nullopt; // a DOCTYPE or CDATA: the full reader's business
            const std::size_t dashes = bytes.find("--", pos + 3);
            if (dashes == std::string_view::npos || dashes + 2 >= size || data[dashes + 2] != '>')
                return std::nullopt;
            pos = dashes + 3;
            continue;
        }
        if (first == '/') {
            std::size_t end = pos + 1;
            while (end < size && isNameChar(data[end]))
                ++end;
            const std::string_view name(data + pos + 1, end - pos - 1);
            while (end < size && isSpace(data[end]))
                ++end;
            if (open.empty() || end >= size || data[end] != '>' || name != open.back().name)
                return std::nullopt;
            const Tag closing = open.back().tag;
            open.pop_back();
            pos = end + 1;
            if (closing == Tag::time || closing == Tag::type) {
                const std::string_view inner(data + textStart, lt - textStart);
                if (inner.find_first_of("&<") != std::string_view::npos)
                    return std::nullopt;
                if (closing == Tag::type) {
                    sport = trimmedAscii(inner);
                    for (const char c : sport) {
                        if (static_cast<unsigned char>(c) >= 0x80 || c == '\r' || c == '\n')
                            return std::nullopt; // trimmed as Unicode text by the full reader
                    }
                    continue;
                }
                const std::optional<double> time = parseIsoDateTime(inner);
                if (!time)
                    return std::nullopt;
                if (timedPoints++ == 0)
                    firstTime = *time;
                lastTime = *time;
            }
            continue;
        }

        // A start tag.
        std::size_t end = pos;
        while (end < size && isNameChar(data[end]))
            ++end;
        if (end == pos)
            return std::nullopt;
        const std::string_view name(data + pos, end - pos);
        const std::string_view local = localName(name);
        const Tag parent = open.empty() ? Tag::other : open.back().tag;
        if (open.empty() && rootSeen)
            return std::nullopt; // a second root element
        rootSeen = true;
        std::optional<double> lat;
        std::optional<double> lon;
        bool selfClosing = false;
        pos = end;
        for (;;) {
            const std::size_t before = pos;
            while (pos < size && isSpace(data[pos]))
                ++pos;
            if (pos >= size)
                return std::nullopt;
            if (data[pos] == '>') {
                ++pos;
                break;
            }
            if (data[pos] == '/') {
                if (pos + 1 >= size || data[pos + 1] != '>')
                    return std::nullopt;
                pos += 2;
                selfClosing = true;
                break;
            }
            if (pos == before)
                return std::nullopt; // attributes must be apart
            std::size_t nameEnd = pos;
            while (nameEnd < size && isNameChar(data[nameEnd]))
                ++nameEnd;
            const std::string_view attribute(data + pos, nameEnd - pos);
            pos = nameEnd;
            while (pos < size && isSpace(data[pos]))
                ++pos;
            if (attribute.empty() || pos >= size || data[pos] != '=')
                return std::nullopt;
            ++pos;
            while (pos < size && isSpace(data[pos]))
                ++pos;
            if (pos >= size || (data[pos] != '"' && data[pos] != '\''))
                return std::nullopt;
            const char quote = data[pos++];
            const void *closeQuote = std::memchr(data + pos, quote, size - pos);
            if (!closeQuote)
                return std::nullopt;
            const std::size_t valueEnd =
                static_cast<std::size_t>(static_cast<const char *>(closeQuote) - data);
            const std::string_view value(data + pos, valueEnd - pos);
            if (value.find('<') != std::string_view::npos ||
                (value.find('&') != std::string_view::npos && !entitiesValid(value)))
                return std::nullopt;
            if (local == "trkpt" && parent == Tag::trkseg) {
                if (attribute == "lat")
                    lat = coordinate(value);
                else if (attribute == "lon")
                    lon = coordinate(value);
            }
            pos = valueEnd + 1;
        }

        Tag tag = Tag::other;
        if (local == "trk") {
            tag = Tag::trk;
        } else if (local == "trkseg" && parent == Tag::trk) {
            tag = Tag::trkseg;
            havePrevious = false;
        } else if (local == "trkpt" && parent == Tag::trkseg) {
            tag = Tag::trkpt;
            if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180)
                return std::nullopt;
            if (havePrevious)
                metres += haversineMetres(previousLat, previousLon, *lat, *lon);
            previousLat = *lat;
            previousLon = *lon;
            havePrevious = true;
        } else if (local == "time" && parent == Tag::trkpt) {
            tag = Tag::time;
        } else if (local == "type" && parent == Tag::trk && !sportNamed) {
            sportNamed = true;
            tag = Tag::type;
        } else if (parent == Tag::time || parent == Tag::type) {
            return std::nullopt; // markup inside a time: the full reader refuses it
        }
        if (selfClosing) {
            if (tag == Tag::time || tag == Tag::type)
                return std::nullopt;
            continue;
        }
        textStart = pos;
        open.push_back({name, tag});
    }
    if (!open.empty() || !rootSeen || timedPoints < 2 || lastTime < firstTime)
        return std::nullopt;

    ActivityFile file;
    file.format = ActivityFormat::gpx;
    Activity activity;
    activity.startSeconds = firstTime;
    activity.distanceMetres = metres;
    activity.durationSeconds = lastTime - firstTime;
    activity.sport = std::string(sport);
    activity.field = fieldForGpxType(sport);
    file.activities.push_back(std::move(activity));
    return file;
}
