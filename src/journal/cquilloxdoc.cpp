#include "journal/cquilloxdoc.h"

#include <atomic>

namespace {

// One sequence for all documents: a document never takes a revision another
// one had, even at the same address.
std::uint64_t nextDayListRevision()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

} // namespace

CQuilloxDoc::CQuilloxDoc() : dayListRevision_(nextDayListRevision())
{
}

void CQuilloxDoc::dayListChanged(std::optional<DayListStep> step)
{
    if (step)
        step->fromRevision = dayListRevision_;
    lastDayListStep_ = step;
    dayListRevision_ = nextDayListRevision();
    ++changeCount_;
}

CQuilloxDoc::CQuilloxDoc(Date today) : CQuilloxDoc()
{
    objective_.eventDate = today;
}

const DayRecord *CQuilloxDoc::findDay(Date date) const
{
    const auto it = days_.find(date);
    return it == days_.end() ? nullptr : &it->second;
}

const DayRecord *CQuilloxDoc::firstDay() const
{
    return days_.empty() ? nullptr : &days_.begin()->second;
}

const DayRecord *CQuilloxDoc::lastDay() const
{
    return days_.empty() ? nullptr : &days_.rbegin()->second;
}

Edit CQuilloxDoc::applyEdit(const Edit &edit)
{
    Edit undo;
    undo.days.reserve(edit.days.size());
    std::size_t added = 0;
    std::size_t removed = 0;
    std::optional<DayListStep> step;
    for (const DayChange &change : edit.days) {
        // Undoing takes the day from what it is now back to what it was.
        DayChange back{change.date, change.after, std::nullopt};
        if (back.before)
            back.before->date = change.date;
        if (const auto it = days_.find(change.date); it != days_.end()) {
            back.after = std::move(it->second);
            if (change.after) {
                it->second = *change.after;
                it->second.date = change.date;
            } else {
                days_.erase(it);
                ++removed;
                step = DayListStep{0, change.date, false};
            }
        } else if (change.after) {
            DayRecord &entry = days_.emplace(change.date, *change.after).first->second;
            entry.date = change.date;
            ++added;
            step = DayListStep{0, change.date, true};
        }
        if (back.before != back.after)
            undo.days.push_back(std::move(back));
    }
    // A view keeping pointers to the entries follows a single step; anything
    // more, and it takes every entry anew.
    if (added + removed == 1)
        dayListChanged(step);
    else if (added + removed > 1)
        dayListChanged();
    else if (!edit.days.empty())
        ++changeCount_; // replaced in place: the entries stay where they are

    if (edit.userInfo) {
        undo.userInfo = SectionChange<UserInfo>{edit.userInfo->after, userInfo_};
        userInfo_ = edit.userInfo->after;
    }
    if (edit.objective) {
        undo.objective = SectionChange<Objective>{edit.objective->after, objective_};
        objective_ = edit.objective->after;
    }
    if (edit.graphSettings) {
        undo.graphSettings =
            SectionChange<GraphSettings>{edit.graphSettings->after, graphSettings_};
        const std::int32_t period = graphSettings_.graphNDays;
        graphSettings_ = edit.graphSettings->after;
        graphSettings_.graphNDays = period;
        undo.graphSettings->before.graphNDays = period;
    }
    if (edit.userInfo || edit.objective || edit.graphSettings)
        ++changeCount_;
    return undo;
}

void CQuilloxDoc::startUntitled()
{
    days_.clear();
    dayListChanged();
    modified_ = false;
}

void CQuilloxDoc::resetToDefaults(Date today)
{
    days_.clear();
    dayListChanged();
    userInfo_ = UserInfo{};
    objective_ = Objective{};
    objective_.eventDate = today;
    graphSettings_ = GraphSettings{};
}
