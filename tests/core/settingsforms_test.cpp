// What the objective and graph settings dialogs show and store.

#include "dialogs/settingsforms.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

UserInfo user(double height, bool male)
{
    UserInfo info;
    info.height = height;
    info.sex = male;
    return info;
}

} // namespace

TEST(ObjectiveNote, standardWeightsWhenHeightIsSetThenTheLineForTheSex)
{
    const struct {
        UserInfo user;
        const char *note;
    } cases[] = {
        {user(170, true), "BMI法による標準体重は 63.58kg だよ。\r\n"
                          "Broca変法による標準体重は 63.00kg だよ。\r\n"
                          "男性の適正体脂肪率は 14%～23% だよ。\r\n"},
        {user(150, false), "BMI法による標準体重は 49.50kg だよ。\r\n"
                           "Broca変法による標準体重は 45.00kg だよ。\r\n"
                           "女性の適正体脂肪率は 17%～27% だよ。\r\n"},
        // Width 5: a short number is padded with a blank.
        {user(100, true), "BMI法による標準体重は 22.00kg だよ。\r\n"
                          "Broca変法による標準体重は  0.00kg だよ。\r\n"
                          "男性の適正体脂肪率は 14%～23% だよ。\r\n"},
        {user(0, true), "男性の適正体脂肪率は 14%～23% だよ。\r\n"},
        {user(0, false), "女性の適正体脂肪率は 17%～27% だよ。\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(objectiveNote(c.user), c.note) << c.user.height;
}

TEST(ObjectiveNote, decimalPointDoesNotFollowTheLocale)
{
    // The application takes the C locale from the environment.
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    const std::string note = objectiveNote(user(170, true));
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_NE(note.find("63.58kg"), std::string::npos) << note;
}

TEST(TargetField, readsAsItsLeadingNumberAndNeverRefuses)
{
    const struct {
        const char *text;
        double value;
    } cases[] = {
        {"65kg", 65},
        {" 65", 65},
        {"\t21.5 %", 21.5},
        {"kg", 0},
        {"", 0},
        {"-3", -3},
        {"1e400", 1.7976931348623157e308},
        {"\xef\xbc\x96\xef\xbc\x95", 0}, // full-width digits are no number
    };
    for (const auto &c : cases)
        EXPECT_EQ(targetFieldValue(c.text), c.value) << c.text;
}

TEST(GraphSettingsForm, rowsFollowTheMainAxisOrderAndKeepWhatTheDialogDoesNotShow)
{
    GraphSettings settings;
    settings.graphFat = true;
    settings.graphJogDuration = false;
    settings.notFatLineType = 5;
    settings.walkDistType = 2;
    settings.weightLineType = 9; // from a hand-edited file: kept as it is
    settings.yAxisMain = 6;
    settings.colorFat = 0x123456;
    settings.colorWalkDuration = 0x654321;
    settings.colorBackGround = 0xabcdef;

    const GraphSettingsForm form = graphSettingsForm(settings);
    EXPECT_TRUE(form.shown[2]);
    EXPECT_FALSE(form.shown[5]);
    EXPECT_EQ(form.styles[3], 5);
    EXPECT_EQ(form.styles[6], 2);
    EXPECT_EQ(form.styles[0], 9);
    EXPECT_EQ(form.mainAxis, 6);
    EXPECT_EQ(form.colours[2], 0x123456u);
    EXPECT_EQ(form.colours[7], 0x654321u);
    EXPECT_EQ(form.colours[10], 0xabcdefu);

    // Back onto settings that differ in everything the dialog shows: the
    // same settings come out, period and paper orientation untouched.
    GraphSettings other;
    other.graphNDays = -3;
    other.paperOri = 1;
    applyGraphSettingsForm(form, other);
    GraphSettings expected = settings;
    expected.graphNDays = -3;
    expected.paperOri = 1;
    EXPECT_EQ(other, expected);
}

TEST(SwatchFocusRing, isTheComplementaryColour)
{
    const struct {
        Colour colour;
        Colour ring;
    } cases[] = {
        {0xffffff, 0x000000}, {0x000000, 0xffffff},   {0x0000ff, 0xffff00},
        {0x00e600, 0xff19ff}, {0xff808080, 0x7f7f7f}, // the unused high byte is dropped
    };
    for (const auto &c : cases)
        EXPECT_EQ(complementaryColour(c.colour), c.ring) << std::hex << c.colour;
}
