#pragma once

#include "journal/calendardate.h"

#include <QObject>

class CQuilloxDoc;

// What the panes share: the one document and the selected day, and the
// notices that pass between them. The application owns it; the main window
// hands it to each pane, so no pane needs to know who else is listening.
class JournalContext : public QObject {
    Q_OBJECT
  public:
    JournalContext(CQuilloxDoc &document, Date selectedDate, QObject *parent = nullptr);

    CQuilloxDoc &document() const { return document_; }

    Date selectedDate() const { return selectedDate_; }
    // Announces selectedDayChanged only when the day really changes; the
    // panes re-read the document at the next updateAllViews.
    void setSelectedDate(Date day);

    // Every pane re-reads the document; `sender` (a pane) is skipped.
    void updateAllViews(QObject *sender = nullptr);

    // The period of the graph is worked out anew from the document's
    // setting at its next drawing (after a load, a new journal, a period
    // command).
    void resetGraphPeriod();
    // The period commands of the view menu and the graph's pop-up menu.
    void setGraphPeriod(int nDays);

  signals:
    void documentUpdated(QObject *sender);
    void selectedDayChanged(Date day);
    void graphPeriodReset();

  private:
    CQuilloxDoc &document_;
    Date selectedDate_;
};
