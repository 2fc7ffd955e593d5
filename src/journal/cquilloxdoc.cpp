#include "journal/cquilloxdoc.h"

const std::array<GraphPeriodItem, 14> graphPeriodItems{{
    GraphPeriodItem{7, "&1週間分"},
    GraphPeriodItem{14, "&2週間分"},
    GraphPeriodItem{21, "&3週間分"},
    GraphPeriodItem{28, "&4週間分"},
    GraphPeriodItem{35, "&5週間分"},
    GraphPeriodItem{42, "&6週間分"},
    GraphPeriodItem{49, "&7週間分"},
    GraphPeriodItem{56, "&8週間分"},
    GraphPeriodItem{63, "&9週間分"},
    GraphPeriodItem{70, "1&0週間分"},
    GraphPeriodItem{-1, "1ヶ月分(&M)"},
    GraphPeriodItem{-3, "3ヶ月分(&Q)"},
    GraphPeriodItem{-6, "半年分(&H)"},
    GraphPeriodItem{-12, "1年分(&Y)"},
}};

CQuilloxDoc::CQuilloxDoc() = default;

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
}

void CQuilloxDoc::removeDay(Date date)
{
    days_.erase(date);
}

void CQuilloxDoc::clearDays()
{
    days_.clear();
}

void CQuilloxDoc::resetToDefaults()
{
    days_.clear();
    userInfo = UserInfo{};
    objective = Objective{};
    graphSettings = GraphSettings{};
}
