#pragma once

// The advisor's words, UTF-8. The formats take only %5.2f, %.2f, %+.2f, %d, %s
// and %%.

namespace advisortexts {

// The pane's name for screen readers; its message is the pane's and the text
// box's description, and a message an edit changed is announced as well.
inline constexpr const char *accessibleName = "マスコット";

// years of age
inline constexpr const char *birthdayGreeting =
    "今日は%d歳のお誕生日だね。\r\nおめでとう（モキュッ）\r\n";
// weight, BMI, category
inline constexpr const char *bmiLine = "体重 %5.2fkg のBMI値は %5.2f、%sだよ。\r\n";
// fat mass, lean mass
inline constexpr const char *massLine = "脂肪量は %5.2fkg、除脂肪量は %5.2fkg だよ。\r\n";
// kilograms still to lose
inline constexpr const char *targetWeightLine = "目標体重まで、あと %5.2fkg だよ。\r\n";
// percentage points still to lose
inline constexpr const char *targetFatLine = "目標体脂肪率まで、あと %5.2f%% だよ。\r\n";
// mean weight of the seven days
inline constexpr const char *averageWeightLine = "　　平均体重は %5.2fkg だよ。\r\n";
// mean body-fat percentage of the seven days
inline constexpr const char *averageFatLine = "　　平均体脂肪率は %5.2f%% だよ。\r\n";
// km jogged in the seven days
inline constexpr const char *jogDistanceLine = "　　走距離は %5.2fkm だよ。\r\n";
// kcal, grams of fat
inline constexpr const char *energyLine =
    "　　（消費カロリーは約 %5.2fkcal、脂肪 %dg 分だよ。）\r\n";
// duration text
inline constexpr const char *jogDurationLine = "　　走時間は %s だよ。\r\n";
// day of month of the first and the last day
inline constexpr const char *summaryHeading = "\r\n%d日から%d日までの\r\n";
inline constexpr const char *praiseLine = "\r\n最近は Jog/Walking よく頑張ってるね～\r\n";
inline constexpr const char *keepItUpLine = "この調子でがんばってね（モキュッ）\r\n";
inline constexpr const char *absenceLine = "\r\n最近は Jog/Walking ごぶさたしてるね～\r\n";
// event name, days left
inline constexpr const char *countdownLine = "\r\n「%s」まで、あと%d日だよ。\r\n";
inline constexpr const char *encouragement = "ダイエットがんばってね（モキュッ）";

// With the trend on. Weight trend on the day, pace in kg per week.
inline constexpr const char *trendPaceLine =
    "トレンドは %.2fkg、この4週間は週 %+.2fkg のペースだよ。\r\n";
inline constexpr const char *trendReachedLine = "トレンドは目標体重に届いているよ。\r\n";
// days to go, then the year, month and day the target is reached
inline constexpr const char *trendForecastLine =
    "このペースなら目標体重まであと%d日、%d年%d月%d日ごろだよ。\r\n";

// Body-mass-index categories, from too thin to the heaviest class.
inline constexpr const char *bmiCategories[] = {
    "やせすぎ", "適正体重", "すこし肥満", "肥満度Ⅱ", "肥満度Ⅲ", "肥満度Ⅳ",
};

} // namespace advisortexts
