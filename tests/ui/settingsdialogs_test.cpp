// The objective and graph settings dialogs driven as a user drives them,
// the colour swatch's pixels, and the two settings commands of the main window.

#include "apptestsupport.h"
#include "docsetup.h"

#include "advisor/cmessageview.h"
#include "app/cmainframe.h"
#include "dialogs/ccolorbutton.h"
#include "dialogs/cgraphsettingsdlg.h"
#include "dialogs/cobjectivedlg.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"
#include "qttext/uitext.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include <string>
#include <vector>

namespace {

const QString objectiveCaption = QStringLiteral("目的・目標設定");
const std::vector<std::string> purposeLabels = {"健康維持(&0)", "ﾚｰｽ・ﾌﾙﾏﾗｿﾝ(&3)", "ﾀﾞｲｴｯﾄ(&1)",
                                                "ﾄﾗｲｱｽﾛﾝ(&4)",  "ﾄﾚｰﾆﾝｸﾞ(&2)",     "その他(&5)"};
const QString note170Male =
    QStringLiteral("BMI法による標準体重は 63.58kg だよ。\nBroca変法による標準体重は 63.00kg "
                   "だよ。\n男性の適正体脂肪率は 14%～23% だよ。\n");
const QString graphCaption = QStringLiteral("ｸﾞﾗﾌ設定");
const std::vector<std::string> showLabels = {"体重(&W)",     "体脂肪率(&P)", "脂肪量(&F)",
                                             "除脂肪量(&N)", "&Jog 距離",    "J&og 時間",
                                             "&Walk 距離",   "W&alk 時間"};
const std::vector<std::string> elementLabels = {"現在日付：", "目盛り線：", "背景："};
const std::vector<std::string> lineStyles = {"細線", "中太線",   "太線",    "破線",
                                             "点線", "一点破線", "二点破線"};
const std::vector<std::string> barStyles = {"矩形", "外枠付き矩形", "ｸﾞﾗﾃﾞｰｼｮﾝ矩形"};

template <typename T> T *child(QWidget *dialog, const char *name)
{
    auto *found = dialog->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QAbstractButton *buttonLabelled(QWidget *dialog, const std::string &label)
{
    for (auto *button : dialog->findChildren<QAbstractButton *>())
        if (button->text() == qs(label))
            return button;
    ADD_FAILURE() << "no button " << label;
    return nullptr;
}

void typeInto(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    edit->del();
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text, Qt::NoModifier);
}

void clickOk(QWidget *dialog)
{
    child<QPushButton>(dialog, "okButton")->click();
}

void clickCancel(QWidget *dialog)
{
    child<QPushButton>(dialog, "cancelButton")->click();
}

// The chooser that a swatch opens: records the colour it was opened with and
// answers with `chosen`, or cancels when there is none.
ModalAnswerer::Handler chooseColour(QColor *openedWith, std::optional<QColor> chosen)
{
    return [openedWith, chosen](QWidget *modal) {
        auto *chooser = qobject_cast<QColorDialog *>(modal);
        ASSERT_NE(chooser, nullptr) << modal->metaObject()->className();
        *openedWith = chooser->currentColor();
        if (!chosen) {
            chooser->reject();
            return;
        }
        chooser->setCurrentColor(*chosen);
        chooser->accept();
    };
}

// A handler for a dialog that opens further modal windows: the answerer
// cannot answer those while one of its own handlers runs, so the body runs
// once the handler has returned.
ModalAnswerer::Handler afterwards(ModalAnswerer::Handler body)
{
    return [body](QWidget *modal) { QTimer::singleShot(0, modal, [body, modal] { body(modal); }); };
}

class SettingsDialogTest : public ::testing::Test {
  protected:
    CQuilloxDoc doc;
    ModalAnswerer answerer;

    void TearDown() override
    {
        EXPECT_TRUE(answerer.allAnswered());
        EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'|').toStdString();
    }
};

} // namespace

// ---- objective ----

TEST_F(SettingsDialogTest, objectiveOpensWithTargetsAndTheNoteForTheUser)
{
    userInfoOf(doc)->height = 170;
    objectiveOf(doc)->weight = 0;
    objectiveOf(doc)->fatPercent = 21.5;
    objectiveOf(doc)->jogDistanceMonth = 100;
    objectiveOf(doc)->intention = 2;
    objectiveOf(doc)->eventName = "\x93\x8c\x8b\x9e"; // 東京
    objectiveOf(doc)->eventDate = makeDate(2002, 11, 17);
    answerer.expect([](QWidget *dialog) {
        EXPECT_EQ(dialog->windowTitle(), objectiveCaption);
        EXPECT_EQ(child<QLineEdit>(dialog, "weightEdit")->text(), QString());
        EXPECT_EQ(child<QLineEdit>(dialog, "fatPercentEdit")->text(), QStringLiteral("21.5"));
        EXPECT_EQ(child<QLineEdit>(dialog, "jogDistanceMonthEdit")->text(), QStringLiteral("100"));
        EXPECT_EQ(child<QPlainTextEdit>(dialog, "noteEdit")->toPlainText(), note170Male);
        EXPECT_TRUE(child<QPlainTextEdit>(dialog, "noteEdit")->isReadOnly());
        EXPECT_TRUE(buttonLabelled(dialog, purposeLabels[2])->isChecked());
        EXPECT_EQ(child<QLineEdit>(dialog, "eventNameEdit")->text(), QStringLiteral("東京"));
        EXPECT_EQ(child<QDateEdit>(dialog, "eventDateEdit")->date(), QDate(2002, 11, 17));
        clickCancel(dialog);
    });
    const Objective before = doc.objective();
    EXPECT_TRUE(CObjectiveDlg::askForEdit(doc, nullptr).empty());
    EXPECT_EQ(doc.objective(), before);
}

TEST_F(SettingsDialogTest, eventCalendarDropsDownRightAligned)
{
    CObjectiveDlg dialog;
    dialog.move(300, 100);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto *date = child<QDateEdit>(&dialog, "eventDateEdit");
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 4, date->height() / 2));
    QWidget *calendar = date->calendarWidget()->window();
    ASSERT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->geometry().right(), date->mapToGlobal(date->rect().bottomRight()).x());
    calendar->close();
}

TEST_F(SettingsDialogTest, purposeIsTheButtonsPlaceNotItsLabelDigit)
{
    const struct {
        std::int32_t stored; // before: 7 is no button's, as in a hand-edited file
        int button;          // index into purposeLabels, -1 for none clicked
        std::int32_t after;
    } cases[] = {{-1, 3, 3}, {-1, 4, 4}, {-1, 1, 1}, {-1, -1, -1}, {7, -1, -1}, {2, 5, 5}};
    for (const auto &c : cases) {
        objectiveOf(doc)->intention = c.stored;
        answerer.expect([&c](QWidget *dialog) {
            for (std::size_t i = 0; i < purposeLabels.size(); ++i)
                EXPECT_EQ(buttonLabelled(dialog, purposeLabels[i])->isChecked(),
                          static_cast<std::int32_t>(i) == c.stored);
            if (c.button >= 0)
                buttonLabelled(dialog, purposeLabels[static_cast<std::size_t>(c.button)])->click();
            clickOk(dialog);
        });
        doc.applyEdit(CObjectiveDlg::askForEdit(doc, nullptr));
        EXPECT_EQ(doc.objective().intention, c.after) << c.stored << " " << c.button;
    }
}

TEST_F(SettingsDialogTest, typedTargetsAndEventAreStoredAndMarkTheJournalModified)
{
    objectiveOf(doc)->weight = 70;
    answerer.expect([](QWidget *dialog) {
        typeInto(child<QLineEdit>(dialog, "weightEdit"), QStringLiteral("65kg"));
        typeInto(child<QLineEdit>(dialog, "jogDistanceMonthEdit"), QStringLiteral("many"));
        typeInto(child<QLineEdit>(dialog, "eventNameEdit"), QStringLiteral("湘南〜マラソン"));
        child<QDateEdit>(dialog, "eventDateEdit")->setDate(QDate(2003, 3, 2));
        clickOk(dialog);
    });
    doc.applyEdit(CObjectiveDlg::askForEdit(doc, nullptr));
    EXPECT_EQ(doc.objective().weight, 65);
    EXPECT_EQ(doc.objective().jogDistanceMonth, 0);
    // The wave dash an input method types is stored as code page 932's own.
    EXPECT_EQ(doc.objective().eventName, toJournalText(QStringLiteral("湘南～マラソン")));
    EXPECT_EQ(doc.objective().eventDate, makeDate(2003, 3, 2));
}

TEST_F(SettingsDialogTest, okWithoutChangesMakesNoEdit)
{
    objectiveOf(doc)->weight = 62.5;
    objectiveOf(doc)->eventName = "Run";
    const Objective objective = doc.objective();
    answerer.expect([](QWidget *dialog) { clickOk(dialog); });
    EXPECT_TRUE(CObjectiveDlg::askForEdit(doc, nullptr).empty());
    EXPECT_EQ(doc.objective(), objective);

    const GraphSettings settings = doc.graphSettings();
    answerer.expect([](QWidget *dialog) { clickOk(dialog); });
    EXPECT_TRUE(CGraphSettingsDlg::askForEdit(doc, nullptr).empty());
    EXPECT_EQ(doc.graphSettings(), settings);
}

TEST_F(SettingsDialogTest, eventNameCodePage932CannotHoldIsRefusedAndKept)
{
    const QString typed = QStringLiteral("Caf\u00E9 run");
    answerer.expect(afterwards([this, typed](QWidget *dialog) {
        typeInto(child<QLineEdit>(dialog, "eventNameEdit"), typed);
        answerer.expectMessage(QMessageBox::Ok);
        clickOk(dialog);
        // Still open, the text as typed, ready to be mended.
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(child<QLineEdit>(dialog, "eventNameEdit")->text(), typed);
        typeInto(child<QLineEdit>(dialog, "eventNameEdit"), QStringLiteral("Cafe run"));
        clickOk(dialog);
    }));
    doc.applyEdit(CObjectiveDlg::askForEdit(doc, nullptr));
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts.front().contains(QStringLiteral("U+00E9")));
    EXPECT_EQ(doc.objective().eventName, "Cafe run");
}

// ---- graph settings ----

namespace {

// Settings unlike the defaults in every field the dialog shows.
GraphSettings unusualSettings()
{
    GraphSettings s;
    s.graphWeight = false;
    s.graphFat = true;
    s.graphWalkDuration = true;
    s.fatPcntLineType = 3;
    s.notFatLineType = 6;
    s.jogDurType = 2;
    s.walkDistType = 0;
    s.yAxisMain = 5;
    s.colorFat = 0x112233;
    s.colorWalkDistance = 0x445566;
    s.colorDivision = 0x778899;
    return s;
}

// The row of a check box: its label in the row order.
int rowOf(const QCheckBox *check)
{
    for (std::size_t row = 0; row < showLabels.size(); ++row)
        if (check->text() == qs(showLabels[row]))
            return static_cast<int>(row);
    return -1;
}

} // namespace

TEST_F(SettingsDialogTest, graphSettingsShowEachSeriesOnItsOwnRow)
{
    *graphSettingsOf(doc) = unusualSettings();
    answerer.expect([this](QWidget *modal) {
        auto *dialog = qobject_cast<CGraphSettingsDlg *>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), graphCaption);
        const GraphSettingsForm form = graphSettingsForm(doc.graphSettings());
        for (int row = 0; row < seriesRowCount; ++row) {
            SCOPED_TRACE(row);
            const std::string n = std::to_string(row);
            auto *check = child<QCheckBox>(dialog, ("showCheck" + n).c_str());
            auto *radio = child<QRadioButton>(dialog, ("mainAxisRadio" + n).c_str());
            auto *combo = child<QComboBox>(dialog, ("styleCombo" + n).c_str());
            EXPECT_EQ(rowOf(check), row);
            EXPECT_EQ(check->isChecked(), form.shown[static_cast<std::size_t>(row)]);
            EXPECT_EQ(radio->isChecked(), row == 5);
            EXPECT_EQ(combo->currentIndex(), form.styles[static_cast<std::size_t>(row)]);
            EXPECT_EQ(dialog->colourButton(row)->colour(),
                      form.colours[static_cast<std::size_t>(row)]);
            std::vector<std::string> items;
            for (int i = 0; i < combo->count(); ++i)
                items.push_back(combo->itemText(i).toStdString());
            EXPECT_EQ(items, row < firstBarRow ? lineStyles : barStyles);
        }
        for (int i = 0; i < 3; ++i) {
            const std::string n = std::to_string(seriesRowCount + i);
            EXPECT_EQ(child<QLabel>(dialog, ("colourLabel" + n).c_str())->text(),
                      qs(elementLabels[static_cast<std::size_t>(i)]));
            EXPECT_EQ(dialog->colourButton(seriesRowCount + i)->colour(),
                      form.colours[static_cast<std::size_t>(seriesRowCount + i)]);
        }
        clickCancel(dialog);
    });
    EXPECT_TRUE(CGraphSettingsDlg::askForEdit(doc, nullptr).empty());
}

TEST_F(SettingsDialogTest, graphSettingsTabOrderStartsAtOkAndFollowsTheColumns)
{
    CGraphSettingsDlg dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), child<QPushButton>(&dialog, "okButton"));

    QStringList expected{QStringLiteral("okButton"), QStringLiteral("cancelButton")};
    for (const char *prefix : {"showCheck", "mainAxisRadio", "colourButton"})
        for (int row = 0; row < seriesRowCount; ++row)
            expected << QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(row);
    for (int row = 0; row < firstBarRow; ++row)
        expected << QStringLiteral("styleCombo%1").arg(row);
    for (int i = seriesRowCount; i < graphColourCount; ++i)
        expected << QStringLiteral("colourButton%1").arg(i);
    for (int row = firstBarRow; row < seriesRowCount; ++row)
        expected << QStringLiteral("styleCombo%1").arg(row);

    QStringList chain;
    QWidget *w = child<QPushButton>(&dialog, "okButton");
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != child<QPushButton>(&dialog, "okButton") && chain.size() < 100);
    EXPECT_EQ(chain, expected);
}

TEST_F(SettingsDialogTest, cancelAfterChoosingColoursKeepsEverySetting)
{
    *graphSettingsOf(doc) = unusualSettings();
    const GraphSettings before = doc.graphSettings();
    QColor openedWith;
    answerer.expect(afterwards([this, &openedWith](QWidget *modal) {
        auto *dialog = qobject_cast<CGraphSettingsDlg *>(modal);
        answerer.expect(chooseColour(&openedWith, QColor(1, 2, 3)));
        dialog->colourButton(2)->click();
        // Shown at once, but only in the dialog.
        EXPECT_EQ(dialog->colourButton(2)->colour(), 0x030201u);
        answerer.expect(chooseColour(&openedWith, std::nullopt));
        dialog->colourButton(9)->click();
        EXPECT_EQ(dialog->colourButton(9)->colour(), doc.graphSettings().colorDivision);
        clickCancel(dialog);
    }));
    EXPECT_TRUE(CGraphSettingsDlg::askForEdit(doc, nullptr).empty());
    EXPECT_EQ(openedWith, QColor(0x99, 0x88, 0x77)); // colorDivision 0x778899
    EXPECT_EQ(doc.graphSettings(), before);
}

TEST_F(SettingsDialogTest, fatMassColourLastsUntilTheJournalIsLoadedAgain)
{
    QColor openedWith;
    answerer.expect(afterwards([this, &openedWith](QWidget *modal) {
        auto *dialog = qobject_cast<CGraphSettingsDlg *>(modal);
        answerer.expect(chooseColour(&openedWith, QColor(0x10, 0x20, 0x30)));
        dialog->colourButton(2)->click();
        answerer.expect(chooseColour(&openedWith, QColor(0x40, 0x50, 0x60)));
        dialog->colourButton(0)->click();
        clickOk(dialog);
    }));
    doc.applyEdit(CGraphSettingsDlg::askForEdit(doc, nullptr));
    EXPECT_EQ(doc.graphSettings().colorFat, 0x302010u);
    EXPECT_EQ(doc.graphSettings().colorWeight, 0x605040u);

    CQuilloxDoc reloaded;
    reloaded.loadJournalText(doc.journalText(), makeDate(2002, 6, 30));
    EXPECT_EQ(reloaded.graphSettings().colorFat, GraphSettings{}.colorFat);
    EXPECT_EQ(reloaded.graphSettings().colorWeight, 0x605040u);
}

TEST_F(SettingsDialogTest, valuesOutsideTheListsShowNothingAndStoreMinusOne)
{
    doc.loadJournalText("# quillox file ver 2\r\n[settings]\r\nweightLineType = 9\r\n"
                        "walkDurType = 3\r\nyAxisMain = 8\r\n",
                        makeDate(2002, 6, 30));
    ASSERT_EQ(doc.graphSettings().weightLineType, 9);
    answerer.expect([](QWidget *dialog) {
        EXPECT_EQ(child<QComboBox>(dialog, "styleCombo0")->currentText(), QString());
        EXPECT_EQ(child<QComboBox>(dialog, "styleCombo7")->currentIndex(), -1);
        for (auto *radio : dialog->findChildren<QRadioButton *>())
            EXPECT_FALSE(radio->isChecked()) << radio->objectName().toStdString();
        clickOk(dialog);
    });
    doc.applyEdit(CGraphSettingsDlg::askForEdit(doc, nullptr));
    EXPECT_EQ(doc.graphSettings().weightLineType, -1);
    EXPECT_EQ(doc.graphSettings().walkDurType, -1);
    EXPECT_EQ(doc.graphSettings().yAxisMain, -1);
}

TEST_F(SettingsDialogTest, hidingTheMainAxisSeriesIsAcceptedWithoutAWord)
{
    answerer.expect([](QWidget *dialog) {
        child<QRadioButton>(dialog, "mainAxisRadio4")->click();
        for (auto *check : dialog->findChildren<QCheckBox *>())
            check->setChecked(false);
        clickOk(dialog);
    });
    doc.applyEdit(CGraphSettingsDlg::askForEdit(doc, nullptr));
    EXPECT_EQ(doc.graphSettings().yAxisMain, 4);
    EXPECT_FALSE(doc.graphSettings().graphJogDistance);
    EXPECT_FALSE(doc.graphSettings().graphWeight);
}

// ---- the colour swatch ----

TEST(ColourSwatch, raisedFrameColourAndDottedFocusRingInTheComplementaryColour)
{
    const struct {
        Colour colour;
        QColor fill;
        QColor ring;
    } cases[] = {
        {0xffffff, Qt::white, Qt::black},
        {0x000000, Qt::black, Qt::white},
        {0x0000ff, QColor(255, 0, 0), QColor(0, 255, 255)},
    };
    QWidget window;
    auto *other = new QPushButton(&window);
    auto *button = new CColorButton(&window);
    button->setGeometry(10, 10, 44, 18);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QPalette &pal = button->palette();

    for (const auto &c : cases) {
        SCOPED_TRACE(c.colour);
        button->setColour(c.colour);
        other->setFocus();
        QImage image = button->grab().toImage();
        const int r = image.width();
        const int b = image.height();
        EXPECT_EQ(image.pixel(0, 1), pal.color(QPalette::Light).rgb());
        EXPECT_EQ(image.pixel(r - 2, 0), pal.color(QPalette::Light).rgb());
        EXPECT_EQ(image.pixel(r - 1, 0), pal.color(QPalette::Shadow).rgb());
        EXPECT_EQ(image.pixel(0, b - 1), pal.color(QPalette::Shadow).rgb());
        EXPECT_EQ(image.pixel(r - 2, b - 2), pal.color(QPalette::Dark).rgb());
        EXPECT_EQ(image.pixel(0, b - 2), pal.color(QPalette::Light).rgb());
        EXPECT_EQ(image.pixel(1, b - 2), pal.color(QPalette::Dark).rgb());
        EXPECT_EQ(image.pixel(r - 2, 1), pal.color(QPalette::Dark).rgb());
        EXPECT_EQ(image.pixel(2, 2), pal.color(QPalette::Button).rgb());
        EXPECT_EQ(image.pixel(3, 3), c.fill.rgb());
        EXPECT_EQ(image.pixel(r - 4, b - 4), c.fill.rgb());
        EXPECT_EQ(image.pixel(r - 3, b - 4), pal.color(QPalette::Button).rgb());

        button->setFocus();
        ASSERT_TRUE(button->hasFocus());
        image = button->grab().toImage();
        // Three on, three off along the swatch's outermost pixels.
        EXPECT_EQ(image.pixel(3, 3), c.ring.rgb());
        EXPECT_EQ(image.pixel(5, 3), c.ring.rgb());
        EXPECT_EQ(image.pixel(6, 3), c.fill.rgb());
        EXPECT_EQ(image.pixel(9, 3), c.ring.rgb());
        EXPECT_EQ(image.pixel(r / 2, b / 2), c.fill.rgb());
    }
}

// ---- the settings commands of the main window ----

namespace {

class SettingsCommandTest : public AppTest {};

} // namespace

TEST_F(SettingsCommandTest, okInEitherDialogUpdatesEveryViewAndCancelNone)
{
    const QByteArray todayLine =
        QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")).toLatin1() +
        "\t70\t0\t0\t0\t0\t0\t\r\n";
    writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro", todayLine);
    ASSERT_TRUE(startApp());
    int updates = 0;
    QObject counter; // ends the connection with the test
    // The command's own update, which no pane answers with another.
    QObject::connect(&app->context().editor(), &JournalEditor::edited, &counter,
                     [&updates] { ++updates; });
    CMainFrame *frame = app->mainFrame();
    for (FrameAction command : {FrameAction::Objective, FrameAction::GraphSettings}) {
        QAction *action = frame->action(command);
        ASSERT_TRUE(action->isEnabled());
        answerer.expect([](QWidget *dialog) { clickCancel(dialog); });
        action->trigger();
        EXPECT_EQ(updates, 0);
    }

    // The advisor speaks of the new targets at once.
    const QDate today = QDate::currentDate();
    answerer.expect([today](QWidget *dialog) {
        typeInto(child<QLineEdit>(dialog, "weightEdit"), QStringLiteral("65"));
        typeInto(child<QLineEdit>(dialog, "eventNameEdit"), QStringLiteral("大会"));
        child<QDateEdit>(dialog, "eventDateEdit")->setDate(today.addDays(10));
        clickOk(dialog);
    });
    frame->action(FrameAction::Objective)->trigger();
    EXPECT_EQ(updates, 1);
    const QString advice = frame->messageView()->message();
    EXPECT_TRUE(advice.contains(QStringLiteral("目標体重まで、あと  5.00kg")))
        << advice.toStdString();
    EXPECT_TRUE(advice.contains(QStringLiteral("「大会」まで、あと10日"))) << advice.toStdString();

    // OK without a change is no edit.
    answerer.expect([](QWidget *dialog) { clickOk(dialog); });
    frame->action(FrameAction::GraphSettings)->trigger();
    EXPECT_EQ(updates, 1);
    EXPECT_TRUE(answerer.allAnswered());
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'|').toStdString();
}

ZPH_APP_TEST_MAIN
