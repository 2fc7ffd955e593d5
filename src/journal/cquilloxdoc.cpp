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
