#include "list/listgeometry.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int stepsPerList = 10;

} // namespace

ListScrollSizes listScrollSizes(int entryCount)
{
    // Past this many rows the height no longer fits an int.
    constexpr int maxRows = std::numeric_limits<int>::max() / listRowHeight;
    ListScrollSizes sizes;
    sizes.totalWidth = listTotalWidth;
    sizes.totalHeight = std::clamp(entryCount, 0, maxRows) * listRowHeight;
    sizes.pageStep = sizes.totalHeight / stepsPerList;
    sizes.lineStep = sizes.pageStep / stepsPerList;
    return sizes;
}

int listScrollMaximum(int totalHeight, int clientHeight)
{
    return std::max(0, totalHeight - std::max(0, clientHeight));
}

int listScrolledBy(int position, int delta, int maximum)
{
    const long long moved = static_cast<long long>(position) + delta;
    return static_cast<int>(std::clamp<long long>(moved, 0, std::max(0, maximum)));
}

int listRowAt(int y, int scrollPosition, int entryCount)
{
    const long long offset = static_cast<long long>(y) + scrollPosition;
    if (offset < 0)
        return -1;
    const long long row = offset / listRowHeight;
    return row < entryCount ? static_cast<int>(row) : -1;
}

ListRowSpan listVisibleRows(int scrollPosition, int clientHeight, int entryCount)
{
    if (clientHeight <= 0 || entryCount <= 0)
        return {};
    const int first = std::max(0, scrollPosition) / listRowHeight;
    const long long bottom = static_cast<long long>(std::max(0, scrollPosition)) + clientHeight - 1;
    const int last = static_cast<int>(std::min<long long>(bottom / listRowHeight, entryCount - 1));
    return first <= last ? ListRowSpan{first, last} : ListRowSpan{};
}

int listScrollToShow(int selectedRow, int scrollPosition, int clientHeight, int maximum)
{
    if (selectedRow < 0)
        return scrollPosition;
    const long long rowTop = static_cast<long long>(selectedRow) * listRowHeight;
    const long long firstCutRow =
        (static_cast<long long>(scrollPosition) + std::max(0, clientHeight)) / listRowHeight;
    if (rowTop < scrollPosition || selectedRow >= firstCutRow)
        return static_cast<int>(std::clamp<long long>(rowTop, 0, std::max(0, maximum)));
    return scrollPosition;
}

std::optional<int> listRowAfterMove(ListMove move, int selectedRow, int entryCount)
{
    if (entryCount <= 0)
        return std::nullopt;
    switch (move) {
    case ListMove::Older:
        if (selectedRow < 0 || selectedRow >= entryCount - 1)
            return std::nullopt;
        return selectedRow + 1;
    case ListMove::Newer:
        if (selectedRow <= 0)
            return std::nullopt;
        return selectedRow - 1;
    case ListMove::Latest:
        return 0;
    case ListMove::Earliest:
        return entryCount - 1;
    }
    return std::nullopt;
}
