#include "list/listrows.h"

#include <algorithm>

bool ListRows::refresh(const CQuilloxDoc &document)
{
    if (document_ == &document && revision_ == document.dayListRevision())
        return false;
    const CQuilloxDoc::DayList &days = document.dayList();
    rows_.clear();
    rows_.reserve(days.size());
    for (auto it = days.rbegin(); it != days.rend(); ++it)
        rows_.push_back(&it->second);
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
