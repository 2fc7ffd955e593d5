#include "dialogs/cuserinfodlg.h"
#include "dialogs/spinedit.h"
#include "docsetup.h"
#include "journal/cquilloxdoc.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <utility>

namespace {

const QString notInteger = QStringLiteral("整数を入力してください。");
const QString notNumber = QStringLiteral("数字を入力してください。");
const QString emptyName = QStringLiteral("ユーザ名を入力してください。");
const QString yearRange =
    QStringLiteral("%1 から %2 までの整数を入力してください。").arg(1900).arg(2100);
const QString heightRange =
    QStringLiteral("%1 から %2 までの数字を入力してください。").arg(0).arg(300);

QString range(int from, int to)
{
    return QStringLiteral("%1\uFF5E%2").arg(from).arg(to);
}

// Answers every modal message box with its first button and keeps its text;
// runs one scripted action on the next other modal dialog. Two timers, because
// Qt does not fire a timer again while its own handler is still running, and
// the scripted action may itself raise a message box.
class ModalAnswerer {
  public:
    ModalAnswerer()
    {
        messageTimer_.setInterval(1);
        QObject::connect(&messageTimer_, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                messages << box->text();
                box->buttons().value(0)->click();
            }
        });
        messageTimer_.start();
        dialogTimer_.setInterval(1);
        QObject::connect(&dialogTimer_, &QTimer::timeout, [this] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (dialog && !qobject_cast<QMessageBox *>(dialog) && dialogAction)
                std::exchange(dialogAction, {})(dialog);
        });
        dialogTimer_.start();
    }

    QStringList messages;
    std::function<void(QDialog *)> dialogAction;

  private:
    QTimer messageTimer_;
    QTimer dialogTimer_;
};

UserInfo profile(int year, int month, int day, std::int32_t restBpm)
{
    UserInfo info;
    info.name = "yamada";
    info.birthYear = year;
    info.birthMonth = month;
    info.birthDay = day;
    info.height = 170.5;
    info.restBpm = restBpm;
    return info;
}

// Drives the real dialog through its child widgets, as a user would.
class UserInfoDialogTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dialog.setToday(QDate(2002, 6, 30));
        dialog.setUserInfo(profile(1972, 1, 1, 60)); // 30 years old on that day
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QApplication::processEvents();
        answerer.messages.clear();
    }

    template <typename T> T *child(const char *name)
    {
        T *widget = dialog.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit *edit(const char *name) { return child<QLineEdit>(name); }
    SpinEdit *yearEdit() { return child<SpinEdit>("yearEdit"); }
    QLineEdit *yearText() { return yearEdit()->findChild<QLineEdit *>(); }
    void clickOk() { child<QPushButton>("okButton")->click(); }

    ModalAnswerer answerer;
    CUserInfoDlg dialog;
};

} // namespace

TEST_F(UserInfoDialogTest, opensOnTheProfileWithIntensitySeventy)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾕｰｻﾞ情報設定"));
    EXPECT_EQ(edit("nameEdit")->text(), QStringLiteral("yamada"));
    EXPECT_TRUE(child<QRadioButton>("maleRadio")->isChecked());
    EXPECT_EQ(yearEdit()->text(), QStringLiteral("1972"));
    EXPECT_EQ(child<QComboBox>("monthCombo")->count(), 12);
    EXPECT_EQ(child<QComboBox>("dayCombo")->count(), 31);
    EXPECT_EQ(child<QComboBox>("monthCombo")->currentText(), QStringLiteral("1"));
    EXPECT_EQ(edit("heightEdit")->text(), QStringLiteral("170.5"));
    EXPECT_EQ(edit("intensityEdit")->text(), QStringLiteral("70"));
    EXPECT_TRUE(edit("maxBpmEdit")->isReadOnly());
    EXPECT_TRUE(answerer.messages.isEmpty());
}

TEST_F(UserInfoDialogTest, maximumRateChangesOnTheBirthday)
{
    dialog.setUserInfo(profile(1980, 6, 10, 60));
    dialog.setToday(QDate(2002, 6, 9));
    EXPECT_EQ(edit("maxBpmEdit")->text(), QStringLiteral("199"));
    dialog.setToday(QDate(2002, 6, 10));
    EXPECT_EQ(edit("maxBpmEdit")->text(), QStringLiteral("198"));
    // Choosing a later birthday in the lists recomputes at once.
    child<QComboBox>("dayCombo")->setCurrentIndex(10);
    EXPECT_EQ(edit("maxBpmEdit")->text(), QStringLiteral("199"));
    child<QComboBox>("dayCombo")->setCurrentIndex(9);
    child<QComboBox>("monthCombo")->setCurrentIndex(6);
    EXPECT_EQ(edit("maxBpmEdit")->text(), QStringLiteral("199"));
}

TEST_F(UserInfoDialogTest, showsKarvonenFiguresAndFollowsTypedChanges)
{
    EXPECT_EQ(edit("maxBpmEdit")->text(), QStringLiteral("190"));
    EXPECT_EQ(edit("fatBurnRangeEdit")->text(), range(131, 144));
    EXPECT_EQ(edit("aerobicRangeEdit")->text(), range(144, 170));
    EXPECT_EQ(edit("intensityBpmEdit")->text(), QStringLiteral("151"));

    edit("intensityEdit")->selectAll();
    QTest::keyClicks(edit("intensityEdit"), "80");
    EXPECT_EQ(edit("intensityBpmEdit")->text(), QStringLiteral("164"));

    edit("restBpmEdit")->setText(QStringLiteral("70"));
    EXPECT_EQ(edit("fatBurnRangeEdit")->text(), range(136, 148));
    EXPECT_EQ(edit("intensityBpmEdit")->text(), QStringLiteral("166"));

    yearEdit()->setText(QStringLiteral("1962"));
    EXPECT_EQ(edit("maxBpmEdit")->text(), QStringLiteral("180"));
    EXPECT_TRUE(answerer.messages.isEmpty());
}

TEST_F(UserInfoDialogTest, restingRateZeroKeepsOlderRanges)
{
    dialog.setUserInfo(profile(1972, 1, 1, 0));
    EXPECT_EQ(edit("maxBpmEdit")->text(), QStringLiteral("190"));
    EXPECT_EQ(edit("fatBurnRangeEdit")->text(), QString());
    EXPECT_EQ(edit("aerobicRangeEdit")->text(), QString());
    EXPECT_EQ(edit("intensityBpmEdit")->text(), QStringLiteral("0"));

    edit("restBpmEdit")->setText(QStringLiteral("60"));
    EXPECT_EQ(edit("fatBurnRangeEdit")->text(), range(131, 144));
    edit("restBpmEdit")->setText(QStringLiteral("0"));
    yearEdit()->setText(QStringLiteral("1982"));
    EXPECT_EQ(edit("maxBpmEdit")->text(), QStringLiteral("200"));
    EXPECT_EQ(edit("fatBurnRangeEdit")->text(), range(131, 144));
    EXPECT_EQ(edit("aerobicRangeEdit")->text(), range(144, 170));
    EXPECT_EQ(edit("intensityBpmEdit")->text(), QStringLiteral("151"));
}

TEST_F(UserInfoDialogTest, nameSexAndHeightDoNotRecompute)
{
    // A recomputation writes every value back, so "170.0" would become "170",
    // and a height that is not a number would be reported.
    edit("heightEdit")->setText(QStringLiteral("170.0"));
    edit("nameEdit")->setText(QStringLiteral("suzuki"));
    child<QRadioButton>("femaleRadio")->click();
    EXPECT_EQ(edit("heightEdit")->text(), QStringLiteral("170.0"));
    edit("heightEdit")->setText(QStringLiteral("tall"));
    EXPECT_TRUE(answerer.messages.isEmpty());

    edit("intensityEdit")->setText(QStringLiteral("75"));
    EXPECT_EQ(answerer.messages, QStringList{notNumber});
    edit("heightEdit")->setText(QStringLiteral("170.0"));
    edit("intensityEdit")->setText(QStringLiteral("70"));
    EXPECT_EQ(edit("heightEdit")->text(), QStringLiteral("170"));
}

TEST_F(UserInfoDialogTest, typingAFailingTextReportsItOnceAndSelectsTheField)
{
    edit("restBpmEdit")->clear();
    EXPECT_EQ(answerer.messages, QStringList{notInteger});
    EXPECT_EQ(dialog.focusWidget(), edit("restBpmEdit"));
    // The failing text is left as typed, not replaced by the older value.
    EXPECT_EQ(edit("restBpmEdit")->text(), QString());
    edit("restBpmEdit")->setText(QStringLiteral("60"));

    answerer.messages.clear();
    yearEdit()->setText(QStringLiteral("198"));
    EXPECT_EQ(answerer.messages, QStringList{yearRange});
    EXPECT_EQ(dialog.focusWidget(), yearEdit());
    EXPECT_EQ(yearText()->selectedText(), QStringLiteral("198"));

    answerer.messages.clear();
    yearEdit()->setText(QStringLiteral("19a0"));
    EXPECT_EQ(answerer.messages, QStringList{notInteger});
    yearEdit()->setText(QStringLiteral("1972"));
    edit("intensityEdit")->setText(QStringLiteral("7.5"));
    EXPECT_EQ(answerer.messages, (QStringList{notInteger, notInteger}));
    EXPECT_EQ(dialog.focusWidget(), edit("intensityEdit"));
}

TEST_F(UserInfoDialogTest, yearButtonsReachBeyondTheValidYears)
{
    yearEdit()->setText(QStringLiteral("2100"));
    QTest::keyClick(yearEdit(), Qt::Key_Up);
    EXPECT_EQ(yearEdit()->text(), QStringLiteral("2101"));
    EXPECT_EQ(answerer.messages, QStringList{yearRange});

    answerer.messages.clear();
    yearEdit()->setText(QStringLiteral("1900"));
    QTest::keyClick(yearEdit(), Qt::Key_Down);
    EXPECT_EQ(yearEdit()->text(), QStringLiteral("1899"));
    EXPECT_EQ(answerer.messages, QStringList{yearRange});

    // The buttons themselves stop at 1000 and 2999.
    answerer.messages.clear();
    yearEdit()->setText(QStringLiteral("2999"));
    answerer.messages.clear();
    QTest::keyClick(yearEdit(), Qt::Key_Up);
    EXPECT_EQ(yearEdit()->text(), QStringLiteral("2999"));
    EXPECT_TRUE(answerer.messages.isEmpty());
}

TEST_F(UserInfoDialogTest, okRefusesEachFailingFieldAndStaysOpen)
{
    const struct {
        const char *field;
        QString text;
        QString message;
    } cases[] = {
        {"heightEdit", QStringLiteral(""), notNumber},
        {"heightEdit", QStringLiteral("170cm"), notNumber},
        {"heightEdit", QStringLiteral("300.1"), heightRange},
        {"heightEdit", QStringLiteral("-1"), heightRange},
        {"nameEdit", QString(), emptyName},
        // Blanks alone read back as no name: the user would be asked at every start.
        {"nameEdit", QStringLiteral(" \t\u3000 "), emptyName},
    };
    for (const auto &c : cases) {
        edit("heightEdit")->setText(QStringLiteral("170"));
        edit("nameEdit")->setText(QStringLiteral("yamada"));
        edit(c.field)->setText(c.text);
        answerer.messages.clear();
        clickOk();
        EXPECT_EQ(answerer.messages, QStringList{c.message})
            << c.field << ' ' << c.text.toStdString();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), edit(c.field));
    }
}

TEST_F(UserInfoDialogTest, okAcceptsBoundaryHeightAndThirtyFirstOfFebruary)
{
    edit("heightEdit")->setText(QStringLiteral("300"));
    child<QComboBox>("monthCombo")->setCurrentIndex(1);
    child<QComboBox>("dayCombo")->setCurrentIndex(30);
    child<QRadioButton>("femaleRadio")->click();
    clickOk();
    EXPECT_TRUE(answerer.messages.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const UserInfo info = dialog.userInfo();
    EXPECT_EQ(info.height, 300.0);
    EXPECT_EQ(info.birthYear, 1972);
    EXPECT_EQ(info.birthMonth, 2);
    EXPECT_EQ(info.birthDay, 31);
    EXPECT_FALSE(info.sex);
}

TEST_F(UserInfoDialogTest, okRefusesANameCodePage932CannotHold)
{
    edit("nameEdit")->setText(QStringLiteral("Ren\u00E9e"));
    clickOk();
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(answerer.messages[0].contains(QStringLiteral("\u00E9")));
    EXPECT_TRUE(answerer.messages[0].contains(QStringLiteral("U+00E9")));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), edit("nameEdit"));
}

TEST_F(UserInfoDialogTest, aNameTypedInJisFormsIsStoredAsCodePage932)
{
    // 〜 and − as Linux input methods type them, between two kanji.
    edit("nameEdit")->setText(QStringLiteral("\u5C71\u301C\u2212\u7530"));
    clickOk();
    EXPECT_TRUE(answerer.messages.isEmpty());
    EXPECT_EQ(dialog.userInfo().name, "\x8e\x52\x81\x60\x81\x7c\x93\x63");
}

TEST_F(UserInfoDialogTest, aBadStoredYearIsReportedOnceTheDialogShows)
{
    CUserInfoDlg other;
    other.setUserInfo(profile(1850, 1, 1, 60));
    EXPECT_TRUE(answerer.messages.isEmpty());
    other.show();
    QTRY_COMPARE(answerer.messages.size(), 1);
    EXPECT_EQ(answerer.messages[0], yearRange);
}

TEST(UserInfoEditDocument, okCopiesTheProfileBackAndSetsModified)
{
    ModalAnswerer answerer;
    CQuilloxDoc doc;
    *userInfoOf(doc) = profile(1980, 6, 10, 60);
    doc.setModified(false);
    answerer.dialogAction = [](QDialog *dialog) {
        // Kana typed through an input method arrives as text, not as key codes.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("nameEdit"));
        name->clear();
        QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QStringLiteral("\u5C71\u7530"),
                            Qt::NoModifier);
        dialog->findChild<QLineEdit *>(QStringLiteral("heightEdit"))
            ->setText(QStringLiteral("165.5"));
        dialog->findChild<QLineEdit *>(QStringLiteral("restBpmEdit"))
            ->setText(QStringLiteral("55"));
        dialog->findChild<QRadioButton *>(QStringLiteral("femaleRadio"))->click();
        dialog->findChild<QComboBox *>(QStringLiteral("dayCombo"))->setCurrentIndex(0);
        dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
    };
    doc.applyEdit(CUserInfoDlg::askForEdit(doc, nullptr));
    EXPECT_TRUE(answerer.messages.isEmpty());
    EXPECT_EQ(doc.userInfo().name, "\x8e\x52\x93\x63"); // 山田 in code page 932
    EXPECT_EQ(doc.userInfo().height, 165.5);
    EXPECT_EQ(doc.userInfo().restBpm, 55);
    EXPECT_FALSE(doc.userInfo().sex);
    EXPECT_EQ(doc.userInfo().birthYear, 1980);
    EXPECT_EQ(doc.userInfo().birthMonth, 6);
    EXPECT_EQ(doc.userInfo().birthDay, 1);
}

TEST(UserInfoEditDocument, cancelChangesNothing)
{
    ModalAnswerer answerer;
    CQuilloxDoc doc;
    *userInfoOf(doc) = profile(1980, 6, 10, 60);
    doc.setModified(false);
    const UserInfo before = doc.userInfo();
    answerer.dialogAction = [](QDialog *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText(QStringLiteral("x"));
        dialog->findChild<QLineEdit *>(QStringLiteral("heightEdit"))
            ->setText(QStringLiteral("150"));
        dialog->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
    };
    EXPECT_TRUE(CUserInfoDlg::askForEdit(doc, nullptr).empty());
    EXPECT_EQ(doc.userInfo(), before);
}

TEST(UserInfoEditDocument, anUnchangedNameKeepsItsBytes)
{
    // Bytes that are not code-page-932 characters survive an OK untouched.
    ModalAnswerer answerer;
    CQuilloxDoc doc;
    *userInfoOf(doc) = profile(1980, 6, 10, 60);
    userInfoOf(doc)->name = "\xb6\xc5\x83\x5c\x81"; // ｶﾅソ and a lone lead byte
    answerer.dialogAction = [](QDialog *dialog) {
        dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
    };
    doc.applyEdit(CUserInfoDlg::askForEdit(doc, nullptr));
    EXPECT_EQ(doc.userInfo().name, "\xb6\xc5\x83\x5c\x81");
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
