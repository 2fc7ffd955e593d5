#pragma once

// The texts the user must see, character for character.

#include <cstddef>
#include <string>
#include <vector>

namespace expected {

inline const std::vector<std::string> menuTitles = {"ﾌｧｲﾙ(&F)", "編集(&E)", "設定(&S)", "表示(&V)",
                                                    "ﾍﾙﾌﾟ(&H)"};
inline const std::vector<std::string> fileMenu = {"名前を付けて保存(&A)...",
                                                  "",
                                                  "記録を取り込む(&I)...",
                                                  "ほかの日誌と合わせる(&M)...",
                                                  "",
                                                  "印刷(&P)...\tCtrl+P",
                                                  "印刷ﾌﾟﾚﾋﾞｭｰ(&V)",
                                                  "ﾌﾟﾘﾝﾀの設定(&R)...",
                                                  "",
                                                  "最近使ったﾌｧｲﾙ",
                                                  "",
                                                  "Zephalonte を終了(&X)\tCtrl+Q"};
// Where the recent files begin in the file menu.
inline constexpr std::size_t firstRecentFileItem = 9;
inline const std::vector<std::string> editMenu = {
    "元に戻す(&U)\tCtrl+Z", "やり直し(&R)\tCtrl+Y", "",
    "切り取り(&T)\tCtrl+X", "ｺﾋﾟｰ(&C)\tCtrl+C",     "貼り付け(&P)\tCtrl+V"};
inline const std::vector<std::string> settingsMenu = {"ﾕｰｻﾞ情報(&U)...", "目的・目標(&O)...",
                                                      "ｸﾞﾗﾌ(&G)..."};
inline const std::vector<std::string> viewMenu = {
    "ｸﾞﾗﾌ表示日数(&G)", "トレンド線(&R)",         "目標線(&L)", "月別集計(&M)...", "",
    "次のﾍﾟｲﾝ(&N)\tF6", "前のﾍﾟｲﾝ(&P)\tShift+F6", "",           "ﾂｰﾙ ﾊﾞｰ(&T)",     "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"};
inline const std::vector<std::string> helpMenu = {"Zephalonte ﾍﾙﾌﾟ(&H)\tF1", "",
                                                  "ﾊﾞｰｼﾞｮﾝ情報(&A)..."};
inline const std::string firstWeekItem = "&1週間分";
inline const std::string tenthWeekItem = "1&0週間分";
inline const std::vector<std::string> monthItems = {"1ヶ月分(&M)", "3ヶ月分(&Q)", "半年分(&H)",
                                                    "1年分(&Y)"};
inline const std::string userInfoPrompt = "ユーザ情報を設定してください。";
inline const std::string exitQuestion = "Zephalonte を終了します。\r\nよろしいですか？";
inline const std::string saveChangesQuestion = "%1 への変更を保存しますか?";
inline const std::string idlePrompt = "データを入力し、【登録】を押してください。";
inline const std::string aboutTitle = "ﾊﾞｰｼﾞｮﾝ情報";
inline const std::string fileFilter = "すべてのﾌｧｲﾙ (*.*)";
inline const std::vector<std::string> indicators = {"ｶﾅ", "CAP", "NUM", "SCRL"};

} // namespace expected
