// A typical day's entry through the real main window, from a first start
// without a journal to the bytes of the journal file after closing.

#include "apptestsupport.h"

#include "advisor/cmessageview.h"
#include "app/cmainframe.h"
#include "dialogs/cuserinfodlg.h"
#include "entry/cinputview.h"
#include "graph/cgraphview.h"
#include "graph/graphgeometry.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "list/listline.h"
#include "pane/journalcontext.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdio>

namespace {

class TypicalDayTest : public AppTest {};

// 朝ラン, the wave dash as code page 932 holds it, then ソ and 表 (trail byte 0x5C).
const char storedMemo[] = "\x92\xa9\x83\x89\x83\x93\x81\x60\x83\x5c\x95\x5c";

TEST_F(TypicalDayTest, aDayTypedIntoTheFormReachesEveryPaneAndTheFile)
{
    // The first start: no journal, so the user is asked who they are.
    answerer.expectMessage(QMessageBox::Ok);
    answerer.expect([](QWidget *modal) {
        auto *dialog = qobject_cast<CUserInfoDlg *>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit *>("nameEdit")->setText(QStringLiteral("Hanako"));
        dialog->findChild<QRadioButton *>("femaleRadio")->click();
        dialog->findChild<QLineEdit *>("heightEdit")->setText(QStringLiteral("160"));
        dialog->findChild<QPushButton *>("okButton")->click();
    });
    ASSERT_TRUE(startApp());
    CMainFrame *frame = app->mainFrame();
    QApplication::setActiveWindow(frame);
    CInputView *form = frame->inputView();
    const auto field = [form](const char *name) { return form->findChild<QLineEdit *>(name); };

    // Yesterday picked in the date picker, its figures typed and registered.
    const QDate yesterday = QDate::currentDate().addDays(-1);
    form->findChild<QDateEdit *>("datePicker")->setDate(yesterday);
    QTest::keyClicks(field("weightEdit"), QStringLiteral("52.4"));
    QTest::keyClicks(field("fatPercentEdit"), QStringLiteral("24.5"));
    QTest::keyClicks(field("jogDistanceEdit"), QStringLiteral("5.2"));
    QTest::keyClicks(field("jogDurationEdit"), QStringLiteral("31'20"));
    auto *memo = form->findChild<QPlainTextEdit *>("memoEdit");
    memo->setFocus();
    QTest::sendKeyEvent(QTest::Click, memo, Qt::Key_unknown, QStringLiteral("朝ラン\u301Cソ表"),
                        Qt::NoModifier);
    QTest::mouseClick(form->findChild<QPushButton *>("registerButton"), Qt::LeftButton);

    // A past day registered: the form has moved on to today, which is empty.
    EXPECT_EQ(form->shownDate(), todayDate());
    EXPECT_EQ(field("weightEdit")->text(), QString());
    // Back to yesterday with "←": nothing typed, nothing stored.
    QTest::mouseClick(form->findChild<QPushButton *>("previousDayButton"), Qt::LeftButton);
    EXPECT_EQ(app->context().selectedDate(), todayDate() - std::chrono::days{1});
    EXPECT_EQ(field("jogDurationEdit")->text(), QStringLiteral("31'20\""));
    // The advisor speaks of that day: 52.4 kg at 160 cm, a female user.
    EXPECT_TRUE(frame->messageView()->message().contains(
        QStringLiteral("体重 52.40kg のBMI値は 20.47、適正体重だよ。\r\n")))
        << frame->messageView()->message().toStdString();

    // The list shows it on its top line, highlighted.
    CQuilloxView *list = frame->listView();
    EXPECT_EQ(list->selectedRow(), 0);
    EXPECT_EQ(list->grab().toImage().pixelColor(list->clientRect().left() + 1, 9),
              QColor(180, 250, 180));
    const DayRecord *entry = app->document().findDay(app->context().selectedDate());
    ASSERT_NE(entry, nullptr);
    char line[128];
    std::snprintf(line, sizeof line, "%04d/%02d/%02d %6.2f %5.1f %4.1f %9s %4.1f %9s %s",
                  yesterday.year(), yesterday.month(), yesterday.day(), 52.4, 24.5, 5.2, "31'20\"",
                  0.0, "", storedMemo);
    EXPECT_EQ(listLine(*entry), line);

    // The graph marks that day with its dotted line, and only that day.
    CGraphView *graph = frame->graphView();
    const QImage drawn = graph->grab().toImage();
    const auto marked = [&](Date day) {
        const int x = dayCentre(graph->plotRect, graph->dayWidth,
                                static_cast<int>((day - graph->periodStart).count()));
        for (int y = graph->plotRect.top; y < graph->plotRect.bottom; ++y) {
            if (drawn.pixelColor(x, y) == QColor(0, 255, 0))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(marked(app->context().selectedDate()));
    EXPECT_FALSE(marked(todayDate()));
    // Print preview from the form shows the graph's page.
    answerer.expectDialogAndReject();
    frame->action(FrameAction::PrintPreview)->trigger();
    EXPECT_EQ(answerer.classNames, QStringList{QStringLiteral("QPrintPreviewDialog")});
    EXPECT_FALSE(app->mainFrame()->printingActive());

    // Closing stores the journal, then asks.
    answerer.expectMessage(QMessageBox::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(answerer.allAnswered());
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
    app.reset();

    QByteArray expected = fileBytes(QStringLiteral(ZPH_TEST_DATA_DIR "/journal_defaults.txt"));
    expected.replace("name = \r\n", "name = Hanako\r\n");
    expected.replace("sex = male\r\n", "sex = female\r\n");
    expected.replace("height = 0\r\n", "height = 160\r\n");
    // A new journal's event is today.
    expected.replace("eventDate = 2002/06/30",
                     "eventDate = " + QDate::currentDate().toString(u"yyyy/MM/dd").toLatin1());
    expected += yesterday.toString(u"yyyy/MM/dd").toLatin1() + "\t52.4\t24.5\t5.2\t1880\t0\t0\t" +
                storedMemo + "\r\n";
    EXPECT_EQ(fileBytes(path(QStringLiteral("zph0001.txt"))).toStdString(), expected.toStdString());
}

TEST_F(TypicalDayTest, listKeysTypedInTheFormMoveTheListAndTheFormFollows)
{
    writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro",
                     "2026/11/02\t61\t0\t0\t0\t0\t0\t\r\n"
                     "2026/11/05\t60.5\t0\t0\t0\t0\t0\t\r\n");
    ASSERT_TRUE(startApp());
    CMainFrame *frame = app->mainFrame();
    QApplication::setActiveWindow(frame);
    CInputView *form = frame->inputView();
    form->findChild<QDateEdit *>("datePicker")->setDate(QDate(2026, 11, 5));

    auto *weight = form->findChild<QLineEdit *>("weightEdit");
    QTest::keyClick(weight, Qt::Key_Down);
    EXPECT_EQ(frame->listView()->selectedRow(), 1);
    EXPECT_EQ(form->shownDate(), makeDate(2026, 11, 2));
    EXPECT_EQ(weight->text(), QStringLiteral("61"));

    QTest::keyClick(form->findChild<QPlainTextEdit *>("memoEdit"), Qt::Key_Home);
    EXPECT_EQ(frame->listView()->selectedRow(), 0);
    EXPECT_EQ(form->shownDate(), makeDate(2026, 11, 5));
    EXPECT_EQ(weight->text(), QStringLiteral("60.5"));
}

} // namespace

ZPH_APP_TEST_MAIN
