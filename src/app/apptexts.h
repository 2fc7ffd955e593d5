#pragma once

// The texts of the application object: start-up, the command line and the
// file commands, UTF-8. The journal's own reports are in session/sessiontexts.h.

namespace apptext {

// Added to a report that ends the program at start-up.
inline constexpr char startupEnds[] = "\n\nZephalonte を終了します。";

// The command line: [--] [journal file], or --help, or --version. The
// mistakes are written to standard error, each followed by the usage and
// seeHelp, as zeph writes its own.
inline constexpr char unknownOption[] = "不明なオプション %1 が指定されました。";
inline constexpr char extraArgument[] = "日誌のファイルは一つだけ指定できます (%1)。";
inline constexpr char usage[] = "使い方: zephalonte [--] [日誌のファイル]";
inline constexpr char seeHelp[] = "詳しくは zephalonte --help を見てください。";
inline constexpr char help[] =
    "使い方: zephalonte [--] [日誌のファイル]\n"
    "Zephalonte の日誌をウィンドウで記録・表示します。画面の文字は日本語だけです。\n"
    "日誌のファイルを指定しなければ、作業ディレクトリにある現在のユーザの日誌\n"
    "(zph0001.txt) を開きます。「-」で始まる名前は -- の後に指定します。\n"
    "\n"
    "  --help      この説明を表示する\n"
    "  --version   版を表示する\n"
    "\n"
    "Qt の標準のオプション (-platform など) も使えます。\n"
    "初めての起動ではユーザ名を尋ねます。操作の説明はヘルプ (F1) にあります。\n"
    "終了状態: 0 ウィンドウを閉じた (--help、--version も)、1 日誌を開けない、\n"
    "2 引数が不正。\n"
    "端末からは zeph で同じ日誌を使えます (zeph --help)。\n";

// Close: the store before it failed.
inline constexpr char quitWithoutStoring[] = "\n\n保存せずに終了しますか？\n"
                                             "[いいえ] を選ぶと終了しません。"
                                             "入力したデータはそのまま残ります。";

// The recovery file: days registered but not stored when the program last
// ended. %1 is a path.
inline constexpr char recoveryQuestion[] =
    "前回、保存されずに終了した変更があります。復元しますか？";
inline constexpr char recoverySetAside[] = "復元しなかった変更を %1 として残しました。";
inline constexpr char recoverySetAsideFailed[] =
    "復元しなかった変更のファイル %1 を別の名前にできませんでした。%2\n"
    "ファイルはそのまま残してあります。";
inline constexpr char recoveryRestoredSkipped[] =
    "保存されずに終了した変更のうち、次の行は読み取れなかったため、復元していません。\n%1 行目";
inline constexpr char recoveryOfAnotherJournal[] =
    "ほかの日誌の、保存されずに終了した変更の記録が見つかりました。"
    "この日誌には使わず、%1 として残しました。";
inline constexpr char recoveryConflicts[] =
    "復元した変更とは別の値を日誌が持っていた箇所があります。変更のほうを採り、"
    "日誌の版を %1 に残しました。\n%2";
inline constexpr char recoveryConflictNotKept[] =
    "保存されずに終了した変更 %1 を復元できませんでした。日誌の版を残せなかったためです。%2\n"
    "ファイルはそのまま残してあります。";
// A journal opened without its lock: %1 the journal, %2 the system's reason.
inline constexpr char readOnlyMark[] = " [読み取り専用]";
inline constexpr char openedReadOnly[] =
    "%1 のロック ファイルを作れないため、読み取り専用で開きました。%2\n"
    "登録や設定の変更はできません。変更するには、書き込めるフォルダに"
    "［名前を付けて保存］してください。";
inline constexpr char refusedReadOnly[] = "読み取り専用のため、変更できません。";

// At open: conflict copies of the journal lie beside it. %1 how many, %2
// the newest one's name.
inline constexpr char conflictCopiesBeside[] =
    "この日誌の衝突の写しが %1 個あります (最新: %2)。［ファイル］の［ほかの日誌と合わせる］で"
    "合わせられます。";

// File > merge another journal: %1 the other file.
inline constexpr char mergeNotWhole[] =
    "%1 は日誌の全体ではないか、読み取れない行があるため、合わせませんでした。";
inline constexpr char mergeReadFailed[] = "%1 を読み取れませんでした。%2";
inline constexpr char mergeDone[] = "%1 から %2 日分を取り込みました。";
inline constexpr char mergeConflicts[] =
    "%1 から %2 日分を取り込みました。次の日は値が異なるため、この日誌の値のままにしました。\n%3";

// Another program's version of the journal met on disk; %1 is the journal.
inline constexpr char diskVersionMerged[] = "ほかのプログラムが %1 に加えた変更を取り込みました。";
inline constexpr char diskVersionConflicts[] =
    "ほかのプログラムが %1 に加えた変更のうち、この画面でも変更していた箇所は"
    "この画面の値を採り、ほかのプログラムの版を %2 として残しました。\n%3";
inline constexpr char diskVersionLacksDays[] =
    "ほかのプログラムの %1 の版には、読み込んでいた版にあった %2 日がありません。"
    "読み込んでいた版を %3 として残してから、その版を取り込みました。";
inline constexpr char diskVersionNotTaken[] =
    "%1 がほかのプログラムによって日誌として不完全な内容 (空、見出しの行がない、"
    "途中で切れている、または読み取れない行がある) に変えられました。その内容は読み込まず、"
    "この画面の記録をそのまま保ちます。次に保存するとき、その内容を衝突の写しとして残します。";
inline constexpr char diskVersionCopyFailed[] =
    "ほかのプログラムが変更した %1 を取り込めませんでした。"
    "今の版を写しとして残せなかったためです。%2";
inline constexpr char recoveryWriteFailed[] = "変更を %1 に控えられませんでした。%2";

// A journal written at a termination signal while it had no name.
inline constexpr char untitledSaved[] = "前回の終了時に、無題の日誌を %1 に保存しました。";

} // namespace apptext
