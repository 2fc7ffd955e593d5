#pragma once

// Every text of the import of runs from a watch's files (UTF-8), for the
// window and for zeph alike. "%1", "%2" are filled in by the caller.

namespace activitytext {

// ---- why a file cannot be read (after the file's name) ----
inline constexpr char notActivityFile[] = "GPX、TCX、FIT のどのファイルでもありません。";
inline constexpr char xmlDamaged[] = "XML が %1 行目 %2 文字目で壊れています。";
inline constexpr char tooFewTimedPoints[] =
    "時刻の付いた地点が 2 つ未満のため、時間がわかりません。";
inline constexpr char badPosition[] = "%1 行目の地点に正しい緯度・経度がありません。";
inline constexpr char badTime[] = "%1 行目の日時「%2」を読めません。";
inline constexpr char timeBackwards[] = "最後の地点の時刻が最初の地点の時刻より前です。";
inline constexpr char noActivity[] = "運動の記録がありません。";
inline constexpr char badNumber[] = "%1 行目の %2「%3」は 0 以上の数値ではありません。";
inline constexpr char noStartTime[] = "%1 行目の運動に開始日時がありません。";
inline constexpr char fitBadHeader[] = "FIT のヘッダーが壊れています。";
inline constexpr char fitHeaderCrc[] =
    "FIT のヘッダーの CRC が一致しません (ファイルが壊れています)。";
inline constexpr char fitFileCrc[] = "FIT ファイルの CRC が一致しません (ファイルが壊れています)。";
inline constexpr char fitTruncated[] =
    "FIT のデータがファイルの終わりを越えています (ファイルが途中で切れています)。";
inline constexpr char fitUndefinedMessage[] =
    "FIT の %1 バイト目に、定義されていない種類のメッセージがあります。";
inline constexpr char fitBadDefinition[] = "FIT の %1 バイト目のメッセージ定義が壊れています。";
inline constexpr char fitBadSession[] =
    "FIT の運動の記録 (session) に、開始日時・距離・時間のどれかがありません。";
inline constexpr char fitWeightWithoutTime[] =
    "FIT の体重の記録 (weight_scale) に日時がないため、この記録は取り込みません。";
inline constexpr char cannotRead[] = "読み込めません (%1)。";
inline constexpr char tooLarge[] =
    "ファイルが大きすぎます (%1 MB)。運動の記録のファイルは 256 MB までです。";
inline constexpr char notAFile[] = "ファイルではありません。";

// ---- values no watch or scale can have recorded ----
// %1 the quantity (距離), %2 the value, %3 its unit, %4 and %5 the range.
inline constexpr char implausibleValue[] =
    "%1「%2 %3」は %4〜%5 %3 の範囲を外れているため、取り込みません。";
inline constexpr char notFinite[] = "%1が数として扱える大きさを超えているため、取り込みません。";
// An activity or a measurement left out: %1 its date, then its sport or
// time of day, then the reason.
inline constexpr char activityRefused[] = "%1 の運動: %2";
inline constexpr char sportRefused[] = "%1 の運動 (%2): %3";
inline constexpr char weighingRefused[] = "%1 %2 の測定: %3";
// A lap of a TCX activity: %1 the line, %2 the element, %3 its text as
// written, %4 the quantity, %5 the limit with its unit ("1000 km ").
inline constexpr char implausibleLap[] =
    "%1 行目の %2「%3」はありえない値のため、この運動は取り込みません (%4は %5まで)。";

// ---- the weight exports (after the file's name) ----
inline constexpr char notImportFile[] =
    "取り込める形式のファイルではありません (GPX、TCX、FIT、openScale と Withings の CSV、"
    "Fitbit の JSON、Apple ヘルスケアの書き出しを読めます)。";
inline constexpr char noWeighing[] = "体重や体脂肪率の記録がありません。";
inline constexpr char notANumber[] = "%1 行目の %2「%3」は数値ではありません。";
inline constexpr char openQuote[] =
    "%1 行目の引用符 (\") が閉じていません (ファイルが壊れています)。";
inline constexpr char jsonDamaged[] = "JSON が %1 行目で壊れています。";
inline constexpr char jsonNotARecord[] =
    "%1 行目の要素は記録 (JSON のオブジェクト) ではありません。";
inline constexpr char needsWeightUnit[] =
    "体重の単位がファイルに書かれていません (Fitbit の書き出しは、アプリの設定によって "
    "kg のこともポンドのこともあります)。";
// ...and how to name the unit.
inline constexpr char needsWeightUnitHintCli[] =
    " --unit kg か --unit lb で単位を指定してください。";

// ---- zip archives and inputs that are no file ----
inline constexpr char zipNotNamed[] =
    "zip ファイルは、標準入力やパイプからではなく、ファイルの名前で指定してください。";
inline constexpr char zipDamaged[] = "zip ファイルを読めません (%1)。";
inline constexpr char zipNothingKnown[] =
    "取り込める記録 (export.xml、weight.csv、weight-….json) が zip の中にありません。";
inline constexpr char zipEntryTooLarge[] =
    "展開すると大きすぎます (%1 MB)。取り込めるファイルは 256 MB までです。";
inline constexpr char standardInput[] = "標準入力";
inline constexpr char inputTooLarge[] = "大きすぎます (%1 MB)。取り込めるファイルは 256 MB "
                                        "までです (Apple ヘルスケアの書き出しを除く)。";
inline constexpr char streamTooLarge[] =
    "256 MB を超えています。取り込めるのは 256 MB までです (Apple ヘルスケアの書き出しを除く)。";
inline constexpr char cancelled[] = "読み込みを中止しました。";

// ---- Apple Health's export ----
// %1 the record's date as written, %2 what it measures, %3 the unit or value.
inline constexpr char healthWeight[] = "体重";
inline constexpr char healthFat[] = "体脂肪率";
inline constexpr char healthWorkout[] = "運動";
inline constexpr char healthDistance[] = "距離";
inline constexpr char healthDuration[] = "時間";
inline constexpr char healthBadDate[] = "日時「%1」を読めないため、この%2の記録は取り込みません。";
inline constexpr char healthBadUnit[] =
    "%1 の%2の単位「%3」には対応していないため、この記録は取り込みません。";
inline constexpr char healthBadNumber[] =
    "%1 の%2「%3」は数値ではないため、この記録は取り込みません。";
inline constexpr char entityDeclared[] =
    "XML の DTD に実体 (ENTITY) の宣言があるため、このファイルは読みません。";
inline constexpr char noHealthRecord[] =
    "体重、体脂肪率、ラン・ウォーキング・ハイキングの記録がありません。";

// "file: reason"
inline constexpr char fileProblem[] = "%1: %2";
// A sport that is neither a jog nor a walk; %1 the file, %2 the sport.
inline constexpr char refusedSport[] =
    "%1: 種目「%2」はジョグでもウォークでもないため、この運動は取り込みません。";
// ...and what the user can do about it.
inline constexpr char refusedSportHintCli[] = " (--as jog または --as walk で取り込めます)";
inline constexpr char refusedSportHintWindow[] = " (記録先を選べば取り込めます)";

// The same recording given twice (the same file named twice, say); %1 the
// file, %2 the one it repeats.
inline constexpr char sameActivity[] = "%1: %2 と同じ運動の記録のため、二重には数えません。";

// The same weigh-in given twice; %1 the file, %2 the one it repeats.
inline constexpr char sameWeighing[] = "%1: %2 と同じ測定の記録のため、二重には数えません。";
// In add mode, a run the day already holds exactly: the mark of its row,
// and zeph's line for it (%1 the file, %2 the day, %3 the field, %4 km,
// %5 the time, %6 the mark).
inline constexpr char alreadyHeld[] = "同じ記録がすでにあります";
inline constexpr char alreadyHeldLine[] = "%1: %2 %3 %4 km %5 (%6)";

// ---- the fields and sports as shown ----
inline constexpr char fieldJog[] = "Jog";
inline constexpr char fieldWalk[] = "Walk";
inline constexpr char targetWeight[] = "体重";
inline constexpr char weightValue[] = "%1 kg";
inline constexpr char fatValue[] = "%1 %";
inline constexpr char noSport[] = "(指定なし)";
inline constexpr char nothingHeld[] = "なし";
inline constexpr char notImported[] = "取り込まない";
// "10.03 km 52'10\""
inline constexpr char distanceAndTime[] = "%1 km %2";

// ---- zeph import-run: one line per activity: day, field, km, time ----
inline constexpr char cliActivityLine[] = "%1 %2 %3 km %4";
inline constexpr char cliActivityLineAdded[] = "%1 %2 %3 km %4 (加算)";

// ---- the window ----
inline constexpr char menuItem[] = "記録を取り込む(&I)...";
inline constexpr char menuPrompt[] =
    "体重計や健康アプリの書き出し、GPS ウォッチの GPX・TCX・FIT ファイルから、その日の体重や"
    "ジョグ、ウォークを記録します\n記録を取り込む";
inline constexpr char fileDialogTitle[] = "記録を取り込む";
inline constexpr char fileDialogFilter[] =
    "記録のファイル (*.gpx *.tcx *.fit *.csv *.json *.xml *.zip *.GPX *.TCX *.FIT *.CSV *.JSON "
    "*.XML *.ZIP);;すべてのﾌｧｲﾙ (*)";
inline constexpr char dialogTitle[] = "記録を取り込む";
inline constexpr char dialogIntro[] =
    "チェックした記録を、その日の体重・体脂肪率、Jog または Walk に登録します。";
inline constexpr char columnDate[] = "日付";
inline constexpr char columnFile[] = "ファイル";
inline constexpr char columnSport[] = "種目";
inline constexpr char columnField[] = "記録先";
inline constexpr char columnValue[] = "値";
inline constexpr char columnHeldNow[] = "その日の今の記録";
inline constexpr char columnAfter[] = "取り込み後";
inline constexpr char weighingSport[] = "体重";
inline constexpr char tableName[] = "取り込む記録";
inline constexpr char problemsName[] = "取り込めないもの";
inline constexpr char fieldChoiceLabel[] = "記録先(&F):";
inline constexpr char fieldChoiceBySport[] = "ファイルの種目のとおり";
inline constexpr char fieldChoiceJog[] = "すべて Jog";
inline constexpr char fieldChoiceWalk[] = "すべて Walk";
inline constexpr char pickLabel[] = "1 日に何回も量ったとき(&W):";
inline constexpr char pickFirst[] = "最初の値";
inline constexpr char pickLast[] = "最後の値";
inline constexpr char pickMean[] = "平均";
inline constexpr char unitLabel[] = "Fitbit の体重の単位(&U):";
inline constexpr char unitUnchosen[] = "選んでください";
inline constexpr char unitPounds[] = "ポンド (lb)";
inline constexpr char unitKilograms[] = "キログラム (kg)";
inline constexpr char keepExisting[] = "記録のある日は変えない";
inline constexpr char addToDay[] = "同じ日の記録に加算する(&A)";
inline constexpr char problemsLabel[] = "取り込めないもの:";
// %1 days change; of them %2 take a weight, %3 a body fat, %4 a jog, %5 a walk.
inline constexpr char changeCount[] =
    "%1 日の記録が変わります (体重 %2 日、体脂肪率 %3 日、Jog %4 日、Walk %5 日)。";
inline constexpr char nothingChanges[] = "記録の変わる日はありません。";
inline constexpr char reading[] = "%1 を読んでいます...";
inline constexpr char nothingToImport[] = "取り込める記録がありません。";
inline constexpr char imported[] = "%1 日の記録を取り込みました。";

} // namespace activitytext
