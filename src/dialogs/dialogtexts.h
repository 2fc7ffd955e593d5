#pragma once

// The texts the settings dialogs compose in code and of their field checks,
// UTF-8. Captions, labels and list items are in the dialogs' forms (.ui), as a
// dialog template holds them. The half-width katakana are intended; keep them
// as they are.

namespace dialogtext {

// The objective dialog's note. "%5.2f" stands for a weight in kg; the two
// lines on body fat are shown as they stand, their percent signs included.
inline constexpr char standardWeightByBmi[] = "BMI法による標準体重は %5.2fkg だよ。\r\n";
inline constexpr char standardWeightByBroca[] = "Broca変法による標準体重は %5.2fkg だよ。\r\n";
inline constexpr char fatRangeMale[] = "男性の適正体脂肪率は 14%～23% だよ。\r\n";
inline constexpr char fatRangeFemale[] = "女性の適正体脂肪率は 17%～27% だよ。\r\n";

// Field checks, as the dialogs' number fields report them.
inline constexpr char notInteger[] = "整数を入力してください。";
inline constexpr char integerRange[] = "%1 から %2 までの整数を入力してください。";
inline constexpr char notNumber[] = "数字を入力してください。";
inline constexpr char numberRange[] = "%1 から %2 までの数字を入力してください。";

// The user information dialog.
inline constexpr char nameMissing[] = "ユーザ名を入力してください。";
inline constexpr char heartRateRange[] = "%1～%2";

// What screen readers call the controls no label names: %1 is the series
// (its show box's text), as in "体重を Y主軸にする".
inline constexpr char mainAxisName[] = "%1を Y主軸にする";
inline constexpr char colourName[] = "%1の表示色";
inline constexpr char lineStyleName[] = "%1の線の種類";
inline constexpr char barStyleName[] = "%1の棒の種類";
inline constexpr char birthMonthName[] = "誕生月";
inline constexpr char birthDayName[] = "誕生日";

} // namespace dialogtext
