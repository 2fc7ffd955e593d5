#pragma once

// What the objective and graph settings dialogs show and what they store,
// apart from any widget: the note on standard weights, the target fields'
// text, and the exchange between GraphSettings and the dialog's rows.

#include "journal/graphsettings.h"
#include "journal/userinfo.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// ---- objective ----

// The weight at a body-mass index of 22 (height in cm, result in kg).
double standardWeightByBmi(double heightCm);
// Broca's index as adapted for Japanese adults: (height - 100) x 0.9.
double standardWeightByBroca(double heightCm);

// The read-only note beside the targets, UTF-8, each line ending in "\r\n":
// the two standard weights when the height is set, then the healthy range of
// body fat for the user's sex.
std::string objectiveNote(const UserInfo &user);

// A target as its field shows it: "%g", and an empty field for 0 (not set).
std::string targetFieldText(double value);
// A target field read back: its leading decimal number (blanks before it are
// skipped, anything after it ignored), 0 when there is none. Never refused.
double targetFieldValue(std::string_view text);

// The number of purpose buttons; the purpose is a button's place among them.
inline constexpr int purposeCount = 6;

// ---- choices shown by a list or a radio group ----

// The item a stored value selects: the value itself when it names one of
// `count` items, otherwise -1, which selects nothing. A list or group left
// without a selection is stored as -1.
int choiceIndex(std::int32_t value, int count);

// ---- graph settings ----

// The rows of the dialog, in the order of yAxisMain: weight, body-fat
// percentage, fat mass, lean mass (drawn as lines), jogging distance and time,
// walking distance and time (drawn as bars).
inline constexpr int seriesRowCount = 8;
inline constexpr int firstBarRow = 4;
inline constexpr int lineStyleCount = 7;
inline constexpr int barStyleCount = 3;
// The eight series colours, then the selected day, the scale lines and the
// background.
inline constexpr int graphColourCount = seriesRowCount + 3;

constexpr int styleCount(int row)
{
    return row < firstBarRow ? lineStyleCount : barStyleCount;
}

// The dialog's values: per row the show flag and the line or bar style, the
// main-axis row, and the eleven colours. Styles and the main axis are the
// stored numbers, which may lie outside the lists (a hand-edited file).
struct GraphSettingsForm {
    std::array<bool, seriesRowCount> shown{};
    std::int32_t mainAxis = -1;
    std::array<std::int32_t, seriesRowCount> styles{};
    std::array<Colour, graphColourCount> colours{};

    bool operator==(const GraphSettingsForm &) const = default;
};

GraphSettingsForm graphSettingsForm(const GraphSettings &settings);
// Copies every value of the form into `settings`; the period and the paper
// orientation, which the dialog does not show, stay as they are.
void applyGraphSettingsForm(const GraphSettingsForm &form, GraphSettings &settings);

// The focus ring of a colour swatch: red, green and blue each 255 minus
// itself, so that the ring shows on any colour.
Colour complementaryColour(Colour colour);
