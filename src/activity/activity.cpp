#include "activity/activity.h"
#include "activity/textscan.h"

#include "activity/activitytexts.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string_view>

namespace {

constexpr double earthRadiusMetres = 6'371'000.0;

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

// FIT's sport numbers up to the last one a watch commonly writes.
constexpr std::array<const char *, 49> fitSportNames = {
    "generic",
    "running",
    "cycling",
    "transition",
    "fitness_equipment",
    "swimming",
    "basketball",
    "soccer",
    "tennis",
    "american_football",
    "training",
    "walking",
    "cross_country_skiing",
    "alpine_skiing",
    "snowboarding",
    "rowing",
    "mountaineering",
    "hiking",
    "multisport",
    "paddling",
    "flying",
    "e_biking",
    "motorcycling",
    "boating",
    "driving",
    "golf",
    "hang_gliding",
    "horseback_riding",
    "hunting",
    "fishing",
    "inline_skating",
    "rock_climbing",
    "sailing",
    "ice_skating",
    "sky_diving",
    "snowshoeing",
    "snowmobiling",
    "stand_up_paddleboarding",
    "surfing",
    "wakeboarding",
    "water_skiing",
    "kayaking",
    "rafting",
    "windsurfing",
    "kitesurfing",
    "tactical",
    "jumpmaster",
    "boxing",
    "floor_climbing",
};

} // namespace

std::optional<ActivityField> fieldForGpxType(std::string_view type)
{
    type = trimmed(type);
    if (type.empty())
        return ActivityField::jog;
    for (const std::string_view name : {"running", "run"}) {
        if (equalsIgnoringCase(type, name))
            return ActivityField::jog;
    }
    for (const std::string_view name : {"walking", "walk", "hiking", "hike"}) {
        if (equalsIgnoringCase(type, name))
            return ActivityField::walk;
    }
    return std::nullopt;
}

std::optional<ActivityField> fieldForTcxSport(std::string_view sport)
{
    sport = trimmed(sport);
    if (sport.empty() || equalsIgnoringCase(sport, "Running"))
        return ActivityField::jog;
    return std::nullopt;
}

std::optional<ActivityField> fieldForFitSport(int sport)
{
    constexpr int generic = 0;
    constexpr int running = 1;
    constexpr int walking = 11;
    constexpr int hiking = 17;
    constexpr int invalid = 0xff; // the field is absent
    switch (sport) {
    case generic:
    case running:
    case invalid:
        return ActivityField::jog;
    case walking:
    case hiking:
        return ActivityField::walk;
    default:
        return std::nullopt;
    }
}

std::string fitSportName(int sport)
{
    if (sport >= 0 && static_cast<std::size_t>(sport) < fitSportNames.size())
        return fitSportNames[static_cast<std::size_t>(sport)];
    return std::to_string(sport);
}

double haversineMetres(double lat1, double lon1, double lat2, double lon2)
{
    constexpr double radians = std::numbers::pi / 180.0;
    const double phi1 = lat1 * radians;
    const double phi2 = lat2 * radians;
    const double sinHalfLat = std::sin((lat2 - lat1) * radians / 2);
    const double sinHalfLon = std::sin((lon2 - lon1) * radians / 2);
    const double a =
        sinHalfLat * sinHalfLat + std::cos(phi1) * std::cos(phi2) * sinHalfLon * sinHalfLon;
    // Rounding can take a just past 1 for antipodal points.
    return 2 * earthRadiusMetres * std::asin(std::sqrt(std::min(1.0, a)));
}

std::optional<double> parseIsoDateTime(std::string_view text)
{
    text = trimmed(text);
    std::size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const auto expect = [&](char c) {
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    };
    if (!readDigits(text, pos, 4, year) || !expect('-') || !readDigits(text, pos, 2, month) ||
        !expect('-') || !readDigits(text, pos, 2, day) ||
        !(expect('T') || expect('t') || expect(' ')) || !readDigits(text, pos, 2, hour) ||
        !expect(':') || !readDigits(text, pos, 2, minute) || !expect(':') ||
        !readDigits(text, pos, 2, second))
        return std::nullopt;
    double fraction = 0;
    if (expect('.') || expect(',')) {
        double scale = 0.1;
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            fraction += (text[pos] - '0') * scale;
            scale /= 10;
            ++pos;
        }
        if (pos == start)
            return std::nullopt;
    }
    int offsetSeconds = 0;
    if (expect('Z') || expect('z')) {
    } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        const int sign = text[pos++] == '-' ? -1 : 1;
        int offsetHours = 0, offsetMinutes = 0;
        if (!readDigits(text, pos, 2, offsetHours))
            return std::nullopt;
        expect(':');
        if (pos < text.size() && !readDigits(text, pos, 2, offsetMinutes))
            return std::nullopt;
        if (offsetHours > 23 || offsetMinutes > 59)
            return std::nullopt;
        offsetSeconds = sign * (offsetHours * 3600 + offsetMinutes * 60);
    }
    if (pos != text.size())
        return std::nullopt;
    // A leap second (:60) is taken as the next second, as the clock shows it.
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year{year},
                                          std::chrono::month{static_cast<unsigned>(month)},
                                          std::chrono::day{static_cast<unsigned>(day)}};
    if (!ymd.ok())
        return std::nullopt;
    const double days = static_cast<double>(std::chrono::sys_days{ymd}.time_since_epoch().count());
    return days * 86400 + hour * 3600 + minute * 60 + second + fraction - offsetSeconds;
}

XmlRoot xmlRootElement(std::string_view bytes, bool complete)
{
    const XmlRoot more{complete ? XmlRootState::notXml : XmlRootState::needMore, {}};
    const XmlRoot notXml{XmlRootState::notXml, {}};
    std::size_t pos = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        while (pos < bytes.size() && (bytes[pos] == ' ' || bytes[pos] == '\t' ||
                                      bytes[pos] == '\r' || bytes[pos] == '\n'))
            ++pos;
        if (pos >= bytes.size())
            return more;
        if (bytes[pos] != '<')
            return notXml;
        const std::string_view rest = bytes.substr(pos);
        if (rest.size() < 2)
            return more;
        if (rest[1] == '?') {
            const std::size_t end = rest.find("?>", 2);
            if (end == std::string_view::npos)
                return more;
            pos += end + 2;
            continue;
        }
        if (rest[1] == '!') {
            if (rest.size() < 4)
                return more;
            if (rest.starts_with("<!--")) {
                const std::size_t end = rest.find("-->", 4);
                if (end == std::string_view::npos)
                    return more;
                pos += end + 3;
                continue;
            }
            if (!rest.starts_with("<!DOCTYPE") && !std::string_view("<!DOCTYPE").starts_with(rest))
                return notXml;
            // A DOCTYPE ends at the '>' outside its internal subset, its
            // quoted strings and the comments in its subset.
            std::size_t at = 2;
            int depth = 0;
            char quote = 0;
            for (; at < rest.size(); ++at) {
                const char c = rest[at];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '<' && rest.substr(at, 4) == "<!--") {
                    const std::size_t end = rest.find("-->", at + 4);
                    if (end == std::string_view::npos)
                        return more;
                    at = end + 2;
                } else if (c == '[') {
                    ++depth;
                } else if (c == ']') {
                    depth = std::max(0, depth - 1);
                } else if (c == '>' && depth == 0) {
                    break;
                }
            }
            if (at >= rest.size())
                return more;
            pos += at + 1;
            continue;
        }
        std::size_t end = 1;
        while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t' && rest[end] != '\r' &&
               rest[end] != '\n' && rest[end] != '>' && rest[end] != '/')
            ++end;
        if (end == rest.size() && !complete)
            return more;
        std::string_view name = rest.substr(1, end - 1);
        if (const std::size_t colon = name.find(':'); colon != std::string_view::npos)
            name = name.substr(colon + 1);
        return {XmlRootState::found, name};
    }
}

ActivityFile decodeActivityFile(std::string_view bytes)
{
    // FIT: a header of 12 or 14 bytes with ".FIT" at 8.
    if (bytes.size() >= 12 && std::memcmp(bytes.data() + 8, ".FIT", 4) == 0)
        return decodeFit(bytes);
    // The XML formats by their root element's name, after however long a
    // prolog (a declaration, comments, a DOCTYPE).
    const XmlRoot root = xmlRootElement(bytes, true);
    if (root.state == XmlRootState::found) {
        if (root.localName == "gpx")
            return decodeGpx(bytes);
        if (root.localName == "TrainingCenterDatabase")
            return decodeTcx(bytes);
    }
    ActivityFile file;
    file.error = activitytext::notActivityFile;
    return file;
}

std::string fillActivityText(std::string_view text, std::initializer_list<std::string> arguments)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '%' && pos + 1 < text.size() && text[pos + 1] >= '1' &&
            text[pos + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[pos + 1] - '1');
            if (index < arguments.size()) {
                out += *(arguments.begin() + index);
                ++pos;
                continue;
            }
        }
        out += text[pos];
    }
    return out;
}

std::optional<std::string> activityFileRefusal(bool notAFile, std::uint64_t size)
{
    if (notAFile)
        return std::string(activitytext::notAFile);
    if (size > maxActivityFileBytes)
        return fillActivityText(activitytext::tooLarge, {std::to_string(size / (1024 * 1024))});
    return std::nullopt;
}
