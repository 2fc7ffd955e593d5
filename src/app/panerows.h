#pragma once

// The heights of the main window's two rows (the top panes and the graph), in
// logical pixels. On a short or strongly scaled screen the top row gives way
// before the graph's plot becomes too small to read: the entry form scrolls,
// a squeezed plot does not.

inline constexpr int roomyPanesHeight = 560;
inline constexpr int roomyPlotHeight = 120;

// The least height of the graph's plot in a splitter this high: 120 while the
// splitter has at least 560, a quarter of it below that.
int minimumPlotHeight(int splitterHeight);

// The top row's height in a splitter this high: the wanted height (the
// design's 400, or where the user put the bar) unless the graph, whose
// margins take graphMargins, would then be left with less than its minimum
// plot. Never below 0 or above what the splitter holds.
int fittedTopRowHeight(int splitterHeight, int handleWidth, int wantedTopRow, int graphMargins);
