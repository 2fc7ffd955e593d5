// What Apple Health's Records and Workouts mean, and the full reader of the
// export, over Qt's streaming XML reader.

#include "activity/applehealth.h"

#include "activity/activitytexts.h"
#include "activity/textscan.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

#include <charconv>
#include <cmath>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace Qt::StringLiterals;

constexpr std::string_view bodyMass = "HKQuantityTypeIdentifierBodyMass";
constexpr std::string_view bodyFat = "HKQuantityTypeIdentifierBodyFatPercentage";
constexpr std::string_view workoutPrefix = "HKWorkoutActivityType";
constexpr std::string_view distanceStatistics = "HKQuantityTypeIdentifierDistanceWalkingRunning";

struct UnitFactor {
    std::string_view unit;
    double factor; // to kg, metres, seconds
};
constexpr UnitFactor massUnits[] = {{"kg", 1}, {"lb", kilogramsPerPound}};
constexpr UnitFactor distanceUnits[] = {{"km", 1000}, {"m", 1}, {"mi", 1609.344}};
constexpr UnitFactor durationUnits[] = {{"min", 60}, {"s", 1}, {"hr", 3600}};

std::optional<double> factorOf(std::span<const UnitFactor> units, std::string_view unit)
{
    for (const UnitFactor &known : units) {
        if (known.unit == unit)
            return known.factor;
    }
    return std::nullopt;
}

// A number as the export writes it: [-]digits[.digits][e[+-]digits].
std::optional<double> exportNumber(std::string_view text)
{
    std::size_t pos = text.starts_with('-') ? 1 : 0;
    const auto digits = [&] {
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
            ++pos;
        return pos > start;
    };
    if (!digits())
        return std::nullopt;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        if (!digits())
            return std::nullopt;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        if (!digits())
            return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (pos != text.size() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

struct HealthDate {
    double clock = 0;   // as written
    double instant = 0; // Unix time
};

// "2024-01-02 07:30:00 +0900".
std::optional<HealthDate> healthDate(std::string_view text)
{
    const auto number = [&](std::size_t at, std::size_t count) -> std::optional<int> {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (text.size() != 25 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':' || text[19] != ' ' ||
        (text[20] != '+' && text[20] != '-'))
        return std::nullopt;
    const auto year = number(0, 4), month = number(5, 2), day = number(8, 2);
    const auto hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    const auto offsetHours = number(21, 2), offsetMinutes = number(23, 2);
    if (!year || !month || !day || !hour || !minute || !second || !offsetHours || !offsetMinutes ||
        *offsetHours > 23 || *offsetMinutes > 59)
        return std::nullopt;
    const std::optional<double> clock =
        clockSecondsOf(*year, *month, *day, *hour, *minute, *second);
    if (!clock)
        return std::nullopt;
    const int offset = (text[20] == '-' ? -1 : 1) * (*offsetHours * 3600 + *offsetMinutes * 60);
    return HealthDate{*clock, *clock - offset};
}

std::string text(std::string_view view)
{
    return std::string(view);
}

} // namespace

bool isWantedRecordType(std::string_view type)
{
    return type == bodyMass || type == bodyFat;
}

// Running is a jog; walking and hiking are walks.
std::optional<ActivityField> fieldForWorkoutType(std::string_view activityType)
{
    if (!activityType.starts_with(workoutPrefix))
        return std::nullopt;
    const std::string_view sport = activityType.substr(workoutPrefix.size());
    if (sport == "Running")
        return ActivityField::jog;
    if (sport == "Walking" || sport == "Hiking")
        return ActivityField::walk;
    return std::nullopt;
}

bool isWantedWorkoutType(std::string_view activityType)
{
    return fieldForWorkoutType(activityType).has_value();
}

bool isWantedWorkoutStatistics(std::string_view type)
{
    return type == distanceStatistics;
}

struct AppleHealthCollector::State {
    std::vector<Weighing> masses;
    std::vector<Weighing> fats; // fat only, until joined
    std::vector<Activity> activities;
    std::vector<std::string> refusals;

    bool inWorkout = false;
    Activity workout;
    std::string workoutDate; // as written, for messages
    std::optional<double> workoutMetres;
    std::optional<double> statisticsMetres;
    std::string workoutRefusal;
};

AppleHealthCollector::AppleHealthCollector() : state_(std::make_unique<State>())
{
}
AppleHealthCollector::~AppleHealthCollector() = default;

void AppleHealthCollector::record(const HealthAttributes &attributes)
{
    const bool mass = attributes.type == bodyMass;
    if (!mass && attributes.type != bodyFat)
        return;
    State &s = *state_;
    const char *what = mass ? activitytext::healthWeight : activitytext::healthFat;
    const std::optional<HealthDate> date = healthDate(attributes.startDate);
    if (!date) {
        s.refusals.push_back(
            fillActivityText(activitytext::healthBadDate, {text(attributes.startDate), what}));
        return;
    }
    const std::optional<double> factor =
        mass ? factorOf(massUnits, attributes.unit)
             : (attributes.unit == "%" ? std::optional(100.0) : std::nullopt);
    if (!factor) {
        s.refusals.push_back(
            fillActivityText(activitytext::healthBadUnit,
                             {text(attributes.startDate), what, text(attributes.unit)}));
        return;
    }
    const std::optional<double> value = exportNumber(attributes.value);
    if (!value) {
        s.refusals.push_back(
            fillActivityText(activitytext::healthBadNumber,
                             {text(attributes.startDate), what, text(attributes.value)}));
        return;
    }
    if (*value == 0)
        return; // not measured
    Weighing weighing;
    weighing.seconds = date->clock;
    weighing.writtenClock = true;
    (mass ? weighing.weightKg : weighing.fatPercent) = *value * *factor;
    (mass ? s.masses : s.fats).push_back(weighing);
}

void AppleHealthCollector::workoutStart(const HealthAttributes &attributes)
{
    State &s = *state_;
    if (!isWantedWorkoutType(attributes.workoutActivityType))
        return;
    s.inWorkout = true;
    s.workout = Activity{};
    s.workoutDate = text(attributes.startDate);
    s.workoutMetres.reset();
    s.statisticsMetres.reset();
    s.workoutRefusal.clear();
    const std::string_view sport = attributes.workoutActivityType.substr(
        std::min(workoutPrefix.size(), attributes.workoutActivityType.size()));
    s.workout.sport = text(sport);
    s.workout.field = fieldForWorkoutType(attributes.workoutActivityType);
    const auto refuse = [&](const char *message, std::initializer_list<std::string> arguments) {
        if (s.workoutRefusal.empty())
            s.workoutRefusal = fillActivityText(message, arguments);
    };

    const std::optional<HealthDate> start = healthDate(attributes.startDate);
    if (!start) {
        refuse(activitytext::healthBadDate,
               {text(attributes.startDate), activitytext::healthWorkout});
        return;
    }
    s.workout.startSeconds = start->instant;
    s.workout.writtenClockSeconds = start->clock;

    if (!attributes.duration.empty()) {
        const std::optional<double> factor = factorOf(durationUnits, attributes.durationUnit);
        const std::optional<double> duration = exportNumber(attributes.duration);
        if (!factor)
            refuse(activitytext::healthBadUnit,
                   {s.workoutDate, activitytext::healthDuration, text(attributes.durationUnit)});
        else if (!duration)
            refuse(activitytext::healthBadNumber,
                   {s.workoutDate, activitytext::healthDuration, text(attributes.duration)});
        else
            s.workout.durationSeconds = *duration * *factor;
    } else if (const std::optional<HealthDate> end = healthDate(attributes.endDate)) {
        s.workout.durationSeconds = end->instant - start->instant;
    } else {
        refuse(activitytext::healthBadDate,
               {text(attributes.endDate), activitytext::healthWorkout});
    }

    if (!attributes.totalDistance.empty()) {
        const std::optional<double> factor = factorOf(distanceUnits, attributes.totalDistanceUnit);
        const std::optional<double> distance = exportNumber(attributes.totalDistance);
        if (!factor)
            refuse(activitytext::healthBadUnit, {s.workoutDate, activitytext::healthDistance,
                                                 text(attributes.totalDistanceUnit)});
        else if (!distance)
            refuse(activitytext::healthBadNumber,
                   {s.workoutDate, activitytext::healthDistance, text(attributes.totalDistance)});
        else
            s.workoutMetres = *distance * *factor;
    }
}

void AppleHealthCollector::workoutStatistics(const HealthAttributes &attributes)
{
    State &s = *state_;
    if (!s.inWorkout || attributes.type != distanceStatistics || s.statisticsMetres)
        return;
    const std::optional<double> factor = factorOf(distanceUnits, attributes.unit);
    const std::optional<double> distance = exportNumber(attributes.sum);
    if (!factor) {
        if (s.workoutRefusal.empty())
            s.workoutRefusal = fillActivityText(
                activitytext::healthBadUnit,
                {s.workoutDate, activitytext::healthDistance, text(attributes.unit)});
    } else if (!distance) {
        if (s.workoutRefusal.empty())
            s.workoutRefusal = fillActivityText(
                activitytext::healthBadNumber,
                {s.workoutDate, activitytext::healthDistance, text(attributes.sum)});
    } else {
        s.statisticsMetres = *distance * *factor;
    }
}

void AppleHealthCollector::workoutEnd()
{
    State &s = *state_;
    if (!s.inWorkout)
        return;
    s.inWorkout = false;
    if (!s.workoutRefusal.empty()) {
        s.refusals.push_back(s.workoutRefusal);
        return;
    }
    // Older exports write the distance on the Workout, newer ones only in its
    // statistics; a walk on a treadmill may have none at all.
    s.workout.distanceMetres = s.workoutMetres.value_or(s.statisticsMetres.value_or(0));
    s.activities.push_back(std::move(s.workout));
}

ActivityFile AppleHealthCollector::finish()
{
    State &s = *state_;
    ActivityFile file;
    file.format = ActivityFormat::appleHealth;
    // The export lists each type apart (every body mass, then every body
    // fat): a fat written at a mass's very moment is the same weigh-in.
    std::map<double, std::size_t> massAt;
    for (std::size_t i = s.masses.size(); i-- > 0;)
        massAt[s.masses[i].seconds] = i;
    for (const Weighing &fat : s.fats) {
        const auto mass = massAt.find(fat.seconds);
        if (mass != massAt.end() && s.masses[mass->second].fatPercent == 0)
            s.masses[mass->second].fatPercent = fat.fatPercent;
        else
            s.masses.push_back(fat);
    }
    file.weighings = std::move(s.masses);
    file.activities = std::move(s.activities);
    file.refusals = std::move(s.refusals);
    if (file.empty())
        file.error = activitytext::noHealthRecord;
    return file;
}

// ---- the full reader ----

class AppleHealthXmlReader::Impl {
  public:
    bool feed(std::string_view piece)
    {
        if (failed_)
            return false;
        xml_.addData(QByteArray(piece.data(), static_cast<qsizetype>(piece.size())));
        pump();
        return !failed_;
    }

    ActivityFile finish()
    {
        if (!failed_ && !ended_) {
            // The reader waits for more: the document ends early.
            error_ =
                fillActivityText(activitytext::xmlDamaged, {std::to_string(xml_.lineNumber()),
                                                            std::to_string(xml_.columnNumber())});
            failed_ = true;
        }
        if (failed_)
            return ActivityFile{ActivityFormat::appleHealth, {}, error_};
        return collector_.finish();
    }

  private:
    void pump()
    {
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            switch (token) {
            case QXmlStreamReader::Invalid:
                if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
                    // More to come: even after the root element, a comment
                    // may be left open. (After the end of the document Qt
                    // reports one such error before it reads what was added,
                    // without being at its end.)
                    ended_ = false;
                    continue;
                }
                fail(fillActivityText(
                    activitytext::xmlDamaged,
                    {std::to_string(xml_.lineNumber()), std::to_string(xml_.columnNumber())}));
                return;
            case QXmlStreamReader::DTD:
                // Entities are the way to a document that grows without end
                // from a few bytes: a real export declares none.
                if (!xml_.entityDeclarations().isEmpty() || xml_.text().contains("<!ENTITY"_L1)) {
                    fail(activitytext::entityDeclared);
                    return;
                }
                break;
            case QXmlStreamReader::StartElement:
                startElement();
                ++depth_;
                break;
            case QXmlStreamReader::EndElement:
                --depth_;
                if (depth_ == 1 && inWorkout_) {
                    inWorkout_ = false;
                    collector_.workoutEnd();
                }
                break;
            case QXmlStreamReader::EndDocument:
                ended_ = true;
                return;
            default:
                break;
            }
        }
        if (xml_.atEnd() && !xml_.hasError())
            ended_ = true;
    }

    void startElement()
    {
        const QStringView name = xml_.name();
        if (depth_ == 1 && name == "Record"_L1) {
            const QXmlStreamAttributes attributes = xml_.attributes();
            const std::string type = attribute(attributes, "type"_L1);
            if (!isWantedRecordType(type))
                return;
            const std::string unit = attribute(attributes, "unit"_L1);
            const std::string value = attribute(attributes, "value"_L1);
            const std::string startDate = attribute(attributes, "startDate"_L1);
            HealthAttributes health;
            health.type = type;
            health.unit = unit;
            health.value = value;
            health.startDate = startDate;
            collector_.record(health);
        } else if (depth_ == 1 && name == "Workout"_L1) {
            const QXmlStreamAttributes attributes = xml_.attributes();
            const std::string activityType = attribute(attributes, "workoutActivityType"_L1);
            if (!isWantedWorkoutType(activityType))
                return;
            const std::string duration = attribute(attributes, "duration"_L1);
            const std::string durationUnit = attribute(attributes, "durationUnit"_L1);
            const std::string distance = attribute(attributes, "totalDistance"_L1);
            const std::string distanceUnit = attribute(attributes, "totalDistanceUnit"_L1);
            const std::string startDate = attribute(attributes, "startDate"_L1);
            const std::string endDate = attribute(attributes, "endDate"_L1);
            HealthAttributes health;
            health.workoutActivityType = activityType;
            health.duration = duration;
            health.durationUnit = durationUnit;
            health.totalDistance = distance;
            health.totalDistanceUnit = distanceUnit;
            health.startDate = startDate;
            health.endDate = endDate;
            inWorkout_ = true;
            collector_.workoutStart(health);
        } else if (depth_ == 2 && inWorkout_ && name == "WorkoutStatistics"_L1) {
            const QXmlStreamAttributes attributes = xml_.attributes();
            const std::string type = attribute(attributes, "type"_L1);
            if (!isWantedWorkoutStatistics(type))
                return;
            const std::string sum = attribute(attributes, "sum"_L1);
            const std::string unit = attribute(attributes, "unit"_L1);
            HealthAttributes health;
            health.type = type;
            health.sum = sum;
            health.unit = unit;
            collector_.workoutStatistics(health);
        }
    }

    static std::string attribute(const QXmlStreamAttributes &attributes, QLatin1StringView name)
    {
        return attributes.value(name).toString().toStdString();
    }

    void fail(std::string error)
    {
        failed_ = true;
        error_ = std::move(error);
    }

    QXmlStreamReader xml_;
    AppleHealthCollector collector_;
    int depth_ = 0;
    bool inWorkout_ = false;
    bool ended_ = false;
    bool failed_ = false;
    std::string error_;
};

AppleHealthXmlReader::AppleHealthXmlReader() : impl_(std::make_unique<Impl>())
{
}
AppleHealthXmlReader::~AppleHealthXmlReader() = default;

bool AppleHealthXmlReader::feed(std::string_view piece)
{
    return impl_->feed(piece);
}

ActivityFile AppleHealthXmlReader::finish()
{
    return impl_->finish();
}

std::optional<ActivityFile> scanAppleHealth(std::string_view bytes)
{
    AppleHealthScanner scanner;
    if (!scanner.feed(bytes))
        return std::nullopt;
    return scanner.finish();
}

ActivityFile readAppleHealthFully(std::string_view bytes)
{
    AppleHealthXmlReader reader;
    reader.feed(bytes);
    return reader.finish();
}

ActivityFile decodeAppleHealth(std::string_view bytes)
{
    if (std::optional<ActivityFile> quick = scanAppleHealth(bytes))
        return std::move(*quick);
    return readAppleHealthFully(bytes);
}
