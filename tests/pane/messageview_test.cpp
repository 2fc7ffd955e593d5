// The advisor pane: what it draws where, the message it shows for the
// selected day, and the mascot's wave after a click.

#include "advisor/advisormessage.h"
#include "advisor/advisorpanepainter.h"
#include "advisor/cmessageview.h"
#include "docsetup.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "panetestsupport.h"

#include <QApplication>
#include <QFontInfo>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QImage mascotPart(const QImage &pane)
{
    const QPoint topLeft((pane.width() - mascotSize.width()) / 2, pane.height() - 104);
    return pane.copy(QRect(topLeft, mascotSize)).convertToFormat(QImage::Format_RGB32);
}

bool showsMascot(const QImage &pane, bool flipperRaised)
{
    return mascotPart(pane) == mascotPicture(flipperRaised).convertToFormat(QImage::Format_RGB32);
}

TEST(AdvisorPanePainter, drawsBalloonTailAndMascotWhereTheGeometrySays)
{
    const int w = 301;
    const int h = 260;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    {
        QPainter painter(&image);
        paintAdvisorPane(painter, image.size(), false, Qt::white);
    }
    const QRgb background = advisorBackground.rgb();
    const QRgb balloon = QColor(Qt::white).rgb();
    const QRgb black = QColor(Qt::black).rgb();
    const int m = w / 2;
    const struct {
        int x;
        int y;
        QRgb colour;
    } pixels[] = {
        {0, 0, background},
        {w - 1, h - 1, background},
        {7, 60, background},
        {8, 60, black},
        {9, 60, balloon},
        {w - 9, 60, black},
        {w - 8, 60, background},
        {60, 8, black},
        {60, h - 113, black},
        {60, h - 112, background},
        // The balloon opens into its tail, whose tip points at the mascot.
        {m, h - 113, balloon},
        {m, h - 109, balloon},
        {m - 6, h - 113, black},
        {m + 6, h - 113, black},
        {m, h - 105, black},
        {m - 3, h - 105, background},
    };
    for (const auto &p : pixels)
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    EXPECT_TRUE(showsMascot(image, false));
}

TEST(AdvisorPanePainter, atRatioTwoTheOutlineKeepsItsWeightAndTheSealIsDrawnFromItsSource)
{
    const QSize size(301, 260);
    QImage image(size * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    {
        QPainter painter(&image);
        paintAdvisorPane(painter, size, false, Qt::white);
    }
    const QRgb black = QColor(Qt::black).rgb();
    // The balloon's left edge, logical column 8: device columns 16 and 17.
    EXPECT_EQ(image.pixel(15, 120), advisorBackground.rgb());
    EXPECT_EQ(image.pixel(16, 120), black);
    EXPECT_EQ(image.pixel(17, 120), black);
    EXPECT_EQ(image.pixel(18, 120), QColor(Qt::white).rgb());
    // The balloon still opens into its tail: no outline across it.
    const int m = size.width() / 2;
    EXPECT_EQ(image.pixel(2 * m, 2 * (size.height() - 113)), QColor(Qt::white).rgb());
    EXPECT_EQ(image.pixel(2 * m, 2 * (size.height() - 113) + 1), QColor(Qt::white).rgb());

    // The seal fills its place with more than the pane's colour, and with
    // finer detail than the picture enlarged.
    const QPoint topLeft(2 * ((size.width() - mascotSize.width()) / 2), 2 * (size.height() - 104));
    const QImage seal = image.copy(QRect(topLeft, mascotSize * 2));
    const QImage enlarged =
        mascotPicture(false).scaled(mascotSize * 2).convertToFormat(QImage::Format_RGB32);
    int notBackground = 0;
    int differing = 0;
    for (int y = 0; y < seal.height(); ++y) {
        for (int x = 0; x < seal.width(); ++x) {
            notBackground += seal.pixel(x, y) != advisorBackground.rgb();
            differing += seal.pixel(x, y) != enlarged.pixel(x, y);
        }
    }
    EXPECT_GT(notBackground, seal.width() * seal.height() / 10);
    EXPECT_GT(differing, 0);
}

TEST(MessageView, showsTheMessageOfTheSelectedDay)
{
    const Date today = todayDate();
    CQuilloxDoc doc(today);
    JournalContext context(doc, today - std::chrono::days{3});
    putDay(doc, context.selectedDate(), "", 60, 25, 0, 0, 0, 0);
    CMessageView view(context);
    auto *textBox = view.findChild<QPlainTextEdit *>(QStringLiteral("messageText"));
    ASSERT_NE(textBox, nullptr);
    EXPECT_EQ(QFontInfo(textBox->font()).family(), QStringLiteral("IPAMincho"));
    EXPECT_EQ(QFontInfo(textBox->font()).pixelSize(), 14);

    context.updateAllViews();
    const QString expected =
        QString::fromStdString(composeAdvisorMessage(doc, context.selectedDate(), today));
    EXPECT_TRUE(expected.startsWith(QStringLiteral("脂肪量は 15.00kg"))) << expected.toStdString();
    EXPECT_EQ(view.message(), expected);
    // The text box shows the same lines with the platform's line ends.
    EXPECT_EQ(textBox->toPlainText(), QString(expected).replace(QStringLiteral("\r\n"), "\n"));

    // Another selected day: the message follows at the next update.
    context.setSelectedDate(today - std::chrono::days{30});
    context.updateAllViews();
    EXPECT_EQ(textBox->toPlainText(), QStringLiteral("ダイエットがんばってね（モキュッ）"));
}

TEST(MessageView, clickWavesSevenTicksIgnoresClicksMeanwhileAndEndsAtRest)
{
    CQuilloxDoc doc(todayDate());
    JournalContext context(doc, todayDate());
    CMessageView view(context);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(showsMascot(view.grab().toImage(), false));

    const QPoint besideTheMascot(5, view.height() - 20);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, besideTheMascot);
    EXPECT_EQ(view.waveTicksLeft(), 7);
    for (int left = 6; left >= 0; --left) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return view.waveTicksLeft() == left; }, 2000)) << left;
        EXPECT_TRUE(showsMascot(view.grab().toImage(), left % 2 != 0)) << left;
        if (left == 5) {
            QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, besideTheMascot);
            EXPECT_EQ(view.waveTicksLeft(), 5);
        }
    }
    QTest::qWait(500);
    EXPECT_EQ(view.waveTicksLeft(), 0);
    EXPECT_TRUE(showsMascot(view.grab().toImage(), false));
}

// Counts how often the painted seal goes from rest to a raised flipper.
class RaiseCounter : public QObject {
  public:
    explicit RaiseCounter(CMessageView &view) : view_(view) { view.installEventFilter(this); }
    int raises = 0;

  protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            raises += view_.isFlipperRaised() && !shownRaised_;
            shownRaised_ = view_.isFlipperRaised();
        }
        return false;
    }

  private:
    CMessageView &view_;
    bool shownRaised_ = false;
};

TEST(MessageView, theFirstClickIntoThePaneRaisesTheFlipperThreeTimes)
{
    CQuilloxDoc doc(todayDate());
    JournalContext context(doc, todayDate());
    QWidget window;
    auto *elsewhere = new QPlainTextEdit(&window);
    auto *view = new CMessageView(context, &window);
    elsewhere->setGeometry(0, 0, 100, 300);
    view->setGeometry(100, 0, 400, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    elsewhere->setFocus();
    RaiseCounter counter(*view);

    // The click moves the focus into the pane, which repaints it at once.
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(5, view->height() - 20));
    ASSERT_TRUE(view->hasFocus());
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->waveTicksLeft() == 0; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(counter.raises, 3);
    EXPECT_FALSE(view->isFlipperRaised());
}

} // namespace

ZPH_APP_TEST_MAIN
