#pragma once

// Widths of the three panes of the top row (entry form, list, advisor), in
// pixels of pane area: the splitter's borders and handles are not included.
// A width of 0 means the pane is hidden.

struct TopPaneWidths {
    int entryForm = 0;
    int list = 0;
    int advisor = 0;

    bool operator==(const TopPaneWidths &) const = default;
};

inline constexpr int entryFormInitialWidth = 200;
inline constexpr int listInitialWidth = 200;
inline constexpr int entryFormMinimumWidth = 180;
inline constexpr int listMinimumWidth = 180;
inline constexpr int advisorMinimumWidth = 80;

// The first layout: entry form and list at their initial widths, the advisor
// takes the rest.
TopPaneWidths initialTopPaneWidths(int available);

// The layout after the window's width changed: the entry form and the advisor
// keep their widths (currentEntryForm, currentAdvisor) and the list takes the
// whole change, but never goes below its minimum. The missing width then
// comes out of the advisor, which is hidden once it would be narrower than its
// minimum. The widths always add up to `available`.
TopPaneWidths resizedTopPaneWidths(int available, int currentEntryForm, int currentAdvisor);
