#pragma once

#include <array>

// The graph's own texts, UTF-8. The half-width katakana are intended; keep
// them as they are.

namespace graphtext {

// Legend captions and axis unit texts, in series order (weight, body-fat
// percentage, fat mass, lean mass, jog distance, jog duration, walk distance,
// walk duration).
inline constexpr const char *captions[8] = {"体重：",    "体脂肪率：", "脂肪量：",   "除脂肪量：",
                                            "Jog距離：", "Jog時間：",  "Walk距離：", "Walk時間："};
inline constexpr const char *units[8] = {"kg", "％", "kg", "kg", "km", "分", "km", "分"};

// Month labels of the date strip: the long form, then the short one.
inline constexpr char monthLabelLong[] = "%4d年%d月";
inline constexpr char monthLabelShort[] = "%d月";

// The period items of the view menu's submenu and of the pop-up menu, in the
// order of graphPeriodChoices.
inline constexpr std::array<const char *, 14> graphPeriodItems = {
    "&1週間分", "&2週間分", "&3週間分",  "&4週間分",    "&5週間分",    "&6週間分",   "&7週間分",
    "&8週間分", "&9週間分", "1&0週間分", "1ヶ月分(&M)", "3ヶ月分(&Q)", "半年分(&H)", "1年分(&Y)"};

// The pop-up menu.
inline constexpr char periodSubmenu[] = "ｸﾞﾗﾌ表示日数(&G)";
inline constexpr char graphSettingsItem[] = "ｸﾞﾗﾌ設定(&S)...";

// The optional layer over the graph: its two switches (pop-up menu and view
// menu) and the mark at the right end of the goal line.
inline constexpr char trendLineItem[] = "トレンド線(&R)";
inline constexpr char goalLineItem[] = "目標線(&L)";
inline constexpr char goalMark[] = "目標";
// The legend's entries for the two lines, after the series, captioned as they are.
inline constexpr char trendLegend[] = "トレンド：";
inline constexpr char goalLegend[] = "目標：";

// What a screen reader hears of the graph: its name, and the pieces of its
// description ("2026/11/01～2026/11/30：体重、体脂肪率。体重 最新 …").
inline constexpr char accessibleName[] = "グラフ";
inline constexpr char rangeDash[] = "～";
inline constexpr char listOpen[] = "：";
inline constexpr char listComma[] = "、";
inline constexpr char sentenceEnd[] = "。";
inline constexpr char latestWord[] = " 最新 ";
inline constexpr char lowestWord[] = "最低 ";
inline constexpr char highestWord[] = "最高 ";
inline constexpr char dateOpen[] = "（";
inline constexpr char dateClose[] = "）";
inline constexpr char trendWord[] = "トレンド ";

} // namespace graphtext
