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
    objective.eventDate = today;
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

void CQuilloxDoc::setDay(Date date, std::string memo, double weight, double fatPercent,
                         double jogDistance, double jogDuration, double walkDistance,
                         double walkDuration)
{
    const auto [it, added] = days_.try_emplace(date);
    if (added)
        dayListChanged(DayListStep{0, date, true});
    DayRecord &entry = it->second;
    entry.date = date;
    entry.weight = weight;
    entry.fatPercent = fatPercent;
    entry.jogDistance = jogDistance;
    entry.jogDuration = jogDuration;
    entry.walkDistance = walkDistance;
    entry.walkDuration = walkDuration;
    entry.memo = std::move(memo);
    // Counted as a change also when the day was only replaced in place, so
    // that whatever keeps figures from the values sees it.
    setModified(true);
}

void CQuilloxDoc::removeDay(Date date)
{
    if (days_.erase(date) != 0) {
        dayListChanged(DayListStep{0, date, false});
        modified_ = true;
    }
}

void CQuilloxDoc::clearDays()
{
    days_.clear();
    dayListChanged();
}

void CQuilloxDoc::resetToDefaults(Date today)
{
    days_.clear();
    dayListChanged();
    userInfo = UserInfo{};
    objective = Objective{};
    objective.eventDate = today;
    graphSettings = GraphSettings{};
}
