#pragma once

#include "journal/graphsettings.h"

#include <optional>
#include <vector>

// Device coordinates with right and bottom exclusive, as the graph's
// geometry is stated (a Qt QRect's right() is inclusive).
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const PixelRect &) const = default;
};

// Sizes of one drawing, from the surface's vertical dots per inch and k
// (6 on screen, 5 on paper): u is k points in device units.
struct GraphUnits {
    int u = 0;
    int textHeight = 0; // H = 2u
    int axisWidth = 0;  // W = 2u / 7 + 4u, the room of one value axis
    int tickLength = 0; // t = 4u / 7
};
GraphUnits graphUnits(int dotsPerInchY, int k);

// The eight series in the graph's order, and what each takes from the
// settings.
inline constexpr int graphSeriesCount = 8;
enum GraphSeries : int {
    graphSeriesWeight = 0,
    graphSeriesFatPercent,
    graphSeriesFat,
    graphSeriesNotFat,
    graphSeriesJogDistance,
    graphSeriesJogDuration,
    graphSeriesWalkDistance,
    graphSeriesWalkDuration,
};
bool isBarSeries(int series);
bool isSeriesShown(const GraphSettings &settings, int series);
Colour seriesColour(const GraphSettings &settings, int series);
int seriesDrawType(const GraphSettings &settings, int series); // line or bar type
int seriesJournalIndex(int series);                            // the journal's SeriesIndex
double seriesDivisor(int series);                              // 60 for the durations

// The series that get an axis right of the plot, in order: every shown series
// but the main axis's, except that walk distance and walk duration share the
// jog series' axis when that is shown.
std::vector<int> secondaryAxisSeries(const GraphSettings &settings);
// How many axis widths the right margin takes: at least one.
int rightMarginAxes(const GraphSettings &settings);

// The plot rectangle inside the drawing rectangle, before its bottom moves
// up onto the baseline: screen margins of 2H above and below, paper 4H.
PixelRect plotRectFor(const PixelRect &rect, const GraphUnits &units, int rightAxes, bool printing);
// What a screen drawing takes from its pane's height besides the plot: both
// margins (the date strip lies in the lower one) and the baseline row.
int screenPlotMargins(const GraphUnits &units);

// Horizontal room per day in whole pixels, and the centre of day i at that
// width.
int dayWidthFor(const PixelRect &plotRect, int periodDays);
int dayCentre(const PixelRect &plotRect, int dayWidth, int dayIndex);

// Where the period's days lie along the plot. Whole pixels per day wherever
// they fit; when that width would be 0 or 1, the days share the plot's width
// in fractions instead, so that a long period in a narrow pane still fills
// the plot rather than piling up against its left edge. Everything that
// places a day or reads a day from a position goes through this mapping.
struct DayAxis {
    int left = 0;
    int right = 0;
    int periodDays = 0;
    int dayWidth = 0; // the whole-pixel width (dayWidthFor)
    double pitch = 0; // room per day as drawn; 0 when no day can be placed

    bool isFractional() const { return pitch > 0 && dayWidth <= 1; }
    bool operator==(const DayAxis &) const = default;
};
DayAxis dayAxisFor(const PixelRect &plotRect, int periodDays);
// The x of day i's centre, and the day a click at x selects (nullopt when no
// day can be placed). Left of the first day gives day 0, right of the last
// day the last one.
int dayCentre(const DayAxis &axis, int dayIndex);
std::optional<int> clickedDayIndex(const DayAxis &axis, int x);
// Where day i's room begins (a month's separator stands there), and where the
// last month's segment of the date strip ends.
int dayAreaLeft(const DayAxis &axis, int dayIndex);
int dateStripEnd(const DayAxis &axis);

// A label as drawn, and the kind of labels it keeps its distance from: day
// numbers, month names and axis labels each keep clear of their own kind (an
// axis's top label and its unit count as one).
enum class LabelKind { day, month, axis };
struct DrawnLabel {
    PixelRect box;
    LabelKind kind;
};

// What the last drawing laid out; clicks are judged against it.
struct GraphLayout {
    PixelRect plotRect; // bottom already moved up onto the baseline row
    int dayWidth = 0;
    DayAxis dayAxis; // the days as drawn; empty until a drawing with a period
    PixelRect prevButtonRect;
    PixelRect nextButtonRect;
    std::vector<DrawnLabel> labels;
};

// The shown activity series side by side on a day: their common width and
// each bar's offset from the day centre, in order jog distance, jog duration,
// walk distance, walk duration.
struct BarPlacement {
    int width = 0;
    std::vector<int> offsets; // one per shown activity series
};
BarPlacement barPlacement(int dayWidth, int shownBarSeries);
// The same on a day axis: days of fractional width get bars of at least one
// pixel instead of the whole-pixel minimum of five.
BarPlacement barPlacement(const DayAxis &axis, int shownBarSeries);

// The day a click at x in the date strip selects, or nullopt when no day can
// be judged (nothing drawn yet). Left of the first day gives day 0, right of
// the last day the last one.
std::optional<int> clickedDayIndex(int x, int plotLeft, int dayWidth, int periodDays);

// The two navigation buttons of a screen drawing, at the bottom of the pane.
struct NavigationButtons {
    PixelRect earlier;
    PixelRect later;
};
NavigationButtons navigationButtons(const PixelRect &clientRect, const PixelRect &plotRect,
                                    int textHeight);
