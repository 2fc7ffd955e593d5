#include "dialogs/settingsforms.h"

#include "dialogs/dialogtexts.h"
#include "journal/numbertext.h"

#include <charconv>

namespace {

// A body-mass index of 22 with the height in cm: 22 / 100^2, kept as the one
// factor so that the weights round as they always have.
constexpr double standardBmiPerSquareCm = 0.0022;
constexpr double brocaOffsetCm = 100;
constexpr double brocaFactor = 0.9;

// One line of the note with its weight put in place of "%5.2f".
std::string weightLine(std::string_view format, double kg)
{
    constexpr std::string_view directive = "%5.2f";
    std::string line(format);
    const std::size_t at = line.find(directive);
    if (at != std::string::npos) {
        std::string weight;
        appendFixedNumber(weight, kg, 2, 5);
        line.replace(at, directive.size(), weight);
    }
    return line;
}

struct SeriesRowFields {
    bool GraphSettings::*shown;
    Colour GraphSettings::*colour;
    std::int32_t GraphSettings::*style;
};

constexpr std::array<SeriesRowFields, seriesRowCount> seriesRows{{
    {&GraphSettings::graphWeight, &GraphSettings::colorWeight, &GraphSettings::weightLineType},
    {&GraphSettings::graphFatPercent, &GraphSettings::colorFatPercent,
     &GraphSettings::fatPcntLineType},
    {&GraphSettings::graphFat, &GraphSettings::colorFat, &GraphSettings::fatLineType},
    {&GraphSettings::graphNotFat, &GraphSettings::colorNotFat, &GraphSettings::notFatLineType},
    {&GraphSettings::graphJogDistance, &GraphSettings::colorJogDistance,
     &GraphSettings::jogDistType},
    {&GraphSettings::graphJogDuration, &GraphSettings::colorJogDuration,
     &GraphSettings::jogDurType},
    {&GraphSettings::graphWalkDistance, &GraphSettings::colorWalkDistance,
     &GraphSettings::walkDistType},
    {&GraphSettings::graphWalkDuration, &GraphSettings::colorWalkDuration,
     &GraphSettings::walkDurType},
}};

constexpr std::array<Colour GraphSettings::*, graphColourCount - seriesRowCount> elementColours{
    &GraphSettings::colorCrntDate, &GraphSettings::colorDivision, &GraphSettings::colorBackGround};

} // namespace

double standardWeightByBmi(double heightCm)
{
    return heightCm * heightCm * standardBmiPerSquareCm;
}

double standardWeightByBroca(double heightCm)
{
    return (heightCm - brocaOffsetCm) * brocaFactor;
}

std::string objectiveNote(const UserInfo &user)
{
    std::string note;
    if (user.height != 0) {
        note += weightLine(dialogtext::standardWeightByBmi, standardWeightByBmi(user.height));
        note += weightLine(dialogtext::standardWeightByBroca, standardWeightByBroca(user.height));
    }
    note += user.sex ? dialogtext::fatRangeMale : dialogtext::fatRangeFemale;
    return note;
}

std::string targetFieldText(double value)
{
    return value == 0 ? std::string() : generalNumberText(value);
}

double targetFieldValue(std::string_view text)
{
    return leadingDecimalNumber(text);
}

int choiceIndex(std::int32_t value, int count)
{
    return value >= 0 && value < count ? value : -1;
}

GraphSettingsForm graphSettingsForm(const GraphSettings &settings)
{
    GraphSettingsForm form;
    for (std::size_t row = 0; row < seriesRows.size(); ++row) {
        form.shown[row] = settings.*seriesRows[row].shown;
        form.styles[row] = settings.*seriesRows[row].style;
        form.colours[row] = settings.*seriesRows[row].colour;
    }
    for (std::size_t i = 0; i < elementColours.size(); ++i)
        form.colours[seriesRowCount + i] = settings.*elementColours[i];
    form.mainAxis = settings.yAxisMain;
    return form;
}

void applyGraphSettingsForm(const GraphSettingsForm &form, GraphSettings &settings)
{
    for (std::size_t row = 0; row < seriesRows.size(); ++row) {
        settings.*seriesRows[row].shown = form.shown[row];
        settings.*seriesRows[row].style = form.styles[row];
        settings.*seriesRows[row].colour = form.colours[row];
    }
    for (std::size_t i = 0; i < elementColours.size(); ++i)
        settings.*elementColours[i] = form.colours[seriesRowCount + i];
    settings.yAxisMain = form.mainAxis;
}

Colour complementaryColour(Colour colour)
{
    constexpr Colour rgb = 0xffffff;
    return ~colour & rgb;
}
