#include "journal/edit.h"

#include "journal/cquilloxdoc.h"

#include <utility>

namespace {

template <typename Section>
std::optional<SectionChange<Section>> changeTo(const Section &current,
                                               const std::optional<Section> &wanted)
{
    if (!wanted || *wanted == current)
        return std::nullopt;
    return SectionChange<Section>{current, *wanted};
}

template <typename Section>
std::optional<SectionChange<Section>> reversed(const std::optional<SectionChange<Section>> &change)
{
    if (!change)
        return std::nullopt;
    return SectionChange<Section>{change->after, change->before};
}

} // namespace

// A member of the document, kept beside the rest of the edits: the document
// itself knows an edit only by name.
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

Edit Edit::inverse() const
{
    Edit back;
    back.days.reserve(days.size());
    for (const DayChange &change : days)
        back.days.push_back({change.date, change.after, change.before});
    back.userInfo = reversed(userInfo);
    back.objective = reversed(objective);
    back.graphSettings = reversed(graphSettings);
    return back;
}

void EditBuilder::changeDayTo(Date date, std::optional<DayRecord> after)
{
    if (after)
        after->date = date;
    days_.insert_or_assign(date, std::move(after));
}

void EditBuilder::changeDay(const DayRecord &day)
{
    changeDayTo(day.date, day);
}

void EditBuilder::deleteDay(Date date)
{
    changeDayTo(date, std::nullopt);
}

void EditBuilder::changeUserInfo(const UserInfo &userInfo)
{
    userInfo_ = userInfo;
}

void EditBuilder::changeObjective(const Objective &objective)
{
    objective_ = objective;
}

void EditBuilder::changeGraphSettings(const GraphSettings &settings)
{
    graphSettings_ = settings;
    graphSettings_->graphNDays = document_.graphSettings().graphNDays;
}

Edit EditBuilder::take()
{
    Edit edit;
    edit.days.reserve(days_.size());
    for (auto &[date, after] : days_) {
        const DayRecord *current = document_.findDay(date);
        std::optional<DayRecord> before;
        if (current)
            before = *current;
        if (before != after)
            edit.days.push_back({date, std::move(before), std::move(after)});
    }
    days_.clear();
    edit.userInfo = changeTo(document_.userInfo(), std::exchange(userInfo_, std::nullopt));
    edit.objective = changeTo(document_.objective(), std::exchange(objective_, std::nullopt));
    edit.graphSettings =
        changeTo(document_.graphSettings(), std::exchange(graphSettings_, std::nullopt));
    return edit;
}

Edit differenceBetween(const CQuilloxDoc &from, const CQuilloxDoc &to)
{
    // One walk over both day lists in date order.
    Edit edit;
    const CQuilloxDoc::DayList &a = from.dayList();
    const CQuilloxDoc::DayList &b = to.dayList();
    auto i = a.begin();
    auto j = b.begin();
    while (i != a.end() || j != b.end()) {
        if (j == b.end() || (i != a.end() && i->first < j->first)) {
            edit.days.push_back({i->first, i->second, std::nullopt});
            ++i;
        } else if (i == a.end() || j->first < i->first) {
            edit.days.push_back({j->first, std::nullopt, j->second});
            ++j;
        } else {
            if (!(i->second == j->second))
                edit.days.push_back({i->first, i->second, j->second});
            ++i;
            ++j;
        }
    }
    edit.userInfo = changeTo(from.userInfo(), std::optional(to.userInfo()));
    edit.objective = changeTo(from.objective(), std::optional(to.objective()));
    GraphSettings settings = to.graphSettings();
    settings.graphNDays = from.graphSettings().graphNDays;
    edit.graphSettings = changeTo(from.graphSettings(), std::optional(settings));
    return edit;
}

Edit dayEdit(const CQuilloxDoc &document, const DayRecord &day)
{
    EditBuilder builder(document);
    builder.changeDay(day);
    return builder.take();
}

Edit removeDayEdit(const CQuilloxDoc &document, Date date)
{
    EditBuilder builder(document);
    builder.deleteDay(date);
    return builder.take();
}

std::optional<Date> firstChangedDay(const Edit &edit)
{
    if (edit.days.empty())
        return std::nullopt;
    return edit.days.front().date;
}
