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
#include "pane/journaleditor.h"
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

// Counts the events of one type a widget receives itself.
class EventCounter : public QObject {
  public:
    EventCounter(QObject *watched, QEvent::Type type, int &count)
        : watched_(watched), type_(type), count_(count)
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == watched_ && event->type() == type_)
            ++count_;
        return false;
    }

  private:
    QObject *watched_;
    QEvent::Type type_;
    int &count_;
};

class AccessibilityTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startOnJournal("2026/08/01\t57.5\t20\t0\t0\t0\t0\t\r\n"
                                               "2026/08/03\t57.1\t0\t3\t1200\t0\t0\t\r\n"));
        frame->show();
        QCoreApplication::processEvents();
    }

    void selectDay(Date day)
    {
        app->context().setSelectedDate(day);
        app->context().updateAllViews();
    }
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

// A screen reader speaks a changed description only of the focused object, so
// a message an edit changed goes out as a notification: its description is
// the message, taken once the edit (and the move to the next day) settled.
TEST_F(AccessibilityTest, advisorAnnouncesAMessageAnEditChangedButNotOneADayMoveChanged)
{
    CMessageView *advisor = frame->messageView();
    QAccessibleInterface *pane = QAccessible::queryAccessibleInterface(advisor);
    QAccessibleInterface *notice = nullptr;
    for (int i = 0; i < pane->childCount(); ++i) {
        if (pane->child(i)->role() == QAccessible::Notification)
            notice = pane->child(i);
    }
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(QAccessible::Name), pane->text(QAccessible::Name));
    const auto shown = [advisor] {
        return advisor->message().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };

    selectDay(makeDate(2026, 8, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(notice->text(QAccessible::Description), QString());
    // What F6 to the advisor reads.
    EXPECT_EQ(pane->text(QAccessible::Description), shown());

    DayRecord day;
    day.date = makeDate(2026, 8, 3);
    day.weight = 61.5;
    registerThroughEditor(*app, day);
    selectDay(makeDate(2026, 8, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(notice->text(QAccessible::Description), shown());

    const QString announced = shown();
    selectDay(makeDate(2026, 8, 3));
    QCoreApplication::processEvents();
    ASSERT_NE(shown(), announced);
    EXPECT_EQ(notice->text(QAccessible::Description), announced);
}

// The form passes the focus on to its last field; were the pane to take it
// first, Qt would tell screen readers of the nameless pane after the field.
TEST_F(AccessibilityTest, f6IntoTheFormHandsTheFocusStraightToTheField)
{
    QApplication::setActiveWindow(frame);
    CInputView *form = frame->inputView();
    auto *fat = form->findChild<QLineEdit *>(QStringLiteral("fatPercentEdit"));
    fat->setFocus();
    frame->activatePane(frame->listView());
    int paneFocusIns = 0;
    EventCounter counter(form, QEvent::FocusIn, paneFocusIns);
    frame->activatePane(form);
    EXPECT_EQ(QApplication::focusWidget(), fat);
    EXPECT_EQ(paneFocusIns, 0);

    // A control that went grey is not handed the focus.
    auto *store = form->findChild<QPushButton *>(QStringLiteral("registerButton"));
    store->setFocus();
    frame->activatePane(frame->listView());
    app->context().editor().setReadOnly(true);
    ASSERT_FALSE(store->isEnabled());
    frame->activatePane(form);
    EXPECT_EQ(QApplication::focusWidget(),
              form->findChild<QLineEdit *>(QStringLiteral("weightEdit")));
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

// Qt's own view of a field never returned when asked for the word at the end
// of its text (Orca asks on Ctrl+Left and Ctrl+Right), and it split the
// field's attributes into empty runs that Orca read as "56." for "56.8".
TEST_F(AccessibilityTest, fieldsAnswerForEveryOffsetAndHaveOneAttributeRun)
{
    auto *weight = frame->inputView()->findChild<QLineEdit *>(QStringLiteral("weightEdit"));
    weight->setText(QStringLiteral("56.8"));
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(weight);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->role(), QAccessible::EditableText);
    EXPECT_FALSE(field->text(QAccessible::Name).isEmpty()); // from its label
    EXPECT_EQ(field->text(QAccessible::Value), QStringLiteral("56.8"));
    QAccessibleTextInterface *text = field->textInterface();
    ASSERT_NE(text, nullptr);
    ASSERT_NE(field->editableTextInterface(), nullptr);

    using Boundary = QAccessible::TextBoundaryType;
    enum Ask { At, Before, After };
    const struct {
        Ask ask;
        int offset;
        Boundary boundary;
        const char *item;
        int start;
        int end;
    } cases[] = {
        {At, 0, QAccessible::WordBoundary, "56.8", 0, 4},
        {At, 3, QAccessible::WordBoundary, "56.8", 0, 4},
        {At, 4, QAccessible::WordBoundary, "", 4, 4},
        {At, -1, QAccessible::SentenceBoundary, "", 4, 4},
        {Before, 4, QAccessible::WordBoundary, "56.8", 0, 4},
        {Before, 2, QAccessible::WordBoundary, "", 0, 0},
        {After, 1, QAccessible::WordBoundary, "", 4, 4},
        {At, 2, QAccessible::CharBoundary, ".", 2, 3},
        {At, 4, QAccessible::CharBoundary, "", 4, 4},
        {Before, 4, QAccessible::CharBoundary, "8", 3, 4},
        {After, 2, QAccessible::CharBoundary, "8", 3, 4},
        {At, 4, QAccessible::LineBoundary, "56.8", 0, 4},
        {At, 5, QAccessible::WordBoundary, "", -1, -1},
    };
    for (const auto &c : cases) {
        int start = -9;
        int end = -9;
        const QString item = c.ask == At ? text->textAtOffset(c.offset, c.boundary, &start, &end)
                             : c.ask == Before
                                 ? text->textBeforeOffset(c.offset, c.boundary, &start, &end)
                                 : text->textAfterOffset(c.offset, c.boundary, &start, &end);
        EXPECT_EQ(item, QString::fromUtf8(c.item)) << c.ask << " " << c.offset;
        EXPECT_EQ(start, c.start) << c.ask << " " << c.offset;
        EXPECT_EQ(end, c.end) << c.ask << " " << c.offset;
    }

    int start = -9;
    int end = -9;
    text->attributes(2, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 4);

    // Typing through a screen reader edits the field as typing does.
    field->editableTextInterface()->replaceText(0, 2, QStringLiteral("57"));
    EXPECT_EQ(weight->text(), QStringLiteral("57.8"));
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
