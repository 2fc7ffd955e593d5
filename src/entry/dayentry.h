#pragma once

#include "journal/calendardate.h"
#include "journal/dayrecord.h"
#include "journal/edit.h"

#include <optional>
#include <string>

class CQuilloxDoc;

// The entry form's rules without its widgets: what its seven texts mean as a
// day, and what registering and stepping do to the document. Everything that
// stores a typed day goes through registerDay, so a day given on the command
// line is stored exactly as one typed into the form.

// How typed texts are encoded: the form hands over UTF-8; a caller that
// already holds journal text may hand over code-page-932 bytes.
enum class TypedEncoding { utf8, cp932 };

// The seven texts of the form. The memo is in display form, its lines
// separated by CR LF or LF.
struct DayTexts {
    std::string weight;
    std::string fatPercent;
    std::string jogDistance;
    std::string jogDuration;
    std::string walkDistance;
    std::string walkDuration;
    std::string memo;

    bool operator==(const DayTexts &) const = default;
};

// The text a reading stopped at, so that the form can put the caret there.
enum class DayTextField { none, jogDuration, walkDuration, memo };

struct DayReading {
    // The day read (the memo in stored form, code page 932); nullopt when the
    // texts cannot be stored as they are.
    std::optional<DayRecord> day;
    DayTextField failedField = DayTextField::none;
    // Why, in the words of a message box (UTF-8); empty on success.
    std::string message;
};

// The texts that show a day's entry (UTF-8), or seven empty texts for none.
DayTexts textsForDay(const DayRecord *entry);

// Reads the texts as the entry of `date`. Numbers read as far as they are
// numbers (never an error); the durations follow their grammar, jog before
// walk, so that only the jog message comes when both are wrong; the memo must
// be text that code page 932 can hold (input-method forms such as 〜 U+301C
// are folded to the characters it has).
DayReading readDayTexts(Date date, const DayTexts &texts, TypedEncoding encoding);

// Reads the texts and stores them as the entry of `date` (one edit, applied
// to the document directly, as the command line does), replacing every field
// of an existing entry: an emptied field is stored as 0 or as the empty memo.
// On failure the document is untouched. The window reads the texts and hands
// the edit to its editor instead.
DayReading registerDay(CQuilloxDoc &document, Date date, const DayTexts &texts,
                       TypedEncoding encoding);

// The day the form shows after registering `date`: today stays, any other day
// moves on to the day after it.
Date dayAfterRegistering(Date date, Date today);

struct DayStep {
    DayReading reading; // on failure nothing is to be stored and `next` is `date`
    bool stored = false;
    Edit edit; // what storing the day changes (empty when it changes nothing)
    Date next{};
};

// "←" and "→": reads the texts and stores the day only when one of its six
// numbers is not 0 (a memo alone is not stored, and a day whose fields were
// all emptied keeps its stored entry), then names the day `days` away. The
// store is returned as an edit for the caller to apply.
DayStep stepDay(const CQuilloxDoc &document, Date date, int days, const DayTexts &texts,
                TypedEncoding encoding);

// The day `days` away from `date`, held within the years a journal can write.
Date dayOffset(Date date, int days);

// The question asked before the entry of `date` is deleted (UTF-8).
std::string deleteQuestion(Date date);
