// What screen readers learn of the main window, read in-process. Qt 6.4 drops
// accessibility events, update handler included, while no screen reader is
// attached, so what the events announce is checked as state instead.

#include "apptestsupport.h"
#include "docsetup.h"

#include "advisor/cmessageview.h"
#include "app/cmainframe.h"
#include "dialogs/ccolorbutton.h"
#include "dialogs/cgraphsettingsdlg.h"
#include "dialogs/cuserinfodlg.h"
#include "entry/cinputview.h"
#include "graph/cgraphview.h"
#include "graph/graphdescription.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "list/listline.h"
#include "pane/journalcontext.h"
#include "qttext/uitext.h"

#include <QAccessible>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class AccessibilityTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro",
                         "2026/08/01\t57.5\t20\t0\t0\t0\t0\t\r\n"
                         "2026/08/03\t57.1\t0\t3\t1200\t0\t0\t\r\n");
        ASSERT_TRUE(startApp());
        frame = app->mainFrame();
        frame->show();
        QCoreApplication::processEvents();
    }

    void selectDay(Date day)
    {
        app->context().setSelectedDate(day);
        app->context().updateAllViews();
    }

    CMainFrame *frame = nullptr;
};

TEST_F(AccessibilityTest, listHasALineItemPerDayAndMarksTheSelectedOne)
{
    selectDay(makeDate(2026, 8, 1));
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(frame->listView());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 2);
    const auto &days = app->document().dayList();
    // Newest first, each the line as drawn; the selected one says so.
    EXPECT_EQ(list->child(0)->text(QAccessible::Name),
              fromJournalText(listLine(days.rbegin()->second)));
    EXPECT_EQ(list->child(1)->text(QAccessible::Name),
              fromJournalText(listLine(days.begin()->second)));
    EXPECT_EQ(list->child(0)->role(), QAccessible::ListItem);
    EXPECT_FALSE(list->child(0)->state().selected);
    EXPECT_TRUE(list->child(1)->state().selected);
    EXPECT_EQ(list->indexOfChild(list->child(1)), 1);

    selectDay(makeDate(2026, 8, 3));
    EXPECT_TRUE(list->child(0)->state().selected);
    EXPECT_FALSE(list->child(1)->state().selected);
}

TEST_F(AccessibilityTest, graphIsANamedChartDescribingWhatItShows)
{
    CGraphView *graph = frame->graphView();
    graph->grab();
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(graph);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->text(QAccessible::Name), QStringLiteral("グラフ"));
    EXPECT_EQ(chart->text(QAccessible::Description),
              QString::fromStdString(graphDescription(app->document(), *graph, std::nullopt)));
    EXPECT_FALSE(chart->text(QAccessible::Description).isEmpty());
}

TEST_F(AccessibilityTest, advisorIsNamedAndItsMessageIsTheTextBoxsDescription)
{
    CMessageView *advisor = frame->messageView();
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(advisor)->text(QAccessible::Name).isEmpty());
    auto *text = advisor->findChild<QPlainTextEdit *>();
    selectDay(makeDate(2026, 8, 1));
    const QString first = text->accessibleDescription();
    selectDay(makeDate(2026, 8, 3));
    EXPECT_EQ(text->accessibleDescription(), text->toPlainText());
    EXPECT_NE(text->accessibleDescription(), first);
}

TEST_F(AccessibilityTest, formControlsAreNamedAndNoHiddenCalendarSpeaks)
{
    CInputView *form = frame->inputView();
    const auto named = [form](const char *objectName) {
        QWidget *control = form->findChild<QWidget *>(QString::fromLatin1(objectName));
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    EXPECT_EQ(named("datePicker"), QStringLiteral("日付"));
    EXPECT_EQ(named("previousDayButton"), QStringLiteral("前の日"));
    EXPECT_EQ(named("nextDayButton"), QStringLiteral("次の日"));
    auto *weight = form->findChild<QLineEdit *>(QStringLiteral("weightEdit"));
    EXPECT_FALSE(named("weightEdit").isEmpty()); // from its label
    EXPECT_EQ(QAccessible::queryAccessibleInterface(weight)->text(QAccessible::Description),
              QStringLiteral("Kg"));

    // The calendar exists only once it drops down, so a day change moves
    // no hidden calendar cell.
    form->findChild<QPushButton *>(QStringLiteral("nextDayButton"))->click();
    EXPECT_EQ(form->findChild<QCalendarWidget *>(), nullptr);
}

TEST(DialogAccessibility, controlsNoLabelNamesSayWhatTheySet)
{
    CGraphSettingsDlg graph;
    const auto name = [](QWidget *control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    EXPECT_EQ(name(graph.findChild<QRadioButton *>(QStringLiteral("mainAxisRadio0"))),
              QStringLiteral("体重を Y主軸にする"));
    EXPECT_EQ(name(graph.colourButton(0)), QStringLiteral("体重の表示色"));
    EXPECT_EQ(name(graph.findChild<QComboBox *>(QStringLiteral("styleCombo0"))),
              QStringLiteral("体重の線の種類"));
    EXPECT_EQ(name(graph.findChild<QComboBox *>(QStringLiteral("styleCombo4"))),
              QStringLiteral("Jog 距離の棒の種類"));
    graph.colourButton(0)->setColour(0x0000ff); // red, as the journal holds it
    EXPECT_EQ(QAccessible::queryAccessibleInterface(graph.colourButton(0))
                  ->text(QAccessible::Description),
              QStringLiteral("#ff0000"));

    CUserInfoDlg user;
    EXPECT_EQ(name(user.findChild<QComboBox *>(QStringLiteral("monthCombo"))),
              QStringLiteral("誕生月"));
    EXPECT_EQ(name(user.findChild<QComboBox *>(QStringLiteral("dayCombo"))),
              QStringLiteral("誕生日"));
}

} // namespace

ZPH_APP_TEST_MAIN
