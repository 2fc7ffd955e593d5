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

} // namespace apptext
