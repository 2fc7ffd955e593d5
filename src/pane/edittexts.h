#pragma once

#include "journal/calendardate.h"

#include <QString>

// The names of the journal's edits as the edit menu, its status-bar tips and
// the status bar after an undo or redo show them ("12月4日の登録を元に戻します").
namespace edittext {

inline constexpr char registerDay[] = "%1月%2日の登録";
inline constexpr char deleteDay[] = "%1月%2日の削除";
inline constexpr char userInfo[] = "ﾕｰｻﾞ情報の変更";
inline constexpr char objective[] = "目的・目標の変更";
inline constexpr char graphSettings[] = "ｸﾞﾗﾌ設定の変更";
inline constexpr char paperOrientation[] = "印刷の向きの変更";
inline constexpr char importRecords[] = "記録の取り込み";
inline constexpr char restoreUnsaved[] = "保存されなかった変更の復元";
inline constexpr char otherProgramsChanges[] = "ほかのプログラムの変更の取り込み";
inline constexpr char mergeOtherJournal[] = "ほかの日誌との合わせ";

inline constexpr char undoTip[] = "%1を元に戻します";
inline constexpr char redoTip[] = "%1をやり直します";
inline constexpr char undoneReport[] = "%1を元に戻しました。";
inline constexpr char redoneReport[] = "%1をやり直しました。";

} // namespace edittext

// A day's step name: edittext::registerDay or deleteDay for `date`.
inline QString dayStepName(const char *pattern, Date date)
{
    return QString::fromUtf8(pattern).arg(monthOf(date)).arg(dayOf(date));
}
