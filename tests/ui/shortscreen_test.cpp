// The main window on a screen shorter than the design's minimum: 1366 x 768
// at 200 %, 683 x 384 logical pixels, beside a wide one. The offscreen
// platform takes its screens from a file, which main() writes before the
// application starts.

#include "apptestsupport.h"

#include "app/cmainframe.h"
#include "app/panerows.h"
#include "entry/cinputview.h"
#include "graph/cgraphview.h"
#include "graph/graphgeometry.h"
#include "widgets/screenfollower.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QWindow>

namespace {

constexpr QSize shortScreen(683, 384);
constexpr QSize wideScreen(1280, 1024);

QScreen *screenNamed(const char *name)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == QLatin1String(name))
            return screen;
    }
    return nullptr;
}

class ShortScreenTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startOnJournal("2026/08/01\t57.5\t0\t0\t0\t0\t0\t\r\n"));
        QCoreApplication::processEvents();
    }
};

TEST_F(ShortScreenTest, windowFitsAndTheTopRowGivesWayToThePlot)
{
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableSize(), shortScreen);
    EXPECT_LE(frame->minimumWidth(), shortScreen.width());
    EXPECT_LE(frame->minimumHeight(), shortScreen.height());

    frame->showNormal();
    frame->resize(shortScreen);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->size(), shortScreen);

    QSplitter *rows = frame->mainSplitter();
    const int height = rows->contentsRect().height();
    const int plot =
        rows->sizes().at(1) - screenPlotMargins(graphUnits(frame->graphView()->logicalDpiY(), 6));
    EXPECT_GE(plot, minimumPlotHeight(height));
    EXPECT_LT(rows->sizes().at(0), CMainFrame::topRowMinimumHeight);
    EXPECT_GT(rows->sizes().at(0), 0);

    // The entry form scrolls to what no longer fits.
    const auto *area = frame->inputView()->findChild<QScrollArea *>();
    ASSERT_NE(area, nullptr);
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);

    // With the height back, the top row is the design's again.
    frame->resize(1000, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(rows->sizes().at(0), CMainFrame::topRowInitialHeight);
}

TEST_F(ShortScreenTest, minimumSizeFollowsTheWindowToAnotherScreen)
{
    QScreen *shortOne = screenNamed("short");
    QScreen *wide = screenNamed("wide");
    ASSERT_TRUE(shortOne && wide);
    frame->show();
    QCoreApplication::processEvents();
    ASSERT_EQ(frame->screen(), shortOne);
    const QSize design(CMainFrame::minimumWindowWidth, CMainFrame::minimumWindowHeight);
    EXPECT_EQ(frame->minimumSize(), design.boundedTo(shortScreen));

    frame->windowHandle()->setScreen(wide);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->minimumSize(), design);

    frame->windowHandle()->setScreen(shortOne);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->minimumSize(), design.boundedTo(shortScreen));
}

// The offscreen platform cannot change a screen's area from a test, so the
// screens' own signals stand in for a panel added or a scale changed.
TEST(ScreenFollower, watchesOnlyTheScreenTheWindowIsOnNow)
{
    QScreen *shortOne = screenNamed("short");
    QScreen *wide = screenNamed("wide");
    ASSERT_TRUE(shortOne && wide);
    QWidget window;
    window.setScreen(shortOne);
    window.show();
    int calls = 0;
    followWindowScreen(&window, [&calls] { ++calls; });
    followWindowScreen(&window, [&calls] { calls += 100; }); // the second call does nothing

    emit shortOne->availableGeometryChanged(QRect(0, 0, 683, 350));
    EXPECT_EQ(calls, 1);
    window.windowHandle()->setScreen(wide);
    EXPECT_EQ(calls, 2);
    emit shortOne->availableGeometryChanged(QRect(0, 0, 683, 300));
    EXPECT_EQ(calls, 2);
    emit wide->logicalDotsPerInchChanged(144);
    emit wide->availableGeometryChanged(QRect(683, 0, 1280, 1000));
    EXPECT_EQ(calls, 4);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir screenDir;
    const QString config = screenDir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QStringLiteral(R"({"screens": [{"name": "short", "x": 0, "y": 0, "width": %1,)"
                              R"( "height": %2, "logicalDpi": 96},)"
                              R"( {"name": "wide", "x": %1, "y": 0, "width": %3,)"
                              R"( "height": %4, "logicalDpi": 96}]})")
                   .arg(shortScreen.width())
                   .arg(shortScreen.height())
                   .arg(wideScreen.width())
                   .arg(wideScreen.height())
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    QApplication application(argc, argv);
    installFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
