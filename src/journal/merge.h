#pragma once

#include "journal/calendardate.h"
#include "journal/edit.h"

#include <span>
#include <string_view>
#include <vector>

class CQuilloxDoc;

// Where two versions of a journal meet, they are merged day by day (and
// section by section) with one rule. A change known by its before and after
// images is replayed onto a journal as it is now:
//  - the journal's value equals the before: it takes the after;
//  - it already equals the after: it is left;
//  - anything else is a conflict: the change wins, and the journal's value
//    is what the caller keeps aside (the whole version it came from) and
//    names to the user.
// A three-way merge is the same rule with the change base→ours replayed onto
// theirs, so every place where versions meet decides alike.

// What a replay did not take cleanly.
struct MergeConflicts {
    std::vector<Date> days; // ascending
    bool userInfo = false;
    bool objective = false;
    bool graphSettings = false;

    bool empty() const { return days.empty() && !userInfo && !objective && !graphSettings; }
    bool operator==(const MergeConflicts &) const = default;
};

struct MergePlan {
    // What to apply to the journal the replay was planned against: its
    // before-images are the journal's own values, so it applies exactly
    // and undoes in one step.
    Edit edit;
    MergeConflicts conflicts;
};

// The change `change` replayed onto `current` with the rule above.
MergePlan planReplay(const CQuilloxDoc &current, const Edit &change);

// The three-way merge: ours' changes since base replayed onto theirs. The
// plan applies to theirs.
MergePlan planThreeWayMerge(const CQuilloxDoc &base, const CQuilloxDoc &ours,
                            const CQuilloxDoc &theirs);

// Without a common base: days only in `other` are added, days both hold
// with different values are conflicts and keep the journal's value, and the
// sections are left as the journal has them. The plan applies to journal.
MergePlan planTwoWayMerge(const CQuilloxDoc &journal, const CQuilloxDoc &other);

// A whole other version whose days win over the journal's (an earlier
// release's recovery text): every day it holds becomes a change with no
// before, so that a day the journal lacks or holds alike is taken cleanly
// and one the journal holds differently is a conflict; its sections are
// taken as they are. Days only the journal holds stay.
Edit takingDaysOf(const CQuilloxDoc &journal, const CQuilloxDoc &version);

// Whether a version read from disk is a whole journal as this program or
// another complete writer leaves it: not empty, with its header line, and
// ending at a line end. An empty file, one cut off after a crash or being
// written by another program right now is none, and is never taken as a
// version that lacks days.
bool looksLikeWholeJournal(std::string_view bytes);
// Whether bytes start with a journal's header line. Every journal this
// program writes has it: an empty file or one without it is what a
// truncation or another program's mistake leaves, never a journal to store
// over (its days would be lost, and the good .bak with them).
bool hasJournalHeader(std::string_view bytes);

// How many days `base` holds that `version` lacks: a version cut at a line
// end, or an older one a sync client put back.
std::size_t daysMissingFrom(const CQuilloxDoc &base, const CQuilloxDoc &version);

// Edits made one after the other, as one change: per day and section the
// first before and the last after. A day or section whose composed before
// equals its after drops out, so that an edit and its undo compose to
// nothing and never overwrite another program's value.
Edit composeEdits(std::span<const Edit> edits);
