#pragma once

#include "journal/calendardate.h"

#include <optional>

class CQuilloxView;

// The list as screen readers see it: a list with one item per line, whose
// text is the line as drawn and whose state says which is selected.
void installListAccessibility();

// Tells screen readers the selected line moved: a selection event, and a
// focus event while the list has the keyboard. Nothing when the day is the
// one last announced (announced keeps it) or has no line.
void announceSelectedRow(CQuilloxView *view, int row, std::optional<Date> &announced,
                         Date selected);
