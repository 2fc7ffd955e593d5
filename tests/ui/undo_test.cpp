// Undo and redo through the real main window: every command that changes the
// journal lands on the undo stack, undo and redo give back the stored bytes,
// the modified flag follows the stack, and the keys reach a field only while
// it has typing of its own to undo.

#include "apptestsupport.h"

#include "../activity/activityfixtures.h"
#include "app/cmainframe.h"
#include "entry/cinputview.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include <ctime>
#include <functional>

namespace {

class UndoTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        qputenv("TZ", "UTC");
        ::tzset();
        ASSERT_NO_FATAL_FAILURE(startOnJournal("2026/08/01\t57.5\t0\t0\t0\t0\t0\t\r\n"
                                               "2026/08/03\t57.1\t0\t2\t900\t0\t0\train\r\n"));
        QApplication::setActiveWindow(frame);
        QCoreApplication::processEvents();
    }

    JournalEditor &editor() const { return app->context().editor(); }
    const CQuilloxDoc &doc() const { return app->document(); }

    template <typename T> T *formChild(const char *name) const
    {
        return frame->inputView()->findChild<T *>(QString::fromLatin1(name));
    }

    void showDayInForm(Date day) const
    {
        app->context().setSelectedDate(day);
        app->context().updateAllViews();
    }

    void typeWeight(const QString &text) const
    {
        QLineEdit *weight = formChild<QLineEdit>("weightEdit");
        weight->setFocus();
        weight->selectAll();
        QTest::keyClicks(weight, text);
    }

    void press(QKeyCombination key) const
    {
        // A message box that closed leaves no window active offscreen.
        QApplication::setActiveWindow(frame);
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : frame;
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    QByteArray stored()
    {
        EXPECT_TRUE(app->fileSave());
        return fileBytes(path(QStringLiteral("zph0001.txt")));
    }
};

void clickOkOf(QWidget *dialog)
{
    if (auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("okButton")))
        ok->click();
    else
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

// Walks every command of the window that changes the journal: each must be
// one step on the undo stack, undone to the bytes before it and redone to the
// bytes after it. A new command that changes the journal belongs here.
TEST_F(UndoTest, everyChangeOfTheJournalIsOneStepThatUndoAndRedoReverse)
{
    const std::string gpx = activityfixtures::gpxTrack(1785650400, 301, 10.0); // 2026-08-02 06:00
    QFile run(path(QStringLiteral("run.gpx")));
    ASSERT_TRUE(run.open(QIODevice::WriteOnly));
    run.write(gpx.data(), static_cast<qint64>(gpx.size()));
    run.close();

    const QByteArray original = stored();
    const std::vector<std::pair<const char *, std::function<void()>>> commands = {
        {"register in the form",
         [&] {
             showDayInForm(makeDate(2026, 8, 1));
             typeWeight(QStringLiteral("56.9"));
             formChild<QPushButton>("registerButton")->click();
         }},
        {"step with a number",
         [&] {
             showDayInForm(makeDate(2026, 8, 5));
             typeWeight(QStringLiteral("56.5"));
             formChild<QPushButton>("nextDayButton")->click();
         }},
        {"delete",
         [&] {
             showDayInForm(makeDate(2026, 8, 3));
             answerer.expectMessage(QMessageBox::Yes);
             formChild<QPushButton>("deleteButton")->click();
         }},
        {"profile",
         [&] {
             answerer.expect([](QWidget *dialog) {
                 dialog->findChild<QLineEdit *>(QStringLiteral("heightEdit"))
                     ->setText(QStringLiteral("171"));
                 clickOkOf(dialog);
             });
             frame->action(FrameAction::UserInfo)->trigger();
         }},
        {"objective",
         [&] {
             answerer.expect([](QWidget *dialog) {
                 dialog->findChild<QLineEdit *>(QStringLiteral("weightEdit"))
                     ->setText(QStringLiteral("55"));
                 clickOkOf(dialog);
             });
             frame->action(FrameAction::Objective)->trigger();
         }},
        {"graph settings",
         [&] {
             answerer.expect([](QWidget *dialog) {
                 dialog->findChildren<QCheckBox *>().front()->click();
                 clickOkOf(dialog);
             });
             frame->action(FrameAction::GraphSettings)->trigger();
         }},
        {"paper orientation",
         [&] {
             answerer.expect([](QWidget *dialog) {
                 dialog->findChild<QRadioButton *>(QStringLiteral("portrait"))->click();
                 static_cast<QDialog *>(dialog)->accept();
             });
             frame->action(FrameAction::PrintSetup)->trigger();
         }},
        {"import of runs",
         [&] {
             answerer.expect([](QWidget *dialog) { clickOkOf(dialog); });
             frame->importFiles({path(QStringLiteral("run.gpx"))});
         }},
    };
    for (const auto &[name, command] : commands) {
        const std::string before = doc().journalText();
        const int steps = editor().stepCount();
        command();
        ASSERT_TRUE(answerer.allAnswered()) << name;
        ASSERT_EQ(editor().stepCount(), steps + 1) << name;
        const std::string after = doc().journalText();
        EXPECT_NE(after, before) << name;

        frame->action(FrameAction::Undo)->trigger();
        EXPECT_EQ(doc().journalText(), before) << name;
        frame->action(FrameAction::Redo)->trigger();
        EXPECT_EQ(doc().journalText(), after) << name;
    }
    // All of them undone one after another: the stored bytes of the start;
    // all redone: the bytes of the end.
    const QByteArray changed = stored();
    for (std::size_t i = 0; i < commands.size(); ++i)
        frame->action(FrameAction::Undo)->trigger();
    EXPECT_EQ(stored(), original);
    for (std::size_t i = 0; i < commands.size(); ++i)
        frame->action(FrameAction::Redo)->trigger();
    EXPECT_EQ(stored(), changed);
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'|').toStdString();
}

// Ctrl+Z steps back through the user's changes to exactly what was stored;
// Ctrl+Y brings them all back. The modified flag follows: back at what was
// stored, New asks nothing.
TEST_F(UndoTest, keysUndoBackToTheStoredBytesAndRedoForward)
{
    const QByteArray original = stored();
    registerThroughEditor(*app, DayRecord{makeDate(2026, 8, 5), 56, 0, 0, 0, 0, 0, ""});
    showDayInForm(makeDate(2026, 8, 1));
    answerer.expectMessage(QMessageBox::Yes);
    formChild<QPushButton>("deleteButton")->click();
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(frame->action(FrameAction::Undo)->statusTip(),
              QStringLiteral("8月1日の削除を元に戻します"));

    frame->listView()->setFocus();
    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_NE(doc().findDay(makeDate(2026, 8, 1)), nullptr);
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              QStringLiteral("8月1日の削除を元に戻しました。"));
    press(Qt::ALT | Qt::Key_Backspace);
    EXPECT_EQ(doc().findDay(makeDate(2026, 8, 5)), nullptr);
    // The selected day follows the step.
    EXPECT_EQ(app->context().selectedDate(), makeDate(2026, 8, 5));
    EXPECT_FALSE(doc().isModified());
    EXPECT_FALSE(frame->action(FrameAction::Undo)->isEnabled());
    EXPECT_EQ(stored(), original);

    press(Qt::CTRL | Qt::Key_Y);
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(doc().findDay(makeDate(2026, 8, 1)), nullptr);
    EXPECT_NE(doc().findDay(makeDate(2026, 8, 5)), nullptr);

    // Undone back to the store: New empties the journal without a question.
    frame->action(FrameAction::Undo)->trigger();
    frame->action(FrameAction::Undo)->trigger();
    frame->action(FrameAction::New)->trigger();
    EXPECT_TRUE(answerer.texts.size() == 1 && answerer.unexpected.isEmpty());
    EXPECT_TRUE(doc().dayList().empty());
    EXPECT_FALSE(frame->action(FrameAction::Undo)->isEnabled());
}

TEST_F(UndoTest, theOldestStepGoesBeyondAThousand)
{
    for (int i = 0; i <= JournalEditor::undoLimit; ++i)
        registerThroughEditor(
            *app, DayRecord{makeDate(2026, 1, 1) + std::chrono::days{i}, 60, 0, 0, 0, 0, 0, ""});
    EXPECT_EQ(editor().stepCount(), JournalEditor::undoLimit);
    while (editor().canUndo())
        editor().undo();
    // The first day's step was forgotten: it stays, and so does the flag.
    EXPECT_NE(doc().findDay(makeDate(2026, 1, 1)), nullptr);
    EXPECT_EQ(doc().findDay(makeDate(2026, 1, 2)), nullptr);
    EXPECT_TRUE(doc().isModified());
}

// A field with typing of its own undoes that typing; with none, the key
// undoes the journal's last step. The date picker never keeps it.
TEST_F(UndoTest, ctrlZGoesToAFieldOnlyWhileItHasTypingToUndo)
{
    registerThroughEditor(*app, DayRecord{makeDate(2026, 8, 5), 56, 0, 0, 0, 0, 0, ""});
    showDayInForm(makeDate(2026, 8, 1));
    QLineEdit *weight = formChild<QLineEdit>("weightEdit");
    typeWeight(QStringLiteral("6"));
    ASSERT_EQ(weight->text(), QStringLiteral("6"));

    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(weight->text(), QStringLiteral("57.5"));
    EXPECT_NE(doc().findDay(makeDate(2026, 8, 5)), nullptr);

    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(doc().findDay(makeDate(2026, 8, 5)), nullptr);

    formChild<QDateEdit>("datePicker")->setFocus();
    press(Qt::CTRL | Qt::Key_Y);
    EXPECT_NE(doc().findDay(makeDate(2026, 8, 5)), nullptr);
}

} // namespace

ZPH_APP_TEST_MAIN
