#pragma once

// The program's own texts for the main window and the application object,
// UTF-8. The half-width katakana are intended; keep them as they are.

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
inline constexpr char helpMenu[] = "ﾍﾙﾌﾟ(&H)";
inline constexpr char helpContents[] = "Zephalonte ﾍﾙﾌﾟ(&H)\tF1";
inline constexpr char helpAbout[] = "ﾊﾞｰｼﾞｮﾝ情報(&A)...";

// Command prompts: the status-bar text, then after "\n" the tooltip.
inline constexpr char promptUserInfo[] = "ﾕｰｻﾞ情報を参照・修正します\nﾕｰｻﾞ情報";
inline constexpr char promptGraphSettings[] = "ｸﾞﾗﾌに表示する項目の設定などを行います。\nｸﾞﾗﾌ設定";
inline constexpr char promptObjective[] = "目的や目標を設定します。\n目的・目標";
inline constexpr char promptHelp[] = "Zephalonte のﾍﾙﾌﾟを表示します。\nﾍﾙﾌﾟ";

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

// Files.
inline constexpr char helpFileName[] = "zphh001.chm";

} // namespace frametext
