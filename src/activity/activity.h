#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The pound, as scales and health apps that weigh in pounds define it.
inline constexpr double kilogramsPerPound = 0.45359237;

// Which of the day's two exercise fields an activity fills.
enum class ActivityField { jog, walk };

// One activity as a watch or phone recorded it, before it becomes a day's
// values: the start as an instant, so that the day follows the user's time
// zone, and the raw metres and seconds, so that rounding happens once.
struct Activity {
    double startSeconds = 0;   // Unix time, UTC, fractions kept
    double distanceMetres = 0; //
    double durationSeconds = 0;
    // The sport as the file names it ("running", "Biking", "cycling"); empty
    // when the file names none.
    std::string sport;
    // The field the sport goes to; nullopt for a sport that is neither a jog
    // nor a walk (the user may still choose a field for it).
    std::optional<ActivityField> field;
    // The start on the local clock as the file writes it, counted as Unix
    // time counts (Apple Health writes each date with its own offset): the
    // day is then the date written, not the system's local day of the start.
    std::optional<double> writtenClockSeconds;
};

// One weighing as a scale or a health app recorded it.
struct Weighing {
    // When it was taken: Unix time of the instant, whose day is the local
    // one of the system's time zone (FIT); or, with writtenClock, the local
    // clock as the file writes it, counted as Unix time counts (the CSV and
    // JSON exports, Apple Health), whose day is the date written.
    double seconds = 0;
    bool writtenClock = false;
    double weightKg = 0;   // unrounded; 0: not measured
    double fatPercent = 0; // unrounded; 0: not measured
};

enum class ActivityFormat {
    unknown,
    gpx,
    tcx,
    fit,
    openScaleCsv,
    withingsCsv,
    fitbitJson,
    appleHealth,
};

// What a file holds: its activities and weighings, or why none can be taken
// from it. (The members after `error` have initializers, so that a file
// made of its first three stays warning-free.)
struct ActivityFile {
    ActivityFormat format = ActivityFormat::unknown;
    std::vector<Activity> activities;
    // UTF-8, without the file's name; empty when the file was read.
    std::string error;
    std::vector<Weighing> weighings = {};
    // Activities and measurements of a file otherwise read that are left
    // out, each with its reason (UTF-8, without the file's name).
    std::vector<std::string> refusals = {};
    // A file of weights that does not say their unit (Fitbit's), read
    // without one: refused until the user names it.
    bool needsWeightUnit = false;

    bool ok() const { return error.empty(); }
    bool empty() const { return activities.empty() && weighings.empty() && refusals.empty(); }
};

// Far more than a day-long track with every sensor a watch has (a ten-hour
// GPX is some 8 MB): a larger file is something else dropped by mistake, and
// is refused before it is read into memory.
inline constexpr std::uint64_t maxActivityFileBytes = 256ull * 1024 * 1024;
// Why a file is refused before it is read: it is not a plain file (a folder),
// or it is larger than maxActivityFileBytes. None when it may be read.
std::optional<std::string> activityFileRefusal(bool notAFile, std::uint64_t size);

// The sport tables of the three formats.
std::optional<ActivityField> fieldForGpxType(std::string_view type);
std::optional<ActivityField> fieldForTcxSport(std::string_view sport);
std::optional<ActivityField> fieldForFitSport(int sport);
// The name a FIT file's sport number stands for ("cycling"), or the number.
std::string fitSportName(int sport);

// The local name of an XML document's root element, found past a prolog of
// any length (declaration, comments, a DOCTYPE with its internal subset).
// With `complete` false the bytes are only the start of the document, and
// needMore says that the root element lies beyond them.
enum class XmlRootState { found, notXml, needMore };
struct XmlRoot {
    XmlRootState state = XmlRootState::notXml;
    std::string_view localName; // within the bytes given
};
XmlRoot xmlRootElement(std::string_view bytes, bool complete);

// Reads a GPX, TCX or FIT file, told apart by their content (not by the
// file's name): FIT by its header, the XML formats by their root element.
ActivityFile decodeActivityFile(std::string_view bytes);

// The three decoders, for callers that know the format.
ActivityFile decodeGpx(std::string_view bytes);
ActivityFile decodeTcx(std::string_view bytes);
ActivityFile decodeFit(std::string_view bytes);

// The GPX decoder's two readers: the quick scanner of the plain shape every
// watch writes (nullopt for any other document), and the full XML reader,
// which also says what is wrong with a file. decodeGpx tries them in turn.
std::optional<ActivityFile> decodeSimpleGpx(std::string_view bytes);
ActivityFile decodeGpxFully(std::string_view bytes);

// An ISO 8601 date and time as GPX and TCX write it
// ("2026-12-04T07:00:00.250Z", "+09:00" offsets, no zone read as UTC), as
// Unix time; nullopt for anything else.
std::optional<double> parseIsoDateTime(std::string_view text);

// The great-circle distance in metres between two points given in degrees,
// on a sphere of radius 6,371,000 m.
double haversineMetres(double lat1, double lon1, double lat2, double lon2);

// "%1", "%2", ... in text replaced by the arguments in order, in one pass (an
// argument holding "%2" stays as it is).
std::string fillActivityText(std::string_view text, std::initializer_list<std::string> arguments);
