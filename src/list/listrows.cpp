#include "list/listrows.h"

#include <algorithm>

bool ListRows::refresh(const CQuilloxDoc &document)
{
    if (document_ == &document && revision_ == document.dayListRevision())
        return false;
    const CQuilloxDoc::DayList &days = document.dayList();
    // Walked forwards and filled from the back: stepping a tree iterator
    // backwards also visits each node's grandparent, which made the walk
    // several times slower on a long journal.
    rows_.resize(days.size());
    auto row = rows_.rbegin();
    for (const auto &[date, entry] : days)
        *row++ = &entry;
    document_ = &document;
    revision_ = document.dayListRevision();
    return true;
}

int ListRows::rowOf(Date date) const
{
    // Rows run from the newest date down.
    const auto it =
        std::lower_bound(rows_.begin(), rows_.end(), date,
                         [](const DayRecord *entry, Date d) { return entry->date > d; });
    if (it == rows_.end() || (*it)->date != date)
        return -1;
    return static_cast<int>(it - rows_.begin());
}
