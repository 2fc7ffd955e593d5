#pragma once

#include "activity/activity.h"

#include <memory>
#include <optional>
#include <string_view>

// Apple Health's export.xml: the body mass and body fat Records and the
// running, walking and hiking Workouts, each a direct child of the root.
// Exports run to gigabytes, so both readers take the document a piece at a
// time and keep nothing but what they take from it.
//
// The scanner reads the plain shape the app writes (UTF-8, an internal DTD
// of element and attribute declarations, elements, attributes, comments)
// several times faster than Qt's XML reader, and gives up on anything else;
// then the full reader reads the document from its start and says what is
// wrong with it, if anything. Both hand the same attribute texts to one
// collector, so they cannot disagree on what a record means.

class AppleHealthCollector;

class AppleHealthScanner {
  public:
    AppleHealthScanner();
    ~AppleHealthScanner();
    AppleHealthScanner(const AppleHealthScanner &) = delete;
    AppleHealthScanner &operator=(const AppleHealthScanner &) = delete;

    // The next piece of the document; false once it is beyond the scanner.
    bool feed(std::string_view piece);
    // After the last piece: what the document holds, or nullopt when the
    // scanner gave up (the document may also just be damaged).
    std::optional<ActivityFile> finish();

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

class AppleHealthXmlReader {
  public:
    AppleHealthXmlReader();
    ~AppleHealthXmlReader();
    AppleHealthXmlReader(const AppleHealthXmlReader &) = delete;
    AppleHealthXmlReader &operator=(const AppleHealthXmlReader &) = delete;

    // The next piece of the document; false once it is found damaged (or
    // refused), when there is no use in reading on.
    bool feed(std::string_view piece);
    // After the last piece: what the document holds, or why nothing.
    ActivityFile finish();

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// A whole document in memory through each reader, and through the scanner
// with the full reader behind it.
std::optional<ActivityFile> scanAppleHealth(std::string_view bytes);
ActivityFile readAppleHealthFully(std::string_view bytes);
ActivityFile decodeAppleHealth(std::string_view bytes);

// ---- shared by the two readers ----

// The attributes either reader hands over, as the document's text after
// entities and normalisation; an absent one is empty.
struct HealthAttributes {
    std::string_view type;
    std::string_view unit;
    std::string_view value;
    std::string_view startDate;
    std::string_view endDate;
    std::string_view workoutActivityType;
    std::string_view duration;
    std::string_view durationUnit;
    std::string_view totalDistance;
    std::string_view totalDistanceUnit;
    std::string_view sum;
};

// Whether an element's attributes matter (the scanner gives up only when a
// wanted one holds an entity or a line break).
bool isWantedRecordType(std::string_view type);
bool isWantedWorkoutType(std::string_view activityType);
std::optional<ActivityField> fieldForWorkoutType(std::string_view activityType);
bool isWantedWorkoutStatistics(std::string_view type);

class AppleHealthCollector {
  public:
    AppleHealthCollector();
    ~AppleHealthCollector();
    AppleHealthCollector(const AppleHealthCollector &) = delete;
    AppleHealthCollector &operator=(const AppleHealthCollector &) = delete;

    // A Record, a Workout opening and closing, and a WorkoutStatistics of
    // the open Workout.
    void record(const HealthAttributes &attributes);
    void workoutStart(const HealthAttributes &attributes);
    void workoutStatistics(const HealthAttributes &attributes);
    void workoutEnd();
    // Body fat taken at the very moment of a body mass joins it as one
    // measurement.
    ActivityFile finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};
