// Runs from a watch's files through the real main window: dropped files, the
// confirmation dialog, and the days stored and selected.

#include "apptestsupport.h"

#include "../activity/activityfixtures.h"
#include "app/cimportrundlg.h"
#include "app/cmainframe.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QUrl>

#include <chrono>
#include <ctime>

namespace {

using namespace activityfixtures;

class ImportRunTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        qputenv("TZ", "UTC");
        ::tzset();
    }

    static std::int64_t at(int day, int hour)
    {
        const auto days = std::chrono::sys_days{std::chrono::year{2026} / 12 / day};
        return days.time_since_epoch().count() * 86400 + hour * 3600;
    }

    void writeBytes(const QString &name, const std::string &bytes)
    {
        QFile out(path(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    // Drags the files onto the window and drops them, as a file manager does.
    void drop(CMainFrame *frame, const QStringList &names)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &name : names)
            urls << QUrl::fromLocalFile(path(name));
        mime.setUrls(urls);
        const QPoint centre = frame->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(centre), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame, &dropped);
        QTRY_VERIFY_WITH_TIMEOUT(answerer.allAnswered(), 5000);
    }
};

TEST_F(ImportRunTest, droppedFilesFillTheirDaysAndTheLastIsSelected)
{
    writeJournalFile(path("zph0001.txt"), "Hanako", "2026/12/03\t52.4\t0\t3\t1200\t0\t0\tmemo\r\n");
    writeBytes("morning.gpx", gpxTrack(at(2, 6), 301, 10.0));
    writeBytes("walk.tcx", "<TrainingCenterDatabase><Activities><Activity Sport=\"Biking\">"
                           "<Id>2026-12-03T12:00:00Z</Id><Lap><TotalTimeSeconds>1800"
                           "</TotalTimeSeconds><DistanceMeters>2500</DistanceMeters></Lap>"
                           "</Activity></Activities></TrainingCenterDatabase>");
    writeBytes("evening.fit", fitRun(static_cast<std::uint32_t>(at(4, 19)), 10012.6, 3100.4));
    ASSERT_TRUE(startApp());
    CMainFrame *frame = app->mainFrame();

    answerer.expect([](QWidget *modal) {
        auto *dialog = qobject_cast<CImportRunDlg *>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        auto *table = dialog->findChild<QTableWidget *>("activityTable");
        ASSERT_EQ(table->rowCount(), 3);
        EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("日付"));
        // The ride is refused until the user chooses a field for it.
        EXPECT_EQ(table->item(1, 3)->text(), QStringLiteral("取り込まない"));
        EXPECT_EQ(table->item(1, 6)->text(), QString());
        dialog->findChild<QComboBox *>("fieldChoice")->setCurrentIndex(2); // すべて Walk
        EXPECT_EQ(table->item(1, 3)->text(), QStringLiteral("Walk"));
        EXPECT_EQ(table->item(2, 4)->text(), QStringLiteral("10.01 km"));
        EXPECT_EQ(table->item(2, 5)->text(), QStringLiteral("51'40\""));
        EXPECT_EQ(dialog->findChild<QCheckBox *>("addToDay")->text(),
                  QStringLiteral("同じ日の記録に加算する"));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    drop(frame, {QStringLiteral("morning.gpx"), QStringLiteral("walk.tcx"),
                 QStringLiteral("evening.fit")});

    const CQuilloxDoc &doc = app->context().document();
    ASSERT_NE(doc.findDay(makeDate(2026, 12, 2)), nullptr);
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 2))->walkDistance, 3.0);
    EXPECT_EQ(*doc.findDay(makeDate(2026, 12, 3)),
              (DayRecord{makeDate(2026, 12, 3), 52.4, 0, 3, 1200, 2.5, 1800, "memo"}));
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 4))->walkDuration, 3100);
    EXPECT_EQ(app->context().selectedDate(), makeDate(2026, 12, 4));
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("3 件の運動を取り込みました。"));
}

TEST_F(ImportRunTest, filesThatCannotBeReadAreNamedAndNothingChanges)
{
    writeJournalFile(path("zph0001.txt"), "Hanako", "");
    writeBytes("photo.gpx", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    writeBytes("cut.fit", fitRun(static_cast<std::uint32_t>(at(4, 19)), 5000, 1500).substr(0, 30));
    ASSERT_TRUE(startApp());
    CMainFrame *frame = app->mainFrame();
    // The menu item is where the File menu lists it.
    EXPECT_EQ(frame->importRunAction()->text(), QStringLiteral("ランの記録を取り込む(&I)..."));

    answerer.expectMessage(QMessageBox::Ok);
    drop(frame, {QStringLiteral("photo.gpx"), QStringLiteral("cut.fit")});
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].startsWith(QStringLiteral("取り込める記録がありません。")));
    EXPECT_TRUE(answerer.texts[0].contains(
        QStringLiteral("photo.gpx: GPX、TCX、FIT のどのファイルでもありません。")));
    EXPECT_TRUE(answerer.texts[0].contains(
        QStringLiteral("cut.fit: FIT のデータがファイルの終わりを越えています")));
    EXPECT_TRUE(app->context().document().dayList().empty());
}

} // namespace

ZPH_APP_TEST_MAIN
