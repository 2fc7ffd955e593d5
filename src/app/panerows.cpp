#include "app/panerows.h"

#include <algorithm>

int minimumPlotHeight(int splitterHeight)
{
    if (splitterHeight >= roomyPanesHeight)
        return roomyPlotHeight;
    return std::max(splitterHeight, 0) / 4;
}

int fittedTopRowHeight(int splitterHeight, int handleWidth, int wantedTopRow, int graphMargins)
{
    const int panes = std::max(splitterHeight - handleWidth, 0);
    const int graphNeeds = graphMargins + minimumPlotHeight(splitterHeight);
    return std::clamp(std::min(wantedTopRow, panes - graphNeeds), 0, panes);
}
