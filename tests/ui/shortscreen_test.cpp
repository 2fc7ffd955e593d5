// The main window on a screen shorter than the design's minimum: 1366 x 768
// at 200 %, 683 x 384 logical pixels. The offscreen platform takes its screen
// from a file, which main() writes before the application starts.

#include "apptestsupport.h"

#include "app/cmainframe.h"
#include "app/panerows.h"
#include "entry/cinputview.h"
#include "graph/cgraphview.h"
#include "graph/graphgeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>

namespace {

constexpr QSize shortScreen(683, 384);

class ShortScreenTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro",
                         "2026/08/01\t57.5\t0\t0\t0\t0\t0\t\r\n");
        ASSERT_TRUE(startApp());
        frame = app->mainFrame();
        QCoreApplication::processEvents();
    }

    CMainFrame *frame = nullptr;
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

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir screenDir;
    const QString config = screenDir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QStringLiteral(R"({"screens": [{"name": "short", "x": 0, "y": 0, "width": %1,)"
                              R"( "height": %2, "logicalDpi": 96}]})")
                   .arg(shortScreen.width())
                   .arg(shortScreen.height())
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    QApplication application(argc, argv);
    installFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
