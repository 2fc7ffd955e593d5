#pragma once

// The texts of the application object: start-up, the command line and the
// file commands, UTF-8. The journal's own reports are in session/sessiontexts.h.

namespace apptext {

// Added to a report that ends the program at start-up.
inline constexpr char startupEnds[] = "\n\nZephalonte を終了します。";

// The command line: [--] [journal file].
inline constexpr char unknownOption[] = "不明なオプション %1 が指定されました。\n"
                                        "使い方: zephalonte [--] [日誌のファイル]";
inline constexpr char extraArgument[] = "日誌のファイルは一つだけ指定できます (%1)。\n"
                                        "使い方: zephalonte [--] [日誌のファイル]";

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
inline constexpr char recoveryUnreadable[] =
    "保存されずに終了した変更のファイル %1 を読み取れませんでした。%2\n"
    "ファイルはそのまま残してあります。ファイルを確かめてから、もう一度開いてください。";
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
inline constexpr char recoveryWriteFailed[] = "変更を %1 に控えられませんでした。%2";

// A journal written at a termination signal while it had no name.
inline constexpr char untitledSaved[] = "前回の終了時に、無題の日誌を %1 に保存しました。";

// Another program changed the journal while the window had it open.
inline constexpr char reloadedFromDisk[] =
    "%1 がほかのプログラムで変更されたため、読み込み直しました。";
inline constexpr char changedWithUnsaved[] = "%1 がほかのプログラムで変更されました。\n"
                                             "まだ保存していない変更があるため、次に保存するときに"
                                             "、ほかのプログラムの版を別の名前で残してから"
                                             "保存します。両方の版が残ります。";

} // namespace apptext
