#include "journal/merge.h"

#include "journal/cquilloxdoc.h"

#include <map>
#include <optional>

namespace {

std::optional<DayRecord> dayOf(const CQuilloxDoc &document, Date date)
{
    if (const DayRecord *found = document.findDay(date))
        return *found;
    return std::nullopt;
}

// The graph's period is a choice of view that no edit carries: two settings
// that differ only in it are the same for a merge.
bool sameSection(const GraphSettings &a, GraphSettings b)
{
    b.graphNDays = a.graphNDays;
    return a == b;
}

template <typename Section> bool sameSection(const Section &a, const Section &b)
{
    return a == b;
}

template <typename Section>
std::optional<SectionChange<Section>>
replaySection(const Section &current, const std::optional<SectionChange<Section>> &change,
              bool &conflict)
{
    if (!change || sameSection(current, change->after))
        return std::nullopt;
    conflict = !sameSection(current, change->before);
    return SectionChange<Section>{current, change->after};
}

template <typename Section>
void composeSection(std::optional<SectionChange<Section>> &composed,
                    const std::optional<SectionChange<Section>> &next)
{
    if (!next)
        return;
    if (composed)
        composed->after = next->after;
    else
        composed = next;
}

template <typename Section> void dropIfUnchanged(std::optional<SectionChange<Section>> &composed)
{
    if (composed && sameSection(composed->before, composed->after))
        composed.reset();
}

} // namespace

MergePlan planReplay(const CQuilloxDoc &current, const Edit &change)
{
    MergePlan plan;
    plan.edit.days.reserve(change.days.size());
    for (const DayChange &c : change.days) {
        std::optional<DayRecord> now = dayOf(current, c.date);
        if (now == c.after)
            continue;
        if (now != c.before)
            plan.conflicts.days.push_back(c.date);
        plan.edit.days.push_back({c.date, std::move(now), c.after});
    }
    plan.edit.userInfo =
        replaySection(current.userInfo(), change.userInfo, plan.conflicts.userInfo);
    plan.edit.objective =
        replaySection(current.objective(), change.objective, plan.conflicts.objective);
    plan.edit.graphSettings =
        replaySection(current.graphSettings(), change.graphSettings, plan.conflicts.graphSettings);
    if (plan.edit.graphSettings)
        plan.edit.graphSettings->after.graphNDays = current.graphSettings().graphNDays;
    return plan;
}

MergePlan planThreeWayMerge(const CQuilloxDoc &base, const CQuilloxDoc &ours,
                            const CQuilloxDoc &theirs)
{
    return planReplay(theirs, differenceBetween(base, ours));
}

MergePlan planTwoWayMerge(const CQuilloxDoc &journal, const CQuilloxDoc &other)
{
    MergePlan plan;
    for (const auto &[date, day] : other.dayList()) {
        const DayRecord *here = journal.findDay(date);
        if (!here)
            plan.edit.days.push_back({date, std::nullopt, day});
        else if (!(*here == day))
            plan.conflicts.days.push_back(date);
    }
    return plan;
}

Edit takingDaysOf(const CQuilloxDoc &journal, const CQuilloxDoc &version)
{
    Edit change;
    change.days.reserve(version.dayList().size());
    for (const auto &[date, day] : version.dayList())
        change.days.push_back({date, std::nullopt, day});
    // The sections' befores are the journal's own: taken without a conflict.
    const Edit sections = differenceBetween(journal, version);
    change.userInfo = sections.userInfo;
    change.objective = sections.objective;
    change.graphSettings = sections.graphSettings;
    return change;
}

bool hasJournalHeader(std::string_view bytes)
{
    return bytes.starts_with("# quillox file ver ");
}

bool looksLikeWholeJournal(std::string_view bytes)
{
    return hasJournalHeader(bytes) && bytes.ends_with('\n');
}

std::size_t daysMissingFrom(const CQuilloxDoc &base, const CQuilloxDoc &version)
{
    std::size_t missing = 0;
    for (const auto &[date, day] : base.dayList())
        if (!version.findDay(date))
            ++missing;
    return missing;
}

Edit composeEdits(std::span<const Edit> edits)
{
    std::map<Date, DayChange> days;
    Edit composed;
    for (const Edit &edit : edits) {
        for (const DayChange &change : edit.days) {
            auto [it, fresh] = days.try_emplace(change.date, change);
            if (!fresh)
                it->second.after = change.after;
        }
        composeSection(composed.userInfo, edit.userInfo);
        composeSection(composed.objective, edit.objective);
        composeSection(composed.graphSettings, edit.graphSettings);
    }
    composed.days.reserve(days.size());
    for (auto &[date, change] : days)
        if (change.before != change.after)
            composed.days.push_back(std::move(change));
    dropIfUnchanged(composed.userInfo);
    dropIfUnchanged(composed.objective);
    dropIfUnchanged(composed.graphSettings);
    return composed;
}
