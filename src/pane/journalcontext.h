#pragma once

#include "journal/calendardate.h"
#include "pane/journaleditor.h"
#include "trend/trend.h"

#include <QObject>

#include <cstdint>

class CQuilloxDoc;

// The optional layer over the graph and the advisor, switched in the view
// menu and the graph's pop-up menu. Kept in the profile, never in the journal.
struct ProgressOptions {
    bool trendLine = false;
    bool goalLine = false;

    bool operator==(const ProgressOptions &) const = default;
};

// What the panes share: the one document and the selected day, and the
// notices that pass between them. The application owns it; the main window
// hands it to each pane, so no pane needs to know who else is listening.
class JournalContext : public QObject {
    Q_OBJECT
  public:
    JournalContext(CQuilloxDoc &document, Date selectedDate, QObject *parent = nullptr);

    // The document is read here and changed only through the editor.
    CQuilloxDoc &document() const { return document_; }
    JournalEditor &editor() { return editor_; }

    Date selectedDate() const { return selectedDate_; }
    // Announces selectedDayChanged only when the day really changes; the
    // panes re-read the document at the next updateAllViews.
    void setSelectedDate(Date day);

    // Every pane re-reads the document; `sender` (a pane) is skipped. For
    // what is not an edit: a new selected day, a load, a new journal.
    void updateAllViews(QObject *sender = nullptr);

    // The period of the graph is worked out anew from the document's
    // setting at its next drawing (after a load, a new journal, a period
    // command).
    void resetGraphPeriod();
    // The period commands of the view menu and the graph's pop-up menu.
    void setGraphPeriod(int nDays);

    ProgressOptions progressOptions() const { return progressOptions_; }
    // Announces progressOptionsChanged only when an option really changes.
    void setProgressOptions(const ProgressOptions &options);

    // The trends of the document's weight and body fat. Worked out when first
    // asked for after a change of the journal, so that neither a repaint nor
    // a new selected day pays for them again.
    const JournalTrends &trends() const;

  signals:
    void documentUpdated(QObject *sender);
    void selectedDayChanged(Date day);
    void graphPeriodReset();
    void progressOptionsChanged();

  private:
    CQuilloxDoc &document_;
    JournalEditor editor_;
    Date selectedDate_;
    ProgressOptions progressOptions_;

    // The document's day-list revision and change count the trends were
    // worked out at: together they move with every change of a value.
    mutable JournalTrends trends_;
    mutable std::optional<std::pair<std::uint64_t, std::uint64_t>> trendsKey_;
};
