#pragma once

// The program's own texts for the main window, its menus and the shell's
// small dialogs, UTF-8 (the application object's are in apptexts.h). The
// half-width katakana are intended; keep them as they are.

namespace frametext {

// Main menu. A "\t" separates an item's text from the shortcut shown beside it.
inline constexpr char fileMenu[] = "ﾌｧｲﾙ(&F)";
inline constexpr char fileSaveAs[] = "名前を付けて保存(&A)...";
inline constexpr char filePrint[] = "印刷(&P)...\tCtrl+P";
inline constexpr char filePrintPreview[] = "印刷ﾌﾟﾚﾋﾞｭｰ(&V)";
inline constexpr char filePrintSetup[] = "ﾌﾟﾘﾝﾀの設定(&R)...";
inline constexpr char fileRecent[] = "最近使ったﾌｧｲﾙ";
inline constexpr char fileExit[] = "Zephalonte を終了(&X)";
inline constexpr char settingsMenu[] = "設定(&S)";
inline constexpr char settingsUserInfo[] = "ﾕｰｻﾞ情報(&U)...";
inline constexpr char settingsObjective[] = "目的・目標(&O)...";
inline constexpr char settingsGraph[] = "ｸﾞﾗﾌ(&G)...";
inline constexpr char viewMenu[] = "表示(&V)";
inline constexpr char viewGraphPeriod[] = "ｸﾞﾗﾌ表示日数(&G)";
inline constexpr char viewToolBar[] = "ﾂｰﾙ ﾊﾞｰ(&T)";
inline constexpr char viewStatusBar[] = "ｽﾃｰﾀｽ ﾊﾞｰ(&S)";
inline constexpr char viewMonthlySummary[] = "月別集計(&M)...";
inline constexpr char helpMenu[] = "ﾍﾙﾌﾟ(&H)";
inline constexpr char helpContents[] = "Zephalonte ﾍﾙﾌﾟ(&H)\tF1";
inline constexpr char helpAbout[] = "ﾊﾞｰｼﾞｮﾝ情報(&A)...";

// Command prompts: the status-bar text, then after "\n" the tooltip.
inline constexpr char promptUserInfo[] = "ﾕｰｻﾞ情報を参照・修正します\nﾕｰｻﾞ情報";
inline constexpr char promptGraphSettings[] = "ｸﾞﾗﾌに表示する項目の設定などを行います。\nｸﾞﾗﾌ設定";
inline constexpr char promptObjective[] = "目的や目標を設定します。\n目的・目標";
inline constexpr char promptHelp[] = "Zephalonte のﾍﾙﾌﾟを表示します。\nﾍﾙﾌﾟ";

inline constexpr char promptTrendLine[] =
    "体重と体脂肪率のトレンド (なめらかにした推移) をグラフに描きます。\nトレンド線";
inline constexpr char promptGoalLine[] = "目標体重の位置に線を描きます。\n目標線";
inline constexpr char promptMonthlySummary[] = "月ごとの記録の集計を表示します。\n月別集計";

// The monthly summary window.
inline constexpr char summaryTitle[] = "月別集計";
inline constexpr char summaryCopy[] = "コピー(&C)";
inline constexpr char summaryPrint[] = "印刷(&P)...";
inline constexpr char summaryPreview[] = "印刷ﾌﾟﾚﾋﾞｭｰ(&V)";
inline constexpr char summaryClose[] = "閉じる(&L)";
inline constexpr char summaryEmpty[] = "記録のある月はまだありません。";

// Status bar.
inline constexpr char idlePrompt[] = "データを入力し、【登録】を押してください。";
inline constexpr char indicatorKana[] = "ｶﾅ";
inline constexpr char indicatorCaps[] = "CAP";
inline constexpr char indicatorNum[] = "NUM";
inline constexpr char indicatorScroll[] = "SCRL";

// Messages and dialogs.
inline constexpr char aboutTitle[] = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char aboutBuildFormat[] = "Zephalonte Build %04x";
inline constexpr char exitQuestion[] = "Zephalonte を終了します。\r\nよろしいですか？";
inline constexpr char saveChangesQuestion[] = "%1 への変更を保存しますか?";
inline constexpr char fileFilter[] = "すべてのﾌｧｲﾙ (*.*)";
inline constexpr char userInfoPrompt[] = "ユーザ情報を設定してください。";

// Commands reached by their keys (the menus do not list them), and prompts.
inline constexpr char fileNew[] = "新規作成";
inline constexpr char promptNew[] = "新しい日誌を作成します\n新規作成";
inline constexpr char fileOpen[] = "開く";
inline constexpr char promptOpen[] = "既存の日誌を開きます\n開く";
inline constexpr char fileSave[] = "上書き保存";
inline constexpr char promptSave[] = "日誌を上書き保存します\n上書き保存";
inline constexpr char promptSaveAs[] = "日誌に名前を付けて保存します\n名前を付けて保存";
inline constexpr char promptPrint[] = "ｸﾞﾗﾌを印刷します\n印刷";
inline constexpr char promptPrintPreview[] = "印刷のｲﾒｰｼﾞを表示します\n印刷ﾌﾟﾚﾋﾞｭｰ";
inline constexpr char promptPrintSetup[] = "用紙の向きなど、ﾌﾟﾘﾝﾀの設定を変更します\nﾌﾟﾘﾝﾀの設定";
inline constexpr char promptExit[] = "日誌を保存して Zephalonte を終了します\n終了";
inline constexpr char promptStatusBar[] =
    "ｽﾃｰﾀｽ ﾊﾞｰの表示と非表示を切り替えます\nｽﾃｰﾀｽ ﾊﾞｰの表示切り替え";
inline constexpr char promptAbout[] = "ﾌﾟﾛｸﾞﾗﾑのﾊﾞｰｼﾞｮﾝ情報を表示します\nﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char editMenu[] = "編集(&E)";
inline constexpr char editCut[] = "切り取り(&T)\tCtrl+X";
inline constexpr char promptCut[] = "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに移動します\n切り取り";
inline constexpr char editCopy[] = "ｺﾋﾟｰ(&C)\tCtrl+C";
inline constexpr char promptCopy[] = "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存します\nｺﾋﾟｰ";
inline constexpr char editPaste[] = "貼り付け(&P)\tCtrl+V";
inline constexpr char promptPaste[] = "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付けます\n貼り付け";
inline constexpr char editUndo[] = "元に戻す(&U)\tCtrl+Z";
inline constexpr char editRedo[] = "やり直し(&R)\tCtrl+Y";
inline constexpr char contextHelp[] = "ﾍﾙﾌﾟの対象";
inline constexpr char promptNextPane[] = "次のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替えます\n次のﾍﾟｲﾝ";
inline constexpr char promptPreviousPane[] = "前のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替えます\n前のﾍﾟｲﾝ";
// The two pane keys as the view menu shows them.
inline constexpr char nextPaneItem[] = "次のﾍﾟｲﾝ(&N)\tF6";
inline constexpr char previousPaneItem[] = "前のﾍﾟｲﾝ(&P)\tShift+F6";
inline constexpr char promptGraphPeriod[] = "ｸﾞﾗﾌに表示する期間を切り替えます";
inline constexpr char toolBarTitle[] = "ﾂｰﾙ ﾊﾞｰ";
inline constexpr char promptToolBar[] =
    "ﾂｰﾙ ﾊﾞｰの表示と非表示を切り替えます\nﾂｰﾙ ﾊﾞｰの表示切り替え";
inline constexpr char promptRecentFile[] = "この日誌を開きます";
inline constexpr char helpFileMissing[] =
    "ﾍﾙﾌﾟ ﾌｧｲﾙ %1 が見つかりません。次の場所を探しました:\n%2";
inline constexpr char helpViewerMissing[] = "ﾍﾙﾌﾟ ﾌｧｲﾙ %1 を表示できませんでした。\n"
                                            "CHM ﾌｧｲﾙを表示するｱﾌﾟﾘｹｰｼｮﾝ (xchm など) を"
                                            "ｲﾝｽﾄｰﾙしてください。";

// Dialogs of the shell.
inline constexpr char aboutNote[] = "ダイエットと運動の記録";
inline constexpr char paperSetupTitle[] = "ﾌﾟﾘﾝﾀの設定";
inline constexpr char paperOrientation[] = "印刷の向き";
inline constexpr char paperPortrait[] = "縦(&O)";
inline constexpr char paperLandscape[] = "横(&A)";
inline constexpr char paperSize[] = "用紙ｻｲｽﾞ(&Z):";

// Files.
inline constexpr char helpFileName[] = "zphh001.chm";

// File > merge another journal.
inline constexpr char mergeMenuItem[] = "ほかの日誌と合わせる(&M)...";
inline constexpr char mergePrompt[] =
    "ほかの版の日誌 (衝突の写しなど) の、この日誌にない日を取り込みます";

} // namespace frametext
