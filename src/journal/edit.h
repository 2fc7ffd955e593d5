#pragma once

#include "journal/calendardate.h"
#include "journal/dayrecord.h"
#include "journal/graphsettings.h"
#include "journal/objective.h"
#include "journal/userinfo.h"

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

class CQuilloxDoc;

// One day's part of an edit: the entry as it was and as it becomes. No
// `before` means the edit adds the day, no `after` that it removes it.
struct DayChange {
    Date date{};
    std::optional<DayRecord> before;
    std::optional<DayRecord> after;

    bool operator==(const DayChange &) const = default;
};

// One section's part of an edit.
template <typename Section> struct SectionChange {
    Section before;
    Section after;

    bool operator==(const SectionChange &) const = default;
};

// A change of the journal, as the images of what it touches before and after.
// Every change of a document's data is one of these, so that undo, the record
// of unsaved changes and the merge of two versions all read the same thing.
//
// The graph's period (graphNDays) is a choice of view, not part of the
// journal's contents: the graph-settings images carry the value the document
// had, and applying them never moves it.
struct Edit {
    // Ascending by date, one change per date, before and after never equal.
    std::vector<DayChange> days;
    std::optional<SectionChange<UserInfo>> userInfo;
    std::optional<SectionChange<Objective>> objective;
    std::optional<SectionChange<GraphSettings>> graphSettings;

    bool empty() const { return days.empty() && !userInfo && !objective && !graphSettings; }
    // The same edit read backwards: what undoes it.
    Edit inverse() const;

    bool operator==(const Edit &) const = default;
};

// Collects the changes of one step against the document as it is now, so that
// the befores are the document's own values. A later change of the same day or
// section replaces an earlier one; a change back to the document's value
// drops out, so that take() of a builder that changes nothing is empty.
class EditBuilder {
  public:
    explicit EditBuilder(const CQuilloxDoc &document) : document_(document) {}

    // The entry of day.date becomes `day`, every field replaced.
    void changeDay(const DayRecord &day);
    void deleteDay(Date date);
    void changeUserInfo(const UserInfo &userInfo);
    void changeObjective(const Objective &objective);
    // Every setting but the graph's period, which stays as the document has it.
    void changeGraphSettings(const GraphSettings &settings);

    Edit take();

  private:
    void changeDayTo(Date date, std::optional<DayRecord> after);

    const CQuilloxDoc &document_;
    std::map<Date, std::optional<DayRecord>> days_;
    std::optional<UserInfo> userInfo_;
    std::optional<Objective> objective_;
    std::optional<GraphSettings> graphSettings_;
};

// Everything that differs between two documents (days and sections, not the
// graph's period), as the edit that turns `from` into `to`.
Edit differenceBetween(const CQuilloxDoc &from, const CQuilloxDoc &to);

// Short forms for a single step.
Edit dayEdit(const CQuilloxDoc &document, const DayRecord &day);
Edit removeDayEdit(const CQuilloxDoc &document, Date date);

// The first date an edit touches, if it touches a day.
std::optional<Date> firstChangedDay(const Edit &edit);
