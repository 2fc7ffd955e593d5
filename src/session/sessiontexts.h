#pragma once

// The texts of the journal session's reports, UTF-8: the window shows them in
// message boxes and the status bar, the command-line companion on standard
// error.

namespace sessiontext {

inline constexpr char untitled[] = "無題";

// Reasons, one sentence each; "other" adds the system's text.
inline constexpr char noSpace[] = "ディスクの空き容量が足りません。";
inline constexpr char readOnlyFileSystem[] = "読み取り専用のドライブのため、書き込めません。";
inline constexpr char permissionDenied[] = "このファイルまたはフォルダを使う権限がありません。";
inline constexpr char readOnlyFile[] = "ファイルが読み取り専用に設定されています。";
inline constexpr char notFound[] = "ファイルまたはフォルダが見つかりません。";
inline constexpr char notRegularFile[] = "日誌のファイルではありません (フォルダや装置などです)。";
inline constexpr char tooLarge[] = "ファイルが大きすぎます (日誌は 256 MB までです)。";
inline constexpr char inUseElsewhere[] = "ほかに起動している Zephalonte が使用中です。"
                                         "同じ日誌を二か所で開くと、一方の入力が失われます。";
inline constexpr char otherFailure[] = "予期しないエラーが発生しました (%1)。";

// Reports; %1 is the journal's path.
inline constexpr char cannotOpen[] = "%1 を開けませんでした。\n%2";
inline constexpr char cannotStore[] = "%1 に保存できませんでした。\n%2";
inline constexpr char backupNotKept[] = "以前の内容を %1 として残せませんでした。%2";
inline constexpr char skippedLines[] =
    "%1 の次の行は読み取れなかったため、読み込んでいません。\n%2 行目";
inline constexpr char moreSkippedLines[] = " ほか %1 行";
inline constexpr char damagedCopyKept[] = "\n\n読み込む前のファイルを %1 として残しました。";
inline constexpr char damagedCopyFailed[] =
    "\n\n読み込む前のファイルのコピーを作れませんでした。%1\n"
    "保存すると、これらの行は失われます。";

// Another program changed the journal since it was loaded or stored; %1 is
// the journal, %2 the copy of the other program's version.
inline constexpr char conflictCopyKept[] =
    "%1 はほかのプログラムで変更されていたため、その版を %2 として残してから保存しました。";
inline constexpr char conflictCopyFailed[] =
    "%1 はほかのプログラムで変更されています。その版を残せなかったため、保存していません。\n%2";

// The command-line companion does not store over days the window has not
// stored yet; %1 is the recovery file.
inline constexpr char recoveryPending[] =
    "%1 に、Zephalonte のウィンドウで保存されなかった変更が残っています。"
    "Zephalonte を起動して復元するかどうかを選んでから、もう一度実行してください。";

} // namespace sessiontext
