#pragma once

#include <cstdint>

// 0x00BBGGRR: red in the lowest byte.
using Colour = std::uint32_t;

// How the graph shows the journal, section "[settings]" of the journal file,
// plus the printer paper orientation.
// The values of paperOri that name an orientation; any other leaves the
// printer's own.
inline constexpr std::int16_t paperPortrait = 1;
inline constexpr std::int16_t paperLandscape = 2;

struct GraphSettings {
    std::int32_t graphNDays = 35; // > 0 days, < 0 minus a number of months
    bool graphWeight = true;
    bool graphFatPercent = true;
    bool graphFat = false;
    bool graphNotFat = false;
    bool graphJogDistance = true;
    bool graphJogDuration = true;
    bool graphWalkDistance = false;
    bool graphWalkDuration = false;
    std::int16_t paperOri = 2; // paperPortrait, paperLandscape, 0 unknown
    std::int32_t weightLineType = 0;
    std::int32_t fatPcntLineType = 0;
    std::int32_t fatLineType = 0;
    std::int32_t notFatLineType = 0;
    std::int32_t jogDistType = 1;
    std::int32_t jogDurType = 1;
    std::int32_t walkDistType = 1;
    std::int32_t walkDurType = 1;
    std::int32_t yAxisMain = 0;
    Colour colorWeight = 0xf00000;
    Colour colorFatPercent = 0x0000f0;
    Colour colorFat = 0x00e600;    // not kept in the file: default after every load
    Colour colorNotFat = 0x000000; // not kept in the file: default after every load
    Colour colorJogDistance = 0x00f000;
    Colour colorJogDuration = 0xf000f0;
    Colour colorWalkDistance = 0x00f000;
    Colour colorWalkDuration = 0xf000f0;
    Colour colorCrntDate = 0x00ff00;
    Colour colorDivision = 0x000000;
    Colour colorBackGround = 0xffffff;

    bool operator==(const GraphSettings &) const = default;
};
