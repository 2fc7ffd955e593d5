#pragma once

#include "journal/calendardate.h"
#include "journal/dayrecord.h"
#include "journal/graphsettings.h"
#include "journal/journalio.h"
#include "journal/objective.h"
#include "journal/userinfo.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

struct Edit;

// The periods the graph-period commands choose, as graphNDays values in menu
// order: one to ten weeks, then one, three, six and twelve months (negative).
inline constexpr std::array<std::int32_t, 14> graphPeriodChoices = {7,  14, 21, 28, 35, 42, 49,
                                                                    56, 63, 70, -1, -3, -6, -12};

// The one document: the current user's journal. Plain C++ so that every rule
// of the file and of the statistics can be tested without a display.
class CQuilloxDoc {
  public:
    // Keyed by date: lookups and inserts are logarithmic, iteration is in
    // ascending date order, and range queries start at the range's first day.
    using DayList = std::map<Date, DayRecord>;

    // The objective's event date starts as the Unix epoch; the program
    // passes today (see resetToDefaults).
    CQuilloxDoc();
    explicit CQuilloxDoc(Date today);

    // ---- day list ----
    const DayList &dayList() const { return days_; }
    const DayRecord *findDay(Date date) const;
    const DayRecord *firstDay() const;
    const DayRecord *lastDay() const;
    // ---- changes ----
    // The one way the journal's contents change: applies the edit (each day
    // and section takes its after-image; the graph's period stays) and
    // returns the edit that undoes it, made from the values the document
    // held, so that it is exact even when a before-image was not. The
    // modified flag is the caller's business.
    Edit applyEdit(const Edit &edit);
    // A new, untitled journal: the day list is emptied (profile, objective
    // and settings stay) and the modified flag is cleared.
    void startUntitled();

    // Changes whenever an entry is added or removed (not when one is replaced
    // in place), and differs between any two documents, so that a view can
    // keep pointers to the entries and know when to take them again.
    std::uint64_t dayListRevision() const { return dayListRevision_; }
    // The last change of the day list when it added or removed one entry: the
    // revision it started from and the date. A view that was at that revision
    // can follow the one step instead of taking every entry anew.
    struct DayListStep {
        std::uint64_t fromRevision = 0;
        Date date;
        bool added = false;
    };
    const std::optional<DayListStep> &lastDayListStep() const { return lastDayListStep_; }

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
    // Not an edit: the period is a choice of view, kept in the file at the
    // next store without marking the journal modified.
    void setGraphPeriod(std::int32_t nDays) { graphSettings_.graphNDays = nDays; }
    bool isGraphPeriodChecked(std::int32_t nDays) const
    {
        return graphSettings_.graphNDays == nDays;
    }

    // ---- modified flag: set by whoever applies the user's edits (the
    // window's editor), cleared by a load and a store ----
    bool isModified() const { return modified_; }
    void setModified(bool modified)
    {
        modified_ = modified;
        if (modified)
            ++changeCount_;
    }
    // Grows with every change the modified flag records and every change of
    // the day list, so that a reader can tell cheaply whether anything it
    // saw before has changed since.
    std::uint64_t changeCount() const { return changeCount_; }

    // ---- the journal file ----
    // Loads the file. When it cannot be opened or read, nothing changes.
    // Otherwise every part starts from its defaults (the event date from
    // today) and the file overrides what it holds; the modified flag is
    // cleared.
    JournalLoadResult readJournal(const std::string &path, Date today);
    // Writes the whole journal through a temporary file renamed over the
    // journal, keeping the previous version as path + ".bak". On failure the
    // previous file is untouched and the modified flag keeps its value.
    JournalStoreResult writeJournal(const std::string &path);
    // The same with the text already built by journalText(), for a caller
    // that needs the bytes it stored. Without keepBackup the .bak stays as
    // it is (the file replaced is a version this program never took).
    JournalStoreResult writeJournalText(const std::string &path, std::string_view text,
                                        bool keepBackup = true);
    // The same relative to a folder's descriptor (see journal/folder.h).
    JournalStoreResult writeJournalText(int folder, const std::string &name, std::string_view text,
                                        bool keepBackup = true);

    // The same two operations on bytes in memory. With alteredLines, the day
    // lines loaded with some of their text altered are listed there (once
    // each, in file order).
    std::vector<SkippedLine> loadJournalText(std::string_view bytes, Date today,
                                             std::vector<std::size_t> *alteredLines = nullptr);

    // What a load followed by a store would lose, reported line by line in
    // file order, without keeping the days: the settings, profile and
    // objective are loaded (for a look at their values), the day list is
    // left empty. Two passes over the bytes, so that a day line replaced by
    // a later one is reported in its place; the memory beyond the bytes is
    // one number per calendar day, whatever the length of the file.
    void scanJournalText(std::string_view bytes, JournalScanReport &report);
    std::string journalText() const;

    // "zph%04d.txt"
    static std::string journalFileName(int userNumber);

    // Sets profile, objective, graph settings to their defaults, the event
    // date to today, and empties the day list. The caller says which day is
    // today, so that nothing here depends on when it runs.
    void resetToDefaults(Date today);

    const UserInfo &userInfo() const { return userInfo_; }
    const Objective &objective() const { return objective_; }
    const GraphSettings &graphSettings() const { return graphSettings_; }

  private:
    // A change of many entries at once unless step is given.
    void dayListChanged(std::optional<DayListStep> step = std::nullopt);

    UserInfo userInfo_;
    Objective objective_;
    GraphSettings graphSettings_;
    DayList days_;
    std::uint64_t dayListRevision_ = 0;
    std::optional<DayListStep> lastDayListStep_;
    bool modified_ = false;
    std::uint64_t changeCount_ = 0;
};
