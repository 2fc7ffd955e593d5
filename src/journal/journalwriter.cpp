// Writing the journal file. Every number is formatted here by hand with
// std::to_chars: printf would follow the C locale, which the application sets
// from the environment, and write "65,3" in some of them.

#include "journal/cquilloxdoc.h"
#include "journal/numbertext.h"
#include "journal/safesave.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <string_view>

namespace {

constexpr std::string_view lineEnd = "\r\n";

// Room for any number written below: "-1.79769e+308" or "-2147483648".
constexpr std::size_t numberRoom = 24;

// A free text (name, event name, memo) must stay on its line: an LF in it
// would start a line that the reader takes for a setting or a day. Such a
// text never comes from a file; it is written with the LF as a blank.
void appendText(std::string &out, std::string_view text)
{
    const std::size_t start = out.size();
    out.append(text);
    for (std::size_t i = start; i < out.size(); ++i) {
        if (out[i] == '\n') {
            out[i] = ' ';
        }
    }
}

char *writeInteger(char *at, std::int64_t value)
{
    return std::to_chars(at, at + numberRoom, value).ptr;
}

void appendIntegerLine(std::string &out, std::string_view key, std::int64_t value)
{
    char buffer[numberRoom];
    out.append(key).append(" = ");
    out.append(buffer, writeInteger(buffer, value));
    out.append(lineEnd);
}

void appendBooleanLine(std::string &out, std::string_view key, bool value)
{
    out.append(key).append(value ? " = 1" : " = 0").append(lineEnd);
}

void appendNumberLine(std::string &out, std::string_view key, double value)
{
    char buffer[numberRoom];
    out.append(key).append(" = ");
    out.append(buffer, writeGeneralNumber(buffer, value));
    out.append(lineEnd);
}

// "0x%06x": at least six lower-case hex digits.
void appendColourLine(std::string &out, std::string_view key, Colour value)
{
    char buffer[numberRoom];
    char *end = std::to_chars(buffer, buffer + numberRoom, value, 16).ptr;
    const auto length = static_cast<std::size_t>(end - buffer);
    out.append(key).append(" = 0x");
    if (length < 6) {
        out.append(6 - length, '0');
    }
    out.append(buffer, end).append(lineEnd);
}

void appendTextLine(std::string &out, std::string_view key, std::string_view text)
{
    out.append(key).append(" = ");
    appendText(out, text);
    out.append(lineEnd);
}

void appendSettings(std::string &out, const GraphSettings &settings)
{
    out.append("[settings]").append(lineEnd);
    appendIntegerLine(out, "graphNDays", settings.graphNDays);
    appendBooleanLine(out, "graphWeight", settings.graphWeight);
    appendBooleanLine(out, "graphFatPercent", settings.graphFatPercent);
    appendBooleanLine(out, "graphFat", settings.graphFat);
    appendBooleanLine(out, "graphNotFat", settings.graphNotFat);
    appendBooleanLine(out, "graphJogDistance", settings.graphJogDistance);
    appendBooleanLine(out, "graphJogDuration", settings.graphJogDuration);
    appendBooleanLine(out, "graphWalkDistance", settings.graphWalkDistance);
    appendBooleanLine(out, "graphWalkDuration", settings.graphWalkDuration);
    appendIntegerLine(out, "yAxisMain", settings.yAxisMain);
    // colorFat and colorNotFat are not kept in the file.
    appendColourLine(out, "colorWeight", settings.colorWeight);
    appendColourLine(out, "colorFatPercent", settings.colorFatPercent);
    appendColourLine(out, "colorJogDistance", settings.colorJogDistance);
    appendColourLine(out, "colorJogDuration", settings.colorJogDuration);
    appendColourLine(out, "colorWalkDistance", settings.colorWalkDistance);
    appendColourLine(out, "colorWalkDuration", settings.colorWalkDuration);
    appendColourLine(out, "colorCrntDate", settings.colorCrntDate);
    appendColourLine(out, "colorDivision", settings.colorDivision);
    appendColourLine(out, "colorBackGround", settings.colorBackGround);
    appendIntegerLine(out, "weightLineType", settings.weightLineType);
    appendIntegerLine(out, "fatPcntLineType", settings.fatPcntLineType);
    appendIntegerLine(out, "fatLineType", settings.fatLineType);
    appendIntegerLine(out, "notFatLineType", settings.notFatLineType);
    appendIntegerLine(out, "jogDistType", settings.jogDistType);
    appendIntegerLine(out, "jogDurType", settings.jogDurType);
    appendIntegerLine(out, "walkDistType", settings.walkDistType);
    appendIntegerLine(out, "walkDurType", settings.walkDurType);
    appendIntegerLine(out, "paperOri", settings.paperOri);
}

void appendUserInfo(std::string &out, const UserInfo &userInfo)
{
    out.append("[userInfo]").append(lineEnd);
    appendTextLine(out, "name", userInfo.name);
    // "%4d/%02d/%02d": the year is padded with blanks, not zeros.
    out.append("birthday = ");
    appendPaddedInteger(out, userInfo.birthYear, 4, ' ');
    out.push_back('/');
    appendPaddedInteger(out, userInfo.birthMonth, 2, '0');
    out.push_back('/');
    appendPaddedInteger(out, userInfo.birthDay, 2, '0');
    out.append(lineEnd);
    out.append(userInfo.sex ? "sex = male" : "sex = female").append(lineEnd);
    appendNumberLine(out, "height", userInfo.height);
    appendIntegerLine(out, "restBpm", userInfo.restBpm);
}

void appendObjective(std::string &out, const Objective &objective)
{
    out.append("[objective]").append(lineEnd);
    appendIntegerLine(out, "intention", objective.intention);
    appendNumberLine(out, "weight", objective.weight);
    appendNumberLine(out, "fatPercent", objective.fatPercent);
    appendNumberLine(out, "jogDistanceMonth", objective.jogDistanceMonth);
    appendTextLine(out, "eventName", objective.eventName);
    out.append("eventDate = ").append(formatDate(objective.eventDate)).append(lineEnd);
}

// "%s\t%g\t%g\t%g\t%g\t%g\t%g\t%s\n"; an empty memo leaves the final TAB.
void appendDayLine(std::string &out, Date date, const DayRecord &entry)
{
    char buffer[16 + storedSeriesCount * (numberRoom + 1)];
    const std::string dateText = formatDate(date);
    char *at = std::copy(dateText.begin(), dateText.end(), buffer);
    for (const double value : {entry.weight, entry.fatPercent, entry.jogDistance, entry.jogDuration,
                               entry.walkDistance, entry.walkDuration}) {
        *at++ = '\t';
        at = writeGeneralNumber(at, value);
    }
    *at++ = '\t';
    out.append(buffer, at);
    appendText(out, entry.memo);
    out.append(lineEnd);
}

} // namespace

std::string CQuilloxDoc::journalText() const
{
    // Header and key sections take under 1 KiB with short names; a typical
    // day line, memo included, well under 64 bytes. Walking the list once
    // more for the exact size costs more than the odd reallocation.
    const std::size_t size =
        1024 + userInfo_.name.size() + objective_.eventName.size() + days_.size() * 64;
    std::string out;
    out.reserve(size);

    out.append("# quillox file ver 2").append(lineEnd);
    appendSettings(out, graphSettings_);
    appendUserInfo(out, userInfo_);
    appendObjective(out, objective_);
    out.append("[data]").append(lineEnd);
    for (const auto &[date, entry] : days_) {
        appendDayLine(out, date, entry);
    }
    return out;
}

JournalStoreResult CQuilloxDoc::writeJournal(const std::string &path)
{
    return writeJournalText(path, journalText());
}

JournalStoreResult CQuilloxDoc::writeJournalText(const std::string &path, std::string_view text,
                                                 bool keepBackup)
{
    return writeJournalText(AT_FDCWD, path, text, keepBackup);
}

JournalStoreResult CQuilloxDoc::writeJournalText(int folder, const std::string &name,
                                                 std::string_view text, bool keepBackup)
{
    const SaveResult saved = saveFileAtomically(folder, name, text, keepBackup);
    JournalStoreResult result;
    result.written = saved.saved;
    result.error = saved.error;
    result.problem = saved.problem;
    result.systemReason = saved.systemReason;
    result.backupWarning = saved.backupWarning;
    result.backupProblem = saved.backupProblem;
    result.backupSystemReason = saved.backupSystemReason;
    if (saved.saved) {
        modified_ = false;
    }
    return result;
}

std::string CQuilloxDoc::journalFileName(int userNumber)
{
    // "zph%04d.txt"
    std::string name = "zph";
    appendPaddedInteger(name, userNumber, 4, '0');
    name.append(".txt");
    return name;
}
