// The entry form driven as the user drives it: typing, the buttons, the keys,
// and the updates it exchanges with the other panes.

#include "docsetup.h"
#include "panetestsupport.h"

#include "entry/cinputview.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString walkMessage = QStringLiteral("Walk 時間指定が不正です。\r\n書式：<時間>:<分>'<秒>\"");

const Date today = todayDate();
const Date yesterday = today - std::chrono::days{1};

class InputViewTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        QObject::connect(&context, &JournalContext::documentUpdated,
                         [this](QObject *sender) { senders.push_back(sender); });
        view = std::make_unique<CInputView>(context);
        // Stands in for the journal list: keeps the commands the form passes on.
        QObject::connect(view.get(), &CInputView::listCommandRequested,
                         [this](PaneCommand command) { listCommands.push_back(command); });
        view->show();
        QApplication::setActiveWindow(view.get());
    }

    QLineEdit *edit(const char *name) const { return view->findChild<QLineEdit *>(name); }
    QPlainTextEdit *memo() const { return view->findChild<QPlainTextEdit *>("memoEdit"); }
    QDateEdit *picker() const { return view->findChild<QDateEdit *>("datePicker"); }
    void click(const char *button) const
    {
        QTest::mouseClick(view->findChild<QPushButton *>(button), Qt::LeftButton);
    }
    const DayRecord *entry(Date date) const { return doc.findDay(date); }

    // What the seven fields show, in the template's order.
    QStringList shown() const
    {
        QStringList texts;
        for (const char *name : {"weightEdit", "fatPercentEdit", "jogDistanceEdit",
                                 "jogDurationEdit", "walkDistanceEdit", "walkDurationEdit"})
            texts << edit(name)->text();
        return texts << memo()->toPlainText();
    }

    void typeInto(QWidget *field, const QString &text)
    {
        field->setFocus();
        // QTest::keyClicks refuses non-ASCII text; an input method sends it whole.
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text, Qt::NoModifier);
    }

    // Another pane selects a day and has the views updated.
    void selectFromElsewhere(Date date)
    {
        context.setSelectedDate(date);
        context.updateAllViews(&otherPane);
    }

    ModalAnswerer answerer;
    CQuilloxDoc doc{today};
    JournalContext context{doc, today};
    QObject otherPane;
    std::unique_ptr<CInputView> view;
    std::vector<QObject *> senders;
    std::vector<PaneCommand> listCommands;
};

TEST_F(InputViewTest, opensOnTheSelectedDayAndFollowsOtherPanesDroppingWhatWasTyped)
{
    EXPECT_EQ(view->shownDate(), today);
    putDay(doc, yesterday, "a\\nb", 64.2, 0, 0, 0, 3.5, 2700);

    typeInto(edit("weightEdit"), QStringLiteral("70"));
    selectFromElsewhere(yesterday);
    EXPECT_EQ(view->shownDate(), yesterday);
    EXPECT_EQ(shown(), (QStringList{"64.2", "", "", "", "3.5", "45'00\"", "a\nb"}));
    // Showing the day it was told of, the form tells nobody again: one
    // update reaches every pane once.
    EXPECT_EQ(senders, std::vector<QObject *>{&otherPane});

    // Its own notification does not make it read the document again.
    typeInto(edit("weightEdit"), QStringLiteral("1"));
    context.updateAllViews(view.get());
    EXPECT_EQ(edit("weightEdit")->text(), QStringLiteral("64.21"));

    // Picking a date drops what was typed; a day without entry is empty.
    // The user moved the form, so it tells the others, itself as sender.
    senders.clear();
    picker()->setDate(QDate::currentDate());
    EXPECT_EQ(context.selectedDate(), today);
    EXPECT_EQ(shown(), QStringList(7, QString()));
    EXPECT_EQ(doc.dayList().size(), 1u);
    EXPECT_EQ(senders, std::vector<QObject *>{view.get()});
}

TEST_F(InputViewTest, aDayBeforeTheYear100IsShownAndStoredButNeverClamped)
{
    // The journal holds such days; the picker cannot.
    const Date ancient = makeDate(50, 3, 1);
    selectFromElsewhere(ancient);
    EXPECT_EQ(context.selectedDate(), ancient);
    EXPECT_EQ(view->shownDate(), ancient);
    EXPECT_EQ(picker()->text(), QStringLiteral("0050年3月1日"));
    EXPECT_EQ(senders, std::vector<QObject *>{&otherPane});

    typeInto(edit("weightEdit"), QStringLiteral("61"));
    click("registerButton");
    ASSERT_NE(entry(ancient), nullptr);
    EXPECT_EQ(entry(ancient)->weight, 61);
    EXPECT_EQ(entry(makeDate(100, 1, 1)), nullptr);
    EXPECT_EQ(context.selectedDate(), ancient + std::chrono::days{1});
    EXPECT_EQ(picker()->text(), QStringLiteral("0050年3月2日"));

    // The picker's own first day is named as itself again.
    selectFromElsewhere(makeDate(100, 1, 1));
    EXPECT_EQ(picker()->text(), QStringLiteral("0100年1月1日"));
    EXPECT_EQ(view->shownDate(), makeDate(100, 1, 1));
}

TEST_F(InputViewTest, registeringTodayStaysAndShowsTheValuesNormalised)
{
    typeInto(edit("weightEdit"), QStringLiteral("65.50"));
    typeInto(edit("jogDurationEdit"), QStringLiteral("65"));
    click("registerButton");

    EXPECT_EQ(view->shownDate(), today);
    ASSERT_NE(entry(today), nullptr);
    EXPECT_EQ(entry(today)->jogDuration, 3900);
    EXPECT_EQ(edit("weightEdit")->text(), QStringLiteral("65.5"));
    EXPECT_EQ(edit("jogDurationEdit")->text(), QStringLiteral("1:05'00\""));
}

TEST_F(InputViewTest, anInvalidWalkTimeStopsEverythingAndKeepsTheTypedTexts)
{
    selectFromElsewhere(yesterday);
    typeInto(edit("jogDurationEdit"), QStringLiteral("30"));
    typeInto(edit("walkDurationEdit"), QStringLiteral("20 "));
    answerer.expectMessage(QMessageBox::Ok);
    click("nextDayButton");

    EXPECT_EQ(answerer.texts, QStringList{walkMessage});
    EXPECT_EQ(entry(yesterday), nullptr);
    EXPECT_EQ(view->shownDate(), yesterday);
    EXPECT_EQ(edit("jogDurationEdit")->text(), QStringLiteral("30"));
    EXPECT_EQ(edit("walkDurationEdit")->text(), QStringLiteral("20 "));
    EXPECT_EQ(view->focusWidget(), edit("walkDurationEdit"));
}

TEST_F(InputViewTest, deleteAsksFirstEvenForADayWithoutEntry)
{
    const QString question = QString::fromStdString(formatDate(today)) +
                             QStringLiteral(" のデータを削除します。\r\nよろしいですか？");
    putDay(doc, yesterday, "", 64, 0, 0, 0, 0, 0);
    answerer.expectMessage(QMessageBox::Yes);
    click("deleteButton");
    EXPECT_EQ(answerer.texts, QStringList{question});
    EXPECT_EQ(doc.dayList().size(), 1u);

    selectFromElsewhere(yesterday);
    answerer.expectMessage(QMessageBox::No);
    click("deleteButton");
    EXPECT_NE(entry(yesterday), nullptr);
    answerer.expectMessage(QMessageBox::Yes);
    click("deleteButton");
    EXPECT_EQ(entry(yesterday), nullptr);
    EXPECT_EQ(shown(), QStringList(7, QString()));
    EXPECT_TRUE(answerer.unexpected.isEmpty());
}

TEST_F(InputViewTest, journalKeysGoToTheListExceptTheArrowsInTheMemo)
{
    QTest::keyClick(edit("weightEdit"), Qt::Key_Down);
    QTest::keyClick(picker(), Qt::Key_Up);

    typeInto(memo(), QStringLiteral("one\ntwo"));
    memo()->moveCursor(QTextCursor::Start);
    QTest::keyClick(memo(), Qt::Key_Down);
    EXPECT_EQ(memo()->textCursor().blockNumber(), 1);
    QTest::keyClick(memo(), Qt::Key_Home);
    QTest::keyClick(memo(), Qt::Key_PageDown);
    // The same commands when the main window routes them to the form.
    view->runCommand(PaneCommand::PreviousLine);
    EXPECT_EQ(memo()->textCursor().blockNumber(), 0);

    const std::vector<PaneCommand> expected{PaneCommand::NextLine, PaneCommand::PreviousLine,
                                            PaneCommand::FirstLine, PaneCommand::NextPage};
    EXPECT_EQ(listCommands, expected);
    EXPECT_EQ(picker()->date(), QDate::currentDate());
}

TEST_F(InputViewTest, enterRegistersFromAOneLineFieldAndStartsALineInTheMemo)
{
    typeInto(memo(), QStringLiteral("a"));
    QTest::keyClick(memo(), Qt::Key_Return);
    typeInto(memo(), QStringLiteral("b"));
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("a\nb"));
    EXPECT_TRUE(doc.dayList().empty());

    typeInto(edit("weightEdit"), QStringLiteral("64"));
    QTest::keyClick(edit("weightEdit"), Qt::Key_Return);
    ASSERT_NE(entry(today), nullptr);
    EXPECT_EQ(entry(today)->memo, "a\\nb");
}

TEST_F(InputViewTest, cutAndPasteActOnTheFocusedField)
{
    typeInto(edit("weightEdit"), QStringLiteral("65"));
    edit("weightEdit")->selectAll();
    view->runCommand(PaneCommand::Cut);
    EXPECT_EQ(edit("weightEdit")->text(), QString());
    edit("fatPercentEdit")->setFocus();
    view->runCommand(PaneCommand::Paste);
    EXPECT_EQ(edit("fatPercentEdit")->text(), QStringLiteral("65"));
}

TEST_F(InputViewTest, tabGoesRoundTheFormWithoutLeavingIt)
{
    auto *next = view->findChild<QPushButton *>("nextDayButton");
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), edit("weightEdit"));
    QTest::keyClick(edit("weightEdit"), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), next);
}

TEST_F(InputViewTest, calendarDropsDownWithItsRightEdgeUnderThePickers)
{
    view->move(300, 100);
    QDateEdit *date = picker();
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 4, date->height() / 2));
    QWidget *calendar = date->calendarWidget()->window();
    ASSERT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->geometry().right(), date->mapToGlobal(date->rect().bottomRight()).x());
    EXPECT_EQ(calendar->geometry().top(), date->mapToGlobal(date->rect().bottomRight()).y() + 1);
    calendar->close();
}

} // namespace

ZPH_APP_TEST_MAIN
