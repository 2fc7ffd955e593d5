#include "list/listrows.h"

#include <algorithm>

bool ListRows::refresh(const CQuilloxDoc &document)
{
    if (document_ == &document && revision_ == document.dayListRevision())
        return false;
    if (document_ == &document && followOneStep(document)) {
        revision_ = document.dayListRevision();
        return true;
    }
    const CQuilloxDoc::DayList &days = document.dayList();
    // Walked forwards and filled from the back: stepping a tree iterator
    // backwards also visits each node's grandparent, which made the walk
    // several times slower on a long journal.
    rows_.resize(days.size());
    auto row = rows_.rbegin();
    for (const auto &[date, entry] : days)
        *row++ = Row{date, &entry};
    document_ = &document;
    revision_ = document.dayListRevision();
    return true;
}

std::size_t ListRows::firstRowNotAfter(Date date) const
{
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), date,
                                     [](const Row &row, Date d) { return row.date > d; });
    return static_cast<std::size_t>(it - rows_.begin());
}

bool ListRows::followOneStep(const CQuilloxDoc &document)
{
    const auto &step = document.lastDayListStep();
    if (!step || step->fromRevision != revision_)
        return false;
    const std::size_t row = firstRowNotAfter(step->date);
    const bool present = row < rows_.size() && rows_[row].date == step->date;
    const auto at = rows_.begin() + static_cast<std::ptrdiff_t>(row);
    if (step->added) {
        const DayRecord *entry = document.findDay(step->date);
        if (present || !entry)
            return false;
        rows_.insert(at, Row{step->date, entry});
    } else {
        if (!present)
            return false;
        rows_.erase(at);
    }
    return true;
}

int ListRows::rowOf(Date date) const
{
    const std::size_t row = firstRowNotAfter(date);
    if (row == rows_.size() || rows_[row].date != date)
        return -1;
    return static_cast<int>(row);
}
