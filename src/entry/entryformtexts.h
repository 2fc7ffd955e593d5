#pragma once

// The entry form's own texts, UTF-8. "\r\n" is the line break the message
// boxes have always shown; keep the texts as they are.

namespace entrytext {

inline constexpr char jogDurationInvalid[] = "Jog 時間指定が不正です。\r\n書式：<時間>:<分>'<秒>\"";
inline constexpr char walkDurationInvalid[] =
    "Walk 時間指定が不正です。\r\n書式：<時間>:<分>'<秒>\"";
// %s: the day as "%Y/%m/%d".
inline constexpr char deleteQuestion[] = "%s のデータを削除します。\r\nよろしいですか？";

// What screen readers call the controls that have no label of their own.
inline constexpr char datePickerName[] = "日付";
inline constexpr char previousDayName[] = "前の日";
inline constexpr char nextDayName[] = "次の日";

} // namespace entrytext
