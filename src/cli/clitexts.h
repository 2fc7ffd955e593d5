#pragma once

// Every text the command-line companion writes (UTF-8). "%1", "%2" are filled
// in with fillText; the program name "zeph: " is put before error lines by
// the caller.

#include <initializer_list>
#include <string>
#include <string_view>

namespace clitext {

// ---- usage ----
// The synopsis of each usage ("使い方: zeph add [--date YYYY-MM-DD] ...") is made
// from the tables of commands and options the parser reads; these texts are
// the rest.
inline constexpr const char *usageHead = "使い方: zeph";
inline constexpr const char *generalOperands = "COMMAND [OPTION]...";
inline constexpr const char *generalIntro =
    "Zephalonte の日誌を端末やスクリプトから記録・表示します。\n"
    "日誌は --file で指定しなければ、作業ディレクトリにある現在のユーザの日誌です。\n";
inline constexpr const char *commandsHeading = "COMMAND:";

// Each command's line in zeph --help, and the options listed there.
inline constexpr const char *addPurpose = "1日分を登録する";
inline constexpr const char *showPurpose = "日誌の一覧を新しい日から表示する";
inline constexpr const char *advicePurpose = "アドバイスを表示する";
inline constexpr const char *graphPurpose = "グラフを PDF または PNG に書き出す";
inline constexpr const char *exportPurpose = "日誌を CSV に書き出す";
inline constexpr const char *importPurpose = "CSV の日を日誌に取り込む";
inline constexpr const char *importRunPurpose =
    "体重計や健康アプリ、GPS ウォッチの記録をその日に取り込む";
inline constexpr const char *importRunSynonym = "import と同じ (以前の名前)";
inline constexpr const char *checkPurpose = "日誌ファイルを読み込んで失われる行を調べる";
inline constexpr const char *trendPurpose = "体重と体脂肪率のトレンドを CSV に書き出す";
inline constexpr const char *summaryPurpose = "月別集計を CSV に書き出す";
inline constexpr const char *recoverPurpose =
    "ウィンドウで保存されなかった変更を日誌に当てはめて保存する";
inline constexpr const char *mergePurpose = "ほかの版の日誌を日ごとに合わせる";
inline constexpr const char *helpPurpose =
    "この説明を表示する (zeph COMMAND --help で各コマンドの説明)";
inline constexpr const char *versionPurpose = "版を表示する";

inline constexpr const char *generalNotes =
    "日付は YYYY-MM-DD で指定します。ファイル名と作業フォルダの名前は UTF-8 "
    "の文字だけにしてください。\n"
    "終了状態: 0 成功、1 日誌を開けない・使用中・保存できない (check では失われる行がある)、\n"
    "2 引数や入力が不正 (日誌やその控えへの書き出し、UTF-8 でない名前を含む)、\n"
    "3 保存したが、相手の版の値を採らなかった日がある (recover, merge)。\n"
    "失敗したときは何も書き込みません。読むだけのコマンド (show advice graph export-csv\n"
    "trend summary) は、日誌のフォルダに何も残しません。\n"
    "ウィンドウで保存されなかった変更の控え (.日誌名.recovery) があるときは、\n"
    "書き込むコマンド (add, import-csv, import, merge) は実行しません (終了状態 1)。\n"
    "zeph recover でその変更を日誌に当てはめられます。\n"
    "ほかのプログラムが変更した日誌は、保存の前に .conflict-日付-時刻 として残します。\n";

// Each command's --help, under its synopsis.
inline constexpr const char *addHelp =
    "1日分を入力フォームの【登録】と同じ規則で保存します (既定の日は今日)。\n"
    "指定しなかった項目は、その日に記録済みの値のままです。空の文字列を指定すると消えます。\n"
    "時間 T は <時間>:<分>'<秒>\" の書式です (数字だけなら分)。\n"
    "数値は数値だけで指定します。inf、nan、大きすぎる数 (1e309 など)、\n"
    "数値の後に文字の付いた値 (64.5kg など) は指定できません。\n"
    "日誌のファイルがまだなければ作ります。読み取れない行がある日誌は、保存する前に\n"
    "元のファイルを <日誌>.damaged-YYYYMMDD として残します (同じ内容のものがあれば作りません)。\n";

inline constexpr const char *showHelp = "日誌の一覧の行を、新しい日から順に表示します。\n";

inline constexpr const char *adviceHelp =
    "その日 (既定は今日) についてのアドバイスを表示します。\n"
    "--trend を指定すると、トレンド線を表示しているときと同じく、体重のトレンドと\n"
    "この4週間のペース、目標体重に届く日の見込みも表示します。\n";

inline constexpr const char *graphHelp =
    "グラフを書き出します。PDF は印刷されるページ (A4、日誌の用紙の向き)、\n"
    "PNG は画面のグラフ枠の表示 (既定の大きさ 1200x400) です。\n"
    "--scale は PNG の画素密度 (1〜4、既定 1)。2 なら拡大表示 200% の画面と同じ\n"
    "くっきりした表示を、幅と高さが 2 倍の画像に書き出します。\n"
    "期間と選択日は、--date の日 (既定は今日) にグラフ枠を開いたときと同じです。\n"
    "--period は表示日数 (日数、または 1m 3m 6m 12m の月数)。既定は日誌の設定です。\n"
    "OUT の扱いは export-csv と同じです (日誌やその控えには書き出しません)。\n"
    "--trend は体重と体脂肪率のトレンド線を、--goal は目標体重の線を描きます\n"
    "(目標体重の線があるときは、体重の目盛りを目標体重も入るように合わせます)。\n";

inline constexpr const char *exportHelp =
    "日誌の日を CSV (UTF-8、見出し行つき) に書き出します。OUT がなければ標準出力です。\n"
    "OUT が日誌そのものやその控え (.bak、ロックファイル、残したコピー) なら書き出しません。\n"
    "ファイルは書き終えてから入れ替えるので、失敗しても前のファイルは元のままです\n"
    "(FIFO や装置にはそのまま書きます)。\n"
    "列: date,weight,fat_percent,jog_km,jog_seconds,walk_km,walk_seconds,memo\n";

inline constexpr const char *importHelp =
    "CSV (export-csv の書式) の日を1日ずつ日誌に保存します。同じ日の記録は置き換えます。\n"
    "不正な行があれば、その行番号と理由を表示して何も保存しません。\n"
    "--skip-bad を指定すると、不正な行を飛ばして残りを保存します。IN が - なら標準入力です。\n"
    "閉じていない引用符があるときは、--skip-bad を指定しても何も保存しません。\n"
    "日誌の 6 桁に丸められる値は、その行番号を表示してから丸めて保存します。\n"
    "日誌のファイルがまだなければ作ります。\n";

inline constexpr const char *checkHelp =
    "日誌ファイルを読み込み、読み込めない行や、次に保存すると失われる・変わる内容を表示します\n"
    "(数値の欄にある数値でない文字、6 桁を超える桁、nan なども)。\n"
    "何か失われるときの終了状態は 1 です。FILE がなければ --file "
    "の日誌または現在のユーザの日誌です。\n"
    "日誌を調べるときは、ウィンドウで保存されなかった変更の控えが残っていないかも調べます。\n";

inline constexpr const char *importRunHelp =
    "体重計や健康アプリが書き出した体重・体脂肪率と、GPS ウォッチやスマートフォンが記録した\n"
    "運動を、その日の記録として取り込みます。ファイルの種類は中身で見分けます:\n"
    "GPX・TCX・FIT、openScale と Withings の CSV、Fitbit の JSON、Apple ヘルスケアの\n"
    "書き出し (export.xml、export.zip)。FILE が - なら標準入力です (256 MB まで)。\n"
    "日はシステムのタイムゾーン (TZ) での日、日時を書いたファイルならその日付です。\n"
    "体重は 0.01 kg に、体脂肪率は 0.1 % に、距離は 0.01 km に、時間は秒に丸めます。\n"
    "1日に何回か測った体重は、--pick first (既定、その日の最初)、last (最後)、mean (平均) の\n"
    "値を記録します。体重のある日は置き換えます (ほかの項目はそのままです)。\n"
    "--keep-existing を指定すると、記録のある日の体重や運動は変えません。\n"
    "Fitbit の JSON は単位を書いていないため、--unit kg か --unit lb が必要です。\n"
    "種目が running なら Jog、walking や hiking なら Walk、種目がなければ Jog に記録します。\n"
    "それ以外の種目 (自転車、水泳など) は取り込みません。--as jog または --as walk を指定すると、\n"
    "ファイルの種目にかかわらず、すべての運動をその項目に記録します。\n"
    "同じ日・同じ項目の運動は合計して、その日の記録を置き換えます。\n"
    "--add を指定すると、その日の記録に加算します (まったく同じ記録がある運動は加算しません)。\n"
    "同じ運動や測定の記録 (同じファイルを2度指定したときなど) は1度だけ数えます。\n"
    "取り込んだ運動ごと、体重を取り込んだ日ごとに、日付・項目・値を1行ずつ表示します。\n"
    "ありえない値 (1000 km を超える距離、48 時間を超える時間、0〜500 kg を外れる体重、\n"
    "0〜80 % を外れる体脂肪率) の記録や、読めないファイル、取り込まない種目は理由を表示し、\n"
    "残りを取り込んでから終了状態 2 で終わります。取り込みは1回の変更として保存します。\n"
    "日誌のファイルがまだなければ作ります。\n";

inline constexpr const char *trendHelp =
    "体重か体脂肪率のある日を古い日から順に、そのトレンドとともに CSV で書き出します。\n"
    "トレンドはいつも日誌全体から計算します。--from と --to は書き出す行だけを選びます。\n"
    "値のない欄は空です。\n"
    "列: date,weight,weight_trend,fat_percent,fat_trend\n";

inline constexpr const char *summaryHelp =
    "記録のある月ごとに、日数、体重の平均・最小・最大、体脂肪率の平均、Jog と Walk の\n"
    "距離と時間 (秒) の合計、消費カロリーの目安を、古い月から順に CSV で書き出します。\n"
    "--from と --to は数える日を選びます。平均などは 0 でない値の日から求め、\n"
    "そのような日がなければ空です。\n"
    "列: month,days,weight_mean,weight_min,weight_max,fat_mean,jog_km,jog_seconds,"
    "walk_km,walk_seconds,kcal\n";

// ---- argument errors ----
inline constexpr const char *noCommand = "コマンドを指定してください。";
inline constexpr const char *unknownCommand = "「%1」というコマンドはありません。";
inline constexpr const char *unknownOption = "%1 には「%2」というオプションはありません。";
inline constexpr const char *missingValue = "%1 には値が必要です。";
inline constexpr const char *extraArgument = "余分な引数「%1」があります。";
inline constexpr const char *missingOutput = "書き出すファイルを指定してください。";
inline constexpr const char *missingInput = "取り込む CSV ファイルを指定してください。";
inline constexpr const char *missingImportFiles = "取り込むファイルを指定してください。";
inline constexpr const char *badPick = "--pick「%1」は first、last、mean のどれかで指定してください。";
inline constexpr const char *badUnit = "--unit「%1」は kg か lb で指定してください。";
// zeph import: a day's weight and body fat as imported (%1 the day, %2 the
// field, %3 the values).
inline constexpr const char *importWeightLine = "%1 %2 %3";
// --keep-existing left a day's field as it was: %1 the day, %2 the field
// (体重, Jog, Walk), %3 what it holds.
inline constexpr const char *keptExisting =
    "%1 %2: 記録 (%3) があるため変えません (--keep-existing)。";
// A long read on a terminal: %1 the input, %2 how far (percent, or MB read
// when the size is unknown).
inline constexpr const char *readingPercent = "zeph: %1 を読み込んでいます… %2 %";
inline constexpr const char *readingMegabytes = "zeph: %1 を読み込んでいます… %2 MB";
inline constexpr const char *badRunField = "--as「%1」は jog か walk で指定してください。";
inline constexpr const char *recoverHelp =
    "ウィンドウが保存せずに終わったときの変更の記録 (.日誌名.recovery) を、\n"
    "今の日誌に日ごとに当てはめて保存します。記録の変更前の値のままの日は変更後の値になり、\n"
    "ほかのプログラムが別の値にしていた日は記録の値を採り、日誌の版を\n"
    "<日誌>.conflict-日付-時刻 として残します (終了状態 3)。\n"
    "当てはめた日と衝突した日を 1 行ずつ表示します。\n"
    "--set-aside は当てはめずに <日誌>.recovered-YYYYMMDD として残します。\n"
    "--from FILE は、以前に残した記録 (.recovered-YYYYMMDD) を当てはめます。\n";

inline constexpr const char *mergeHelp =
    "ほかの版の日誌 OTHER (衝突の写し、別のパソコンの日誌など) を日ごとに合わせて保存します。\n"
    "--base BASE を指定すると、二つの版の共通の元 BASE から OTHER で変わった日を取り込み、\n"
    "日誌も変えていた日は衝突として日誌の値のままにします。\n"
    "BASE がなければ、日誌にない日だけを取り込み、値の違う日は衝突として日誌の値のままにします。\n"
    "取り込んだ日と衝突した日を 1 行ずつ表示します。衝突が残ったときの終了状態は 3 です。\n"
    "--dry-run は表示だけして保存しません。\n";

inline constexpr const char *seeHelp = "詳しくは zeph --help を見てください。";
inline constexpr const char *badDateForm =
    "%1 の日付「%2」は YYYY-MM-DD の形ではありません (例: 2026-02-28)。";
inline constexpr const char *impossibleDate = "%1 の日付「%2」は存在しない日です。";
inline constexpr const char *notFiniteNumber =
    "%1「%2」は有限の数値ではありません (inf、nan、大きすぎる数は記録できません)。";
inline constexpr const char *notANumber =
    "%1「%2」は数値ではありません (空の文字列を指定すると、その項目を消します)。";
inline constexpr const char *fromAfterTo = "--from の日付が --to の日付より後です。";
inline constexpr const char *badPeriod =
    "--period「%1」は、1 から 3660 までの日数か、1m 3m 6m 12m のどれかで指定してください。";
inline constexpr const char *badSize =
    "--size「%1」は 幅x高さ で指定してください (幅 100〜8000、高さ 50〜8000)。";
inline constexpr const char *badScale =
    "--scale「%1」は 1 から 4 までの数で指定してください (例: 2、1.5)。";
inline constexpr const char *scaleOnlyPng = "--scale は PNG に書き出すときだけ指定できます。";
inline constexpr const char *scaledTooLarge =
    "--size と --scale による画像 (%1x%2 ピクセル) が大きすぎます (各辺 8000 ピクセルまで)。";
inline constexpr const char *badGraphFile =
    "グラフのファイル名「%1」は .pdf か .png で終わる必要があります。";

// ---- files ----
inline constexpr const char *outputFailed = "出力を書き終えられませんでした。";
inline constexpr const char *inputFailed = "標準入力を読めませんでした (%1)。";
inline constexpr const char *outputIsJournalCompanion =
    "%1 は日誌 %2 またはその控え (バックアップ、ロックファイル、残したコピー) のため、"
    "書き出しません。別のファイル名を指定してください。";

// ---- CSV ----
inline constexpr const char *csvLine = "%1 行目: %2";
inline constexpr const char *csvBadHeader =
    "1 行目が見出し行ではありません。1 行目は次のとおりにしてください:\n%1";
inline constexpr const char *csvUnclosedQuote = "引用符 (\") が閉じていません。";
inline constexpr const char *csvUnclosedQuoteFatal =
    "%1 行目で始まる引用符 (\") "
    "が閉じていないため、その後の行をすべて一つの値として読んでしまいます。"
    "何も取り込みませんでした。引用符を閉じてから、やり直してください。";
inline constexpr const char *csvRounded = "%1「%2」は、日誌には 6 桁に丸めて %3 として記録します。";
inline constexpr const char *csvTextAfterQuote = "閉じた引用符 (\") の後に文字があります。";
inline constexpr const char *csvNotUtf8 = "UTF-8 として読めない文字があります。";
inline constexpr const char *csvFieldCount = "列の数が %1 です (8 列が必要です)。";
inline constexpr const char *csvBadDate = "日付「%1」が YYYY-MM-DD の形ではありません。";
inline constexpr const char *csvImpossibleDate = "日付「%1」は存在しない日です。";
inline constexpr const char *csvBadNumber = "%1「%2」は数値ではありません。";
inline constexpr const char *csvBadSeconds = "%1「%2」は 0 以上の秒数ではありません。";
inline constexpr const char *csvMemo = "メモ: %1";
inline constexpr const char *csvRejectedNothingStored =
    "不正な行が %1 行あるため、何も保存しませんでした。--skip-bad を指定すると、"
    "不正な行を飛ばして残りを保存します。";
inline constexpr const char *csvSkipped = "不正な %1 行を飛ばしました。";
inline constexpr const char *csvImported = "%1 日分を取り込みました。";

// Column names of the CSV header, in column order (also used in messages).
inline constexpr const char *columnWeight = "weight";
inline constexpr const char *columnFatPercent = "fat_percent";
inline constexpr const char *columnJogKm = "jog_km";
inline constexpr const char *columnJogSeconds = "jog_seconds";
inline constexpr const char *columnWalkKm = "walk_km";
inline constexpr const char *columnWalkSeconds = "walk_seconds";

// ---- check ----
inline constexpr const char *checkLine = "%1:%2: %3";
inline constexpr const char *checkNoDate =
    "日付 (年/月/日) で始まらないため読み込まれない行です。保存すると失われます。";
inline constexpr const char *checkImpossibleDate =
    "存在しない日付のため読み込まれない行です。保存すると失われます。";
inline constexpr const char *checkReplacedDay =
    "同じ日付の行が後にあるため読み込まれない行です。保存すると失われます。";
inline constexpr const char *checkUnknownSection =
    "知らない見出しの行です。保存すると失われます (後の行はその前の見出しに属します)。";
inline constexpr const char *checkNotASetting =
    "「キー = 値」の形ではないため無視される行です。保存すると失われます。";
inline constexpr const char *checkUnknownKey =
    "知らないキーのため無視される行です。保存すると失われます。";
inline constexpr const char *checkRounded = "%1 の %2 %3 は、保存すると %4 になります。";
inline constexpr const char *checkNotANumber =
    "%1「%2」は数値ではないため %3 として読み込まれます。保存すると「%2」は失われます。";
inline constexpr const char *checkRoundedWord = "%1 %2 は、保存すると %3 になります。";
inline constexpr const char *checkDateText =
    "日付「%1」の後に付いた文字は読み込まれません。保存すると失われます。";
inline constexpr const char *checkHeaderMissing =
    "空か、1 行目が日誌の見出しの行 (# quillox file ver 2) ではありません。"
    "読み込むと何もない日誌になり、書き込むコマンドは実行しません。";
inline constexpr const char *checkClean = "%1: 読み込みで失われるものはありません。";
inline constexpr const char *checkSummary =
    "%1: %2 件の内容が、次に保存すると失われるか変わります。";

// Names of the rounded values in check's report.
inline constexpr const char *valueHeight = "身長";
inline constexpr const char *valueTargetWeight = "目標体重";
inline constexpr const char *valueTargetFat = "目標体脂肪率";
inline constexpr const char *valueJogDistanceMonth = "月間走行距離の目標";
inline constexpr const char *valueWeight = "体重";
inline constexpr const char *valueFatPercent = "体脂肪率";
inline constexpr const char *valueJogDistance = "Jog 距離";
inline constexpr const char *valueJogDuration = "Jog 時間 (秒)";
inline constexpr const char *valueWalkDistance = "Walk 距離";
inline constexpr const char *valueWalkDuration = "Walk 時間 (秒)";
inline constexpr const char *valueSettings = "設定";

// "%1", "%2", ... in text replaced by the arguments in order.
std::string fillText(std::string_view text, std::initializer_list<std::string_view> arguments);

// recover and merge
inline constexpr const char *missingOther = "合わせる日誌 OTHER を指定してください。";
inline constexpr const char *setAsideWithFrom = "--set-aside と --from は一緒に指定できません。";
inline constexpr const char *nothingToRecover = "当てはめる変更はありません。\n";
inline constexpr const char *notAnEditLog = "%1 は変更の記録ではありません。";
inline constexpr const char *logOfAnotherJournal =
    "%1 はほかの日誌の変更の記録です。当てはめません。"
    "zeph recover --set-aside で別の名前に残せます。";
inline constexpr const char *otherNotWhole =
    "%1 は日誌の全体ではありません (空、見出しの行がない、または最後の行が途中で切れています)。"
    "合わせません。";
inline constexpr const char *otherNotClean =
    "%1 に読み取れない行があるため、合わせません (%2 行)。";
inline constexpr const char *dayTaken = "%1\t取り込み\n";
inline constexpr const char *dayConflictTheirs = "%1\t衝突: 記録の値を採り、日誌の版を残しました\n";
inline constexpr const char *dayConflictKept = "%1\t衝突: 日誌の値のまま\n";
inline constexpr const char *setAsideDone = "%1 として残しました。\n";
inline constexpr const char *conflictCopyKept = "日誌の版を %1 として残しました。\n";

} // namespace clitext
