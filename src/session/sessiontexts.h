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
// The lock's holder as its lock file names it: %1 the process number, %2 the
// lock file, %3 the other computer.
inline constexpr char inUseByProcess[] =
    "ほかに起動している Zephalonte (プロセス番号 %1) が使用中です。"
    "同じ日誌を二か所で開くと、一方の入力が失われます。ロックファイルは %2 です。";
inline constexpr char inUseOnOtherHost[] =
    "コンピュータ %3 で起動している Zephalonte (プロセス番号 %1) が使用中です。"
    "同じ日誌を二か所で開くと、一方の入力が失われます。"
    "そのコンピュータで Zephalonte が動いていないときは、ロックファイル %2 を削除してください。";
// The lock file does not name its holder yet: another copy is creating it
// now, or one was killed a moment ago (its file is taken over after a few
// seconds). %1 the lock file.
inline constexpr char inUseBeingLocked[] =
    "ほかの Zephalonte がこの日誌を開こうとしています (ロックファイル %1 "
    "にまだ使用中のプロセスが書かれていません)。数秒待ってから、やり直してください。";
inline constexpr char otherFailure[] = "予期しないエラーが発生しました (%1)。";
// A name whose bytes are not UTF-8 text (%1 shows them as \xNN).
inline constexpr char pathNotText[] = "%1 は、名前に文字として読めないバイトがあるため開けません。"
                                      "名前を UTF-8 の文字だけにしてから、やり直してください。";
inline constexpr char workingFolderNotText[] =
    "作業フォルダ %1 は、名前に文字として読めないバイトがあるため、その中の日誌を開けません。"
    "名前が UTF-8 の文字だけのフォルダで実行するか、日誌をその外のパスで指定してください。";

// Reports; %1 is the journal's path.
inline constexpr char cannotOpen[] = "%1 を開けませんでした。\n%2";
inline constexpr char cannotStore[] = "%1 に保存できませんでした。\n%2";
inline constexpr char backupNotKept[] = "以前の内容を %1 として残せませんでした。%2";
inline constexpr char skippedLines[] =
    "%1 の次の行は読み取れなかったため、読み込んでいません。\n%2 行目";
inline constexpr char alteredLines[] =
    "%1 の次の行には、保存すると失われる文字や桁があります "
    "(数値の欄にある数値でない文字、保存される 6 桁を超える桁など)。"
    "数値として読める部分だけを読み込みました。\n%2 行目";
inline constexpr char moreSkippedLines[] = " ほか %1 行";
inline constexpr char damagedCopyKept[] = "\n\n読み込む前のファイルを %1 として残しました。";
inline constexpr char damagedCopyAlreadyKept[] =
    "\n\n読み込む前のファイルと同じ内容のコピーが %1 にあります。";
// A command that only reads makes no copy.
inline constexpr char damagedCopyLeftToWindow[] =
    "\n\nこのコマンドはコピーを作りません。Zephalonte のウィンドウでこの日誌を開くと "
    "(または zeph add などの保存するコマンドを使うと)、読み込む前のファイルのコピーが残されます。";
inline constexpr char damagedCopyFailed[] =
    "\n\n読み込む前のファイルのコピーを作れませんでした。%1\n"
    "保存すると、これらの行は失われます。";

// Another program changed the journal since it was loaded or stored; %1 is
// the journal, %2 the copy of the other program's version.
inline constexpr char conflictCopyKept[] =
    "%1 はほかのプログラムで変更されていたため、その版を %2 として残してから保存しました。";
inline constexpr char conflictCopyFailed[] =
    "%1 はほかのプログラムで変更されています。その版を残せなかったため、保存していません。\n%2";

// An empty journal, or one without its header line; %1 is the journal.
inline constexpr char journalHeaderMissing[] =
    "%1 は空か、1 行目が日誌の見出しの行ではありません。書き込むと日誌とその .bak "
    "が失われるおそれがあるため、何もしません。日誌の .bak や写しを確かめてください。";

// The command-line companion does not store over days the window has not
// stored yet; %1 is the recovery file.
inline constexpr char recoveryPending[] =
    "%1 に、Zephalonte のウィンドウで保存されなかった変更が残っています。"
    "zeph recover で日誌に当てはめるか (zeph recover --set-aside で別の名前に残すか)、"
    "Zephalonte を起動して復元するかどうかを選んでから、もう一度実行してください。";
// The same when the recovery file is a folder or cannot be read: nothing
// can replay it, so the user has to look at it; %2 is the reason.
inline constexpr char recoveryPendingUnreadable[] =
    "%1 を読み取れません。%2Zephalonte のウィンドウで保存されなかった変更かもしれないため、"
    "日誌には書き込みません。%1 を確かめて、読み取れるようにするか別の場所へ移してから、"
    "もう一度実行してください。";

// The journal's folder was gone at a store (deleted while the journal was
// open): %1 the journal as it was, %2 the rescue file it went to.
inline constexpr char rescueStored[] =
    "%1 のフォルダが見つからないため、日誌を %2 に保存しました。"
    "これからの保存もこのファイルに行います。"
    "日誌を好きな場所に置くには、［名前を付けて保存］してください。";
// At the next start: %1 the rescue files, one a line.
inline constexpr char rescueFilesWaiting[] =
    "前回、日誌のフォルダが見つからなかったため、日誌を次のファイルに保存しました。\n%1\n"
    "このファイルを開いて、［名前を付けて保存］で好きな場所に置いてください。";
// The recovery file's place holds a folder or a file that cannot be read: %1
// that path, %2 the reason, %3 where the edits are logged meanwhile.
inline constexpr char recoveryUnreadableLoggedElsewhere[] =
    "保存されずに終了した変更のファイル %1 を読み取れませんでした。%2\n"
    "ファイルはそのまま残してあります。これからの変更は %3 に記録します。"
    "%1 を確かめて、読み取れるようにするか別の場所へ移してから、日誌を開き直してください。";

// The days a recovery file or a merge touches, when there are several: %1 is
// the first date, %2 how many more.
inline constexpr char daysAndMore[] = "%1 ほか %2 日";
// The parts of a journal besides its days, as a conflict list names them.
inline constexpr char sectionProfile[] = "プロフィール";
inline constexpr char sectionObjective[] = "目標";
inline constexpr char sectionGraphSettings[] = "グラフの設定";
inline constexpr char listSeparator[] = "、";

} // namespace sessiontext
