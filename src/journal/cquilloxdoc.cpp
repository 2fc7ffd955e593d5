#include "journal/cquilloxdoc.h"

CQuilloxDoc::CQuilloxDoc() = default;

CQuilloxDoc::CQuilloxDoc(Date today)
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
    DayRecord &entry = days_[date];
    entry.date = date;
    entry.weight = weight;
    entry.fatPercent = fatPercent;
    entry.jogDistance = jogDistance;
    entry.jogDuration = jogDuration;
    entry.walkDistance = walkDistance;
    entry.walkDuration = walkDuration;
    entry.memo = std::move(memo);
    modified_ = true;
}

void CQuilloxDoc::removeDay(Date date)
{
    if (days_.erase(date) > 0) {
        modified_ = true;
    }
}

void CQuilloxDoc::clearDays()
{
    days_.clear();
}

void CQuilloxDoc::resetToDefaults(Date today)
{
    days_.clear();
    userInfo = UserInfo{};
    objective = Objective{};
    objective.eventDate = today;
    graphSettings = GraphSettings{};
}
