#pragma once

// Setting up a document for a test goes through the document's one way of
// changing (an edit), so that a fixture never reaches a state the program
// could not.

#include "docsetup.h"
#include "journal/cquilloxdoc.h"
#include "journal/edit.h"

#include <string>
#include <utility>

// The entry of `date` with these values, as the entry form stores one.
inline void putDay(CQuilloxDoc &doc, Date date, std::string memo, double weight, double fatPercent,
                   double jogDistance, double jogDuration, double walkDistance, double walkDuration)
{
    doc.applyEdit(dayEdit(doc, DayRecord{date, weight, fatPercent, jogDistance, jogDuration,
                                         walkDistance, walkDuration, std::move(memo)}));
}

inline void dropDay(CQuilloxDoc &doc, Date date)
{
    doc.applyEdit(removeDayEdit(doc, date));
}

inline void dropAllDays(CQuilloxDoc &doc)
{
    EditBuilder edit(doc);
    for (const auto &[date, day] : doc.dayList())
        edit.deleteDay(date);
    doc.applyEdit(edit.take());
}

// A section of the document to change in place: the change is applied as an
// edit when the handle goes, at the end of the statement that made it
// (`userInfoOf(doc)->height = 170;`). The graph's period is not part of an
// edit: set it with setGraphPeriod.
template <typename Section, const Section &(CQuilloxDoc::*read)() const,
          void (EditBuilder::*write)(const Section &)>
class SectionHandle {
  public:
    explicit SectionHandle(CQuilloxDoc &doc) : doc_(doc), value_((doc.*read)()) {}
    SectionHandle(const SectionHandle &) = delete;
    SectionHandle &operator=(const SectionHandle &) = delete;
    ~SectionHandle()
    {
        EditBuilder edit(doc_);
        (edit.*write)(value_);
        doc_.applyEdit(edit.take());
    }
    Section *operator->() { return &value_; }
    Section &operator*() { return value_; }

  private:
    CQuilloxDoc &doc_;
    Section value_;
};

inline auto userInfoOf(CQuilloxDoc &doc)
{
    return SectionHandle<UserInfo, &CQuilloxDoc::userInfo, &EditBuilder::changeUserInfo>(doc);
}
inline auto objectiveOf(CQuilloxDoc &doc)
{
    return SectionHandle<Objective, &CQuilloxDoc::objective, &EditBuilder::changeObjective>(doc);
}
inline auto graphSettingsOf(CQuilloxDoc &doc)
{
    return SectionHandle<GraphSettings, &CQuilloxDoc::graphSettings,
                         &EditBuilder::changeGraphSettings>(doc);
}
