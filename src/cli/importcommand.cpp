#include "cli/clicommands.h"

#include "activity/activitytexts.h"
#include "activity/importplan.h"
#include "activity/importreader.h"
#include "activity/runimport.h"
#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "cli/clitexts.h"
#include "cli/exitstatus.h"
#include "journal/cquilloxdoc.h"
#include "journal/edit.h"
#include "text/entrytext.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

ImportChoices choicesOf(const CliRequest &request)
{
    ImportChoices choices;
    if (request.pick == "last")
        choices.pick = WeightPick::last;
    else if (request.pick == "mean")
        choices.pick = WeightPick::mean;
    choices.keepExisting = request.keepExisting;
    choices.addToDay = request.addToDay;
    if (request.runField == "jog")
        choices.runField = ActivityField::jog;
    else if (request.runField == "walk")
        choices.runField = ActivityField::walk;
    return choices;
}

// The lines of what the import stored: each run as import-run always
// printed it, and each day's weight and body fat once, as the day holds
// them afterwards (the mean of its weighings, say).
std::vector<std::string> importedLines(const ImportPlan &plan, const std::vector<ImportFile> &files,
                                       const CQuilloxDoc::DayList &days, bool added)
{
    // Only what the import gives: a day's own weight is not shown as
    // imported when the files held only its body fat.
    struct Given {
        bool weight = false;
        bool fat = false;
        bool shown = false;
    };
    std::map<Date, Given> given;
    for (const ImportRow &row : plan.rows) {
        if (row.kind == PatchKind::weighing && row.state == RowState::imported) {
            Given &day = given[row.day];
            day.weight = day.weight || row.weight != 0;
            day.fat = day.fat || row.fatPercent != 0;
        }
    }
    std::vector<std::string> lines;
    for (const ImportRow &row : plan.rows) {
        if (row.state != RowState::imported || !row.target)
            continue;
        if (row.kind == PatchKind::activity) {
            const ActivityField field =
                *row.target == ImportTarget::jog ? ActivityField::jog : ActivityField::walk;
            lines.push_back(runImportLine(
                {files[row.file].name, row.sport, row.day, field, row.kilometres, row.seconds},
                added));
            continue;
        }
        Given &imported = given[row.day];
        if (std::exchange(imported.shown, true))
            continue;
        const ImportDayChange *change = plan.changeOf(row.day);
        const auto held = days.find(row.day);
        const DayRecord day = change && change->after ? *change->after
                              : held != days.end()    ? held->second
                                                      : DayRecord{};
        ImportRow values = row;
        values.weight = imported.weight ? day.weight : 0;
        values.fatPercent = imported.fat ? day.fatPercent : 0;
        lines.push_back(clitext::fillText(
            clitext::importWeightLine,
            {formatDate(row.day), targetName(ImportTarget::weight), rowValueText(values)}));
    }
    return lines;
}

// A line for each day and field --keep-existing left as it was, so that a
// file that changes nothing says why.
std::vector<std::string> keptLines(const ImportPlan &plan, const CQuilloxDoc::DayList &days)
{
    std::vector<std::string> lines;
    std::set<std::pair<Date, ImportTarget>> told;
    for (const ImportRow &row : plan.rows) {
        if (row.state != RowState::keptExisting || !row.target ||
            !told.insert({row.day, *row.target}).second)
            continue;
        const auto held = days.find(row.day);
        if (held == days.end())
            continue;
        lines.push_back(
            clitext::fillText(clitext::keptExisting, {formatDate(row.day), targetName(*row.target),
                                                      dayValueText(held->second, *row.target)}));
    }
    return lines;
}

// How far a long read is (an Apple Health export of gigabytes takes a
// while), on one line of a terminal only: a script's standard error gets
// nothing it did not get before. A read done within a second says nothing.
class TerminalProgress {
  public:
    explicit TerminalProgress(std::string name)
        : name_(std::move(name)), onTerminal_(::isatty(STDERR_FILENO) == 1),
          start_(std::chrono::steady_clock::now())
    {
    }
    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;
    ~TerminalProgress()
    {
        if (shown_)
            std::fputs("\r\033[K", stderr); // the line cleared for what follows
    }

    void show(std::uint64_t done, std::uint64_t total)
    {
        using namespace std::chrono_literals;
        const auto now = std::chrono::steady_clock::now();
        if (!onTerminal_ || now - start_ < 1s || (shown_ && now - last_ < 200ms))
            return;
        last_ = now;
        shown_ = true;
        const std::string text =
            total != 0
                ? clitext::fillText(clitext::readingPercent,
                                    {name_, std::to_string(done * 100 / total)})
                : clitext::fillText(clitext::readingMegabytes, {name_, std::to_string(done >> 20)});
        std::fputs(("\r\033[K" + text).c_str(), stderr);
        std::fflush(stderr);
    }

  private:
    std::string name_;
    bool onTerminal_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point last_{};
};

} // namespace

int runImportRun(const CliRequest &request)
{
    // Every input is read and judged before the journal is touched.
    ImportReadOptions options;
    if (request.weightUnit == "kg")
        options.fitbitUnit = WeightUnit::kg;
    else if (request.weightUnit == "lb")
        options.fitbitUnit = WeightUnit::lb;
    std::vector<ImportFile> files;
    files.reserve(request.inputs.size());
    bool needsUnit = false;
    for (const std::string &name : request.inputs) {
        const std::string shown =
            name == "-" ? std::string(activitytext::standardInput) : shownName(name).toStdString();
        TerminalProgress progress(shown);
        options.progress = [&progress](std::uint64_t done, std::uint64_t total) {
            progress.show(done, total);
            return true;
        };
        files.push_back(readImportInput(name, shown, options));
        needsUnit = needsUnit || files.back().needsWeightUnit;
    }
    // Without the unit a Fitbit export's every weight could be off by a
    // factor of 2.2: the command is incomplete, and nothing is stored.
    if (needsUnit) {
        for (const ImportFile &file : files) {
            if (file.needsWeightUnit)
                writeError(fillActivityText(activitytext::fileProblem, {file.name, file.error}) +
                           activitytext::needsWeightUnitHintCli);
        }
        return exitBadInput;
    }

    const bool anything = std::any_of(files.begin(), files.end(),
                                      [](const ImportFile &file) { return !file.patches.empty(); });
    std::optional<OpenJournal> journal;
    CQuilloxDoc::DayList none;
    if (anything) {
        journal.emplace(request, true);
        if (!journal->opened())
            return journal->failureStatus();
    }
    const CQuilloxDoc::DayList &days = journal ? journal->document().dayList() : none;
    const ImportPlan plan =
        planImport(files, days, choicesOf(request), activitytext::refusedSportHintCli);
    for (const std::string &problem : plan.problems)
        writeError(problem);
    for (const std::string &note : plan.notes)
        writeError(note);
    for (const std::string &line : keptLines(plan, days))
        writeError(line);
    const std::vector<std::string> lines = importedLines(plan, files, days, request.addToDay);

    if (plan.hasChanges()) {
        Edit edit;
        edit.days.reserve(plan.changes.size());
        for (const ImportDayChange &change : plan.changes)
            edit.days.push_back({change.date, change.before, change.after});
        journal->document().applyEdit(edit);
        if (!journal->store())
            return exitJournalFailure;
    }
    for (const std::string &line : lines)
        writeOut(line + "\n");
    const int status = finishOutput();
    if (status != exitSuccess)
        return status;
    return plan.fileFailed || !plan.problems.empty() ? exitBadInput : exitSuccess;
}
