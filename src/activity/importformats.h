#pragma once

#include "activity/activity.h"

#include <optional>
#include <string>
#include <string_view>

// Every kind of file an import reads, told apart by its content: the run
// files of a watch (GPX, TCX, FIT, a FIT also holding a scale's weigh-ins),
// the weight exports of scales and health apps, and the zip archives those
// services hand out.

enum class ImportKind {
    unknown,
    gpx,
    tcx,
    fit,
    openScaleCsv,
    withingsCsv,
    fitbitJson,
    appleHealth,
    zip,
};

// The kind the first bytes of an input show. With `complete` false they are
// only its start, and nullopt says that they end before they tell (a long
// XML prolog, a first line not yet whole).
std::optional<ImportKind> sniffImportKind(std::string_view head, bool complete);

// Fitbit's weight export does not say its unit, and its pounds pass for
// plausible kilograms: the user names it, there is no default.
enum class WeightUnit { kg, lb };

struct DecodeOptions {
    std::optional<WeightUnit> fitbitUnit;
};

// A whole file of any kind but a zip (which the reading routine opens from
// its name), by its content. Apple Health exports read this way are held
// in memory whole: the reading routine streams them instead.
ActivityFile decodeImportBytes(std::string_view bytes, const DecodeOptions &options = {});

// The decoders of the weight exports, for callers that know the format.
// openScale: a header of column names in any order, `dateTime`, `weight`
// (kg) and `fat` (%), or the later `DATE`, `TIME`, `WEIGHT`, `BODY_FAT`.
ActivityFile decodeOpenScaleCsv(std::string_view bytes);
// Withings' weight.csv: `Date`, `Weight (kg)` and `Fat mass (kg)`, or both
// in (lb); the fat as a mass, turned into a percentage of the weight.
ActivityFile decodeWithingsCsv(std::string_view bytes);
// Fitbit's weight-YYYY-MM-DD.json: an array of objects with `weight`,
// `fat` (%), `date` (MM/dd/yy) and `time`. Without a unit the file is
// refused with needsWeightUnit set.
ActivityFile decodeFitbitJson(std::string_view bytes, std::optional<WeightUnit> unit);
