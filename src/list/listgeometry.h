#pragma once

#include <optional>

// The arithmetic of the journal list: rows of a fixed height, newest entry in
// row 0, one pixel per scroll unit. Everything here works on counts and
// pixels, so the pane and its tests share it without a display.

inline constexpr int listRowHeight = 18;
// Where a row's text starts inside its band.
inline constexpr int listTextLeft = 2;
inline constexpr int listTextTop = 2;
// The list scrolls only vertically; its nominal width is small enough that
// every pane is wider.
inline constexpr int listTotalWidth = 100;

struct ListScrollSizes {
    int totalWidth = 0;
    int totalHeight = 0;
    // A tenth of the whole list, and a tenth of that, in whole pixels: a
    // journal of fewer than six entries has a line step of 0.
    int pageStep = 0;
    int lineStep = 0;
};
ListScrollSizes listScrollSizes(int entryCount);

// The largest scroll position: 0 when the whole list fits.
int listScrollMaximum(int totalHeight, int clientHeight);

// Position after moving by delta pixels, kept within 0 .. maximum.
int listScrolledBy(int position, int delta, int maximum);

// The row under client y, or -1 when the point is below the last row.
int listRowAt(int y, int scrollPosition, int entryCount);

// The rows that meet a client area of clientHeight pixels; first > last when
// none does.
struct ListRowSpan {
    int first = 0;
    int last = -1;
};
ListRowSpan listVisibleRows(int scrollPosition, int clientHeight, int entryCount);

// The scroll position after an update: a selected row that starts above the
// visible area, or lies at or below the last (possibly partly visible) row,
// becomes the top row as far as the range allows; otherwise nothing moves.
// selectedRow -1 means no selection.
int listScrollToShow(int selectedRow, int scrollPosition, int clientHeight, int maximum);

// The keyboard's selection commands.
enum class ListMove {
    Older,    // Down
    Newer,    // Up
    Latest,   // Home
    Earliest, // End
};
// The row a command selects, or nullopt when it has nothing to act on (no
// entries, no selected row for Older and Newer, already at that end).
std::optional<int> listRowAfterMove(ListMove move, int selectedRow, int entryCount);
