#pragma once

#include "journal/cquilloxdoc.h"

#include <cstdint>
#include <vector>

// The journal's entries newest first, as the list shows them: the entry of a
// row in constant time and the row of a date in logarithmic time. Walking the
// document's tree instead costs milliseconds on a long journal, too slow to
// repeat at every paint and every change of the selected day.
//
// It points into the document, so it must be refreshed before use whenever an
// entry may have been added or removed; refresh() does the work only then,
// and after one entry was added or removed it inserts or erases that row
// alone.
class ListRows {
  public:
    // True when the rows were taken anew.
    bool refresh(const CQuilloxDoc &document);

    int count() const { return static_cast<int>(rows_.size()); }
    const DayRecord &entry(int row) const { return *rows_[static_cast<std::size_t>(row)].entry; }
    // -1 when the journal has no entry for the date.
    int rowOf(Date date) const;

  private:
    // The date is kept beside the pointer so that the row of an entry the
    // document has just erased can still be found without reading it.
    struct Row {
        Date date;
        const DayRecord *entry;
    };
    // The first row whose date is not after date (rows run newest first).
    std::size_t firstRowNotAfter(Date date) const;
    bool followOneStep(const CQuilloxDoc &document);

    std::vector<Row> rows_;
    const CQuilloxDoc *document_ = nullptr;
    std::uint64_t revision_ = 0;
};
