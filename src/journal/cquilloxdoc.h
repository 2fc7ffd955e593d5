#pragma once

#include "journal/calendardate.h"
#include "journal/dayrecord.h"
#include "journal/graphsettings.h"
#include "journal/journalio.h"
#include "journal/objective.h"
#include "journal/userinfo.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// One entry of the graph-period submenu: the value it gives graphNDays and its
// menu text (UTF-8).
struct GraphPeriodItem {
    std::int32_t nDays;
    const char *menuText;
};

// The submenu "ｸﾞﾗﾌ表示日数(&G)" in menu order.
extern const std::array<GraphPeriodItem, 14> graphPeriodItems;

// The one document: the current user's journal. Plain C++ so that every rule
// of the file and of the statistics can be tested without a display.
class CQuilloxDoc {
  public:
    // Keyed by date: lookups and inserts are logarithmic, iteration is in
    // ascending date order, and range queries start at the range's first day.
    using DayList = std::map<Date, DayRecord>;

    CQuilloxDoc();

    // ---- day list ----
    const DayList &dayList() const { return days_; }
    const DayRecord *findDay(Date date) const;
    const DayRecord *firstDay() const;
    const DayRecord *lastDay() const;
    // Creates the entry or replaces its memo and six values in place.
    void setDay(Date date, std::string memo, double weight, double fatPercent, double jogDistance,
                double jogDuration, double walkDistance, double walkDuration);
    void removeDay(Date date);
    void clearDays();

    // ---- derived figures and statistics ----
    static double seriesValue(const DayRecord &entry, int index);
    int countExerciseDays(Date first, Date last) const;
    double sumOverDays(int index, Date start, int nDays) const;
    double averageOverDays(int index, Date start, int nDays) const;

    struct ValueRange {
        double smallest;
        double largest;
    };
    // (largest finite double, 0) when the range holds no value.
    ValueRange seriesRange(int index, Date first, Date last, double divisor) const;

    struct DateWindow {
        Date first;
        Date last;
    };
    // nullopt for nDays <= 0 (the month periods are the graph's business).
    std::optional<DateWindow> graphWindowForDays(int nDays) const;
    std::optional<DateWindow> graphWindowForDays(int nDays, Date today) const;

    // ---- graph period commands ----
    void setGraphPeriod(std::int32_t nDays) { graphSettings.graphNDays = nDays; }
    bool isGraphPeriodChecked(std::int32_t nDays) const
    {
        return graphSettings.graphNDays == nDays;
    }

    // ---- modified flag (set only by the user-information dialog) ----
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // ---- the journal file ----
    // Loads the file. When it cannot be opened or read, nothing changes.
    // Otherwise every part starts from its defaults and the file overrides
    // what it holds; the modified flag is cleared.
    JournalLoadResult readJournal(const std::string &path);
    // Writes the whole journal through a temporary file renamed over the
    // journal, keeping the previous version as path + ".bak". On failure the
    // previous file is untouched and the modified flag keeps its value.
    JournalStoreResult writeJournal(const std::string &path);

    // The same two operations on bytes in memory.
    std::vector<SkippedLine> loadJournalText(std::string_view bytes);
    std::string journalText() const;

    // "zph%04d.txt"
    static std::string journalFileName(int userNumber);

    // Sets profile, objective, graph settings to their defaults and empties
    // the day list.
    void resetToDefaults();

    // Plain fields, read and written directly by the views and dialogs.
    UserInfo userInfo;
    Objective objective;
    GraphSettings graphSettings;

  private:
    DayList days_;
    bool modified_ = false;
};
