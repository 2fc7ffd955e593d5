#pragma once

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

// The pop-up menu.
inline constexpr char periodSubmenu[] = "ｸﾞﾗﾌ表示日数(&G)";
inline constexpr char graphSettingsItem[] = "ｸﾞﾗﾌ設定(&S)...";

} // namespace graphtext
