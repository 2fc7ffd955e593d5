#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "cli/clitexts.h"
#include "cli/exitstatus.h"
#include "journal/merge.h"

#include <optional>
#include <string>

using clitext::fillText;

namespace {

// Another version, read before the journal is touched. One that does not
// load cleanly is not merged: its lost lines would look like days it lacks.
bool loadVersion(const std::string &file, CQuilloxDoc &version)
{
    std::string bytes;
    if (!readInput(file, bytes)) {
        return false;
    }
    if (!looksLikeWholeJournal(bytes)) {
        writeError(fillText(clitext::otherNotWhole, {file}));
        return false;
    }
    std::vector<std::size_t> altered;
    const std::size_t skipped = version.loadJournalText(bytes, todayDate(), &altered).size();
    if (skipped + altered.size() > 0) {
        writeError(
            fillText(clitext::otherNotClean, {file, std::to_string(skipped + altered.size())}));
        return false;
    }
    return true;
}

} // namespace

int runMerge(const CliRequest &request)
{
    CQuilloxDoc other(todayDate());
    if (!loadVersion(request.input, other)) {
        return exitBadInput;
    }
    std::optional<CQuilloxDoc> base;
    if (!request.base.empty()) {
        base.emplace(todayDate());
        if (!loadVersion(request.base, *base)) {
            return exitBadInput;
        }
    }
    OpenJournal journal(request, true);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    CQuilloxDoc &doc = journal.document();
    Edit change;
    MergeConflicts conflicts;
    if (base) {
        // The journal's own changes since the base replayed onto the other
        // version: where both changed a day, the journal's value stays.
        const MergePlan plan = planThreeWayMerge(*base, doc, other);
        other.applyEdit(plan.edit);
        change = differenceBetween(doc, other);
        conflicts = plan.conflicts;
    } else {
        MergePlan plan = planTwoWayMerge(doc, other);
        change = std::move(plan.edit);
        conflicts = plan.conflicts;
    }
    writeMergeLines(change, conflicts, clitext::dayConflictKept);
    if (!request.dryRun && !change.empty()) {
        doc.applyEdit(change);
        if (!journal.store()) {
            return exitJournalFailure;
        }
    }
    const int status = finishOutput();
    return status != exitSuccess                 ? status
           : conflicts.empty() || request.dryRun ? exitSuccess
                                                 : exitStoredWithConflicts;
}
