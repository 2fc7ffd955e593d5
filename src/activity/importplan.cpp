#include "activity/importplan.h"

#include "activity/activitytexts.h"
#include "activity/plausibility.h"
#include "activity/runimport.h"
#include "text/entrytext.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <utility>

namespace {

double hundredths(double value)
{
    return std::round(value * 100) / 100;
}

double tenths(double value)
{
    return std::round(value * 10) / 10;
}

// What makes two patches the same recording or weigh-in read twice.
struct PatchKey {
    PatchKind kind;
    double a;
    double b;
    double c;
    bool operator==(const PatchKey &) const = default;
};

struct PatchKeyHash {
    std::size_t operator()(const PatchKey &key) const
    {
        const std::hash<double> hash;
        std::size_t seed = static_cast<std::size_t>(key.kind);
        for (const double value : {key.a, key.b, key.c})
            seed ^= hash(value) + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2);
        return seed;
    }
};

PatchKey keyOf(const DayPatch &patch)
{
    if (patch.kind == PatchKind::activity)
        return {patch.kind, patch.startSeconds, patch.metres, patch.seconds};
    return {patch.kind, patch.clockSeconds, patch.weightKg, patch.fatPercent};
}

std::optional<ImportTarget> targetOf(std::optional<ActivityField> field)
{
    if (!field)
        return std::nullopt;
    return *field == ActivityField::jog ? ImportTarget::jog : ImportTarget::walk;
}

bool holdsRun(const DayRecord &day, ImportTarget target)
{
    return target == ImportTarget::jog ? day.jogDistance != 0 || day.jogDuration != 0
                                       : day.walkDistance != 0 || day.walkDuration != 0;
}

double &distanceOf(DayRecord &day, ImportTarget target)
{
    return target == ImportTarget::jog ? day.jogDistance : day.walkDistance;
}

double &durationOf(DayRecord &day, ImportTarget target)
{
    return target == ImportTarget::jog ? day.jogDuration : day.walkDuration;
}

std::string numberText(double value)
{
    return value == 0 ? std::string("0") : formatEntryNumber(value);
}

// The unrounded values of the import's rows, beside them.
struct RowSource {
    const DayPatch *patch;
};

// A day's weighings: its weight and fat by the pick, and which rows they
// came from.
void planWeighings(const std::vector<std::size_t> &indexes, std::vector<ImportRow> &rows,
                   const std::vector<RowSource> &sources, WeightPick pick, DayRecord &after)
{
    std::vector<std::size_t> weights;
    std::vector<std::size_t> fats;
    for (const std::size_t i : indexes) {
        if (sources[i].patch->weightKg != 0)
            weights.push_back(i);
        if (sources[i].patch->fatPercent != 0)
            fats.push_back(i);
    }
    // In the order of the clock; one moment written twice keeps file order.
    const auto byClock = [&](std::size_t x, std::size_t y) {
        return rows[x].clockSeconds < rows[y].clockSeconds;
    };
    std::stable_sort(weights.begin(), weights.end(), byClock);
    std::stable_sort(fats.begin(), fats.end(), byClock);
    for (const std::size_t i : indexes)
        rows[i].state = RowState::notPicked;

    // The first, last or mean of some rows' values; the rows used marked.
    const auto picked = [&](const std::vector<std::size_t> &from, double DayPatch::*value) {
        if (pick == WeightPick::mean) {
            double sum = 0;
            for (const std::size_t i : from) {
                sum += sources[i].patch->*value;
                rows[i].state = RowState::imported;
            }
            return sum / static_cast<double>(from.size());
        }
        const std::size_t i = pick == WeightPick::first ? from.front() : from.back();
        rows[i].state = RowState::imported;
        return sources[i].patch->*value;
    };

    std::optional<double> fat;
    if (!weights.empty()) {
        after.weight = hundredths(picked(weights, &DayPatch::weightKg));
        if (pick != WeightPick::mean) {
            // The fat of the very weigh-in the weight came from, when it has one.
            const std::size_t chosen = pick == WeightPick::first ? weights.front() : weights.back();
            if (sources[chosen].patch->fatPercent != 0)
                fat = sources[chosen].patch->fatPercent;
        }
    }
    if (!fat && !fats.empty())
        fat = picked(fats, &DayPatch::fatPercent);
    if (fat)
        after.fatPercent = tenths(*fat);
}

} // namespace

ImportFile importFileOf(std::string name, const ActivityFile &file)
{
    ImportFile out;
    out.name = std::move(name);
    out.format = file.format;
    out.error = file.error;
    out.needsWeightUnit = file.needsWeightUnit;
    out.refusals = file.refusals;
    if (!file.ok())
        return out;
    out.patches.reserve(file.activities.size() + file.weighings.size());
    for (const Activity &activity : file.activities) {
        if (const std::optional<std::string> reason = implausibility(activity)) {
            out.refusals.push_back(activityRefusal(activity, *reason));
            continue;
        }
        DayPatch patch;
        patch.kind = PatchKind::activity;
        patch.clockSeconds = clockOf(activity);
        patch.day = dayOfClock(patch.clockSeconds);
        patch.field = activity.field;
        patch.sport = activity.sport;
        patch.startSeconds = activity.startSeconds;
        patch.metres = activity.distanceMetres;
        patch.seconds = activity.durationSeconds;
        out.patches.push_back(std::move(patch));
    }
    for (const Weighing &weighing : file.weighings) {
        if (const std::optional<std::string> reason = implausibility(weighing)) {
            out.refusals.push_back(weighingRefusal(weighing, *reason));
            continue;
        }
        DayPatch patch;
        patch.clockSeconds = clockOf(weighing);
        patch.day = dayOfClock(patch.clockSeconds);
        patch.weightKg = weighing.weightKg;
        patch.fatPercent = weighing.fatPercent;
        out.patches.push_back(std::move(patch));
    }
    return out;
}

const ImportDayChange *ImportPlan::changeOf(Date day) const
{
    const auto found = std::lower_bound(
        changes.begin(), changes.end(), day,
        [](const ImportDayChange &change, Date date) { return change.date < date; });
    return found != changes.end() && found->date == day ? &*found : nullptr;
}

ImportPlan planImport(const std::vector<ImportFile> &files, const std::map<Date, DayRecord> &days,
                      const ImportChoices &choices, const std::string &refusalHint)
{
    ImportPlan plan;
    std::vector<RowSource> sources;
    std::unordered_map<PatchKey, std::size_t, PatchKeyHash> taken; // the file first holding it
    for (std::size_t f = 0; f < files.size(); ++f) {
        const ImportFile &file = files[f];
        if (!file.ok()) {
            plan.fileFailed = true;
            plan.problems.push_back(
                fillActivityText(activitytext::fileProblem, {file.name, file.error}));
            continue;
        }
        for (const std::string &refusal : file.refusals)
            plan.problems.push_back(
                fillActivityText(activitytext::fileProblem, {file.name, refusal}));
        for (const DayPatch &patch : file.patches) {
            const auto [earlier, first] = taken.try_emplace(keyOf(patch), f);
            if (!first) {
                plan.notes.push_back(fillActivityText(patch.kind == PatchKind::activity
                                                          ? activitytext::sameActivity
                                                          : activitytext::sameWeighing,
                                                      {file.name, files[earlier->second].name}));
                continue;
            }
            ImportRow row;
            row.file = f;
            row.kind = patch.kind;
            row.day = patch.day;
            row.clockSeconds = patch.clockSeconds;
            if (patch.kind == PatchKind::weighing) {
                row.target = ImportTarget::weight;
                row.weight = hundredths(patch.weightKg);
                row.fatPercent = tenths(patch.fatPercent);
            } else {
                row.sport = patch.sport;
                row.target = targetOf(choices.runField ? choices.runField : patch.field);
                row.kilometres = roundedKilometres(patch.metres);
                row.seconds = roundedSeconds(patch.seconds);
                if (!row.target)
                    plan.problems.push_back(
                        fillActivityText(activitytext::refusedSport, {file.name, patch.sport}) +
                        refusalHint);
            }
            plan.rows.push_back(std::move(row));
            sources.push_back({&patch});
        }
    }

    // Ticks, and the rows of each day.
    std::map<Date, std::vector<std::size_t>> byDay;
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        ImportRow &row = plan.rows[i];
        if (!row.target) {
            row.state = RowState::refusedSport;
            continue;
        }
        if (choices.addToDay && row.kind == PatchKind::activity) {
            const auto held = days.find(row.day);
            if (held != days.end() && holdsRun(held->second, *row.target)) {
                DayRecord day = held->second;
                row.sameAsHeld = distanceOf(day, *row.target) == row.kilometres &&
                                 durationOf(day, *row.target) == row.seconds;
            }
        }
        const auto tick = choices.ticks.find(i);
        row.ticked = tick != choices.ticks.end() ? tick->second : !row.sameAsHeld;
        if (!row.ticked) {
            row.state = row.sameAsHeld ? RowState::sameAsHeld : RowState::unticked;
            if (row.sameAsHeld)
                plan.notes.push_back(
                    fillActivityText(activitytext::alreadyHeldLine,
                                     {files[row.file].name, formatDate(row.day),
                                      targetName(*row.target), numberText(row.kilometres),
                                      formatDuration(row.seconds), activitytext::alreadyHeld}));
            continue;
        }
        byDay[row.day].push_back(i);
    }

    for (const auto &[date, indexes] : byDay) {
        const auto held = days.find(date);
        const std::optional<DayRecord> before =
            held != days.end() ? std::optional(held->second) : std::nullopt;
        DayRecord after = before.value_or(DayRecord{date, 0, 0, 0, 0, 0, 0, ""});
        after.date = date;

        std::vector<std::size_t> weighings;
        std::map<ImportTarget, std::vector<std::size_t>> runs;
        for (const std::size_t i : indexes) {
            if (*plan.rows[i].target == ImportTarget::weight)
                weighings.push_back(i);
            else
                runs[*plan.rows[i].target].push_back(i);
        }
        if (!weighings.empty()) {
            if (choices.keepExisting && before && before->weight != 0) {
                for (const std::size_t i : weighings)
                    plan.rows[i].state = RowState::keptExisting;
            } else {
                planWeighings(weighings, plan.rows, sources, choices.pick, after);
            }
        }
        for (const auto &[target, rowsOfField] : runs) {
            if (choices.keepExisting && before && holdsRun(*before, target)) {
                for (const std::size_t i : rowsOfField)
                    plan.rows[i].state = RowState::keptExisting;
                continue;
            }
            double kilometres = 0;
            double seconds = 0;
            for (const std::size_t i : rowsOfField) {
                kilometres = hundredths(kilometres + plan.rows[i].kilometres);
                seconds += plan.rows[i].seconds;
                plan.rows[i].state = RowState::imported;
            }
            double &distance = distanceOf(after, target);
            double &duration = durationOf(after, target);
            distance = choices.addToDay ? hundredths(distance + kilometres) : kilometres;
            duration = choices.addToDay ? duration + seconds : seconds;
        }

        const DayRecord unchanged = before.value_or(DayRecord{date, 0, 0, 0, 0, 0, 0, ""});
        if (after == unchanged)
            continue;
        ImportCounts &counts = plan.counts;
        ++counts.days;
        counts.weights += after.weight != unchanged.weight;
        counts.fats += after.fatPercent != unchanged.fatPercent;
        counts.jogs += after.jogDistance != unchanged.jogDistance ||
                       after.jogDuration != unchanged.jogDuration;
        counts.walks += after.walkDistance != unchanged.walkDistance ||
                        after.walkDuration != unchanged.walkDuration;
        plan.changes.push_back({date, before, after});
    }
    return plan;
}

const char *targetName(ImportTarget target)
{
    switch (target) {
    case ImportTarget::weight:
        return activitytext::targetWeight;
    case ImportTarget::jog:
        return activitytext::fieldJog;
    case ImportTarget::walk:
        return activitytext::fieldWalk;
    }
    return "";
}

namespace {

std::string weightAndFatText(double weight, double fat)
{
    std::string text;
    if (weight != 0)
        text = fillActivityText(activitytext::weightValue, {formatEntryNumber(weight)});
    if (fat != 0) {
        if (!text.empty())
            text += ' ';
        text += fillActivityText(activitytext::fatValue, {formatEntryNumber(fat)});
    }
    return text.empty() ? std::string(activitytext::nothingHeld) : text;
}

} // namespace

std::string rowValueText(const ImportRow &row)
{
    if (row.kind == PatchKind::weighing)
        return weightAndFatText(row.weight, row.fatPercent);
    return distanceAndTimeText({row.kilometres, row.seconds});
}

std::string dayValueText(const DayRecord &day, ImportTarget target)
{
    switch (target) {
    case ImportTarget::weight:
        return weightAndFatText(day.weight, day.fatPercent);
    case ImportTarget::jog:
        return distanceAndTimeText({day.jogDistance, day.jogDuration});
    case ImportTarget::walk:
        return distanceAndTimeText({day.walkDistance, day.walkDuration});
    }
    return {};
}
