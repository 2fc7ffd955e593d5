#include "pane/journalcontext.h"

#include "journal/cquilloxdoc.h"

JournalContext::JournalContext(CQuilloxDoc &document, Date selectedDate, QObject *parent)
    : QObject(parent), document_(document), editor_(document), selectedDate_(selectedDate)
{
}

void JournalContext::setSelectedDate(Date day)
{
    if (day == selectedDate_)
        return;
    selectedDate_ = day;
    emit selectedDayChanged(day);
}

void JournalContext::updateAllViews(QObject *sender)
{
    emit documentUpdated(sender);
}

void JournalContext::resetGraphPeriod()
{
    emit graphPeriodReset();
}

void JournalContext::setGraphPeriod(int nDays)
{
    document_.setGraphPeriod(nDays);
    resetGraphPeriod();
    updateAllViews();
}

void JournalContext::setProgressOptions(const ProgressOptions &options)
{
    if (options == progressOptions_)
        return;
    progressOptions_ = options;
    emit progressOptionsChanged();
}

const JournalTrends &JournalContext::trends() const
{
    const std::pair key{document_.dayListRevision(), document_.changeCount()};
    if (trendsKey_ != key) {
        updateJournalTrends(document_.dayList(), trends_);
        trendsKey_ = key;
    }
    return trends_;
}
