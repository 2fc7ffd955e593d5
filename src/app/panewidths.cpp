#include "app/panewidths.h"

#include <algorithm>

namespace {

// Lays the panes out from left to right with their ideal widths; the last
// pane takes what is left. A pane that would get less than its minimum is
// hidden and its share goes to the pane before it, so no pane is ever shown
// squeezed below its minimum (except the first, which has no one to give to).
TopPaneWidths layOut(int available, int idealEntryForm, int idealList)
{
    TopPaneWidths w;
    int remaining = std::max(available, 0);

    w.entryForm = idealEntryForm < entryFormMinimumWidth ? 0 : std::min(idealEntryForm, remaining);
    remaining -= w.entryForm;

    if (remaining < listMinimumWidth && w.entryForm > 0) {
        w.entryForm += remaining;
        return w;
    }
    w.list = std::min(std::max(idealList, listMinimumWidth), remaining);
    remaining -= w.list;

    if (remaining < advisorMinimumWidth) {
        w.list += remaining;
        return w;
    }
    w.advisor = remaining;
    return w;
}

} // namespace

TopPaneWidths initialTopPaneWidths(int available)
{
    return layOut(available, entryFormInitialWidth, listInitialWidth);
}

TopPaneWidths resizedTopPaneWidths(int available, int currentEntryForm, int currentAdvisor)
{
    const int entryForm = std::max(currentEntryForm, 0);
    const int advisor = std::max(currentAdvisor, 0);
    return layOut(available, entryForm, available - advisor - entryForm);
}
