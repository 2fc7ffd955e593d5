// Imports through the real main window: dropped files of runs and weights,
// the one confirmation dialog, the days stored as one edit and selected.

#include "apptestsupport.h"

#include "../activity/activityfixtures.h"
#include "app/cimportdlg.h"
#include "app/cmainframe.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
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

class ImportTest : public AppTest {
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

TEST_F(ImportTest, droppedRunsAndWeightsOpenOneDialogAndOneUndoTakesThemBack)
{
    writeJournalFile(path("zph0001.txt"), "Hanako", "2026/12/03\t52.4\t0\t3\t1200\t0\t0\tmemo\r\n");
    writeBytes("morning.gpx", gpxTrack(at(2, 6), 301, 10.0));
    writeBytes("walk.tcx", "<TrainingCenterDatabase><Activities><Activity Sport=\"Biking\">"
                           "<Id>2026-12-03T12:00:00Z</Id><Lap><TotalTimeSeconds>1800"
                           "</TotalTimeSeconds><DistanceMeters>2500</DistanceMeters></Lap>"
                           "</Activity></Activities></TrainingCenterDatabase>");
    // Two weigh-ins on the 3rd: the first of the day is taken.
    writeBytes("scale.csv", "\"dateTime\",\"weight\",\"fat\"\n"
                            "\"2026-12-03 07:10\",\"51.9\",\"22.4\"\n"
                            "\"2026-12-03 21:40\",\"52.6\",\"0\"\n"
                            "\"2026-12-04 07:05\",\"51.7\",\"\"\n");
    ASSERT_TRUE(startApp());
    CMainFrame *frame = app->mainFrame();
    const std::string before = app->document().journalText();

    answerer.expect([](QWidget *modal) {
        auto *dialog = qobject_cast<CImportDlg *>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        auto *table = dialog->findChild<QTableWidget *>("importTable");
        EXPECT_FALSE(table->tabKeyNavigation());
        EXPECT_FALSE(table->accessibleName().isEmpty());
        ASSERT_EQ(table->rowCount(), 5);
        EXPECT_EQ(table->horizontalHeaderItem(7)->text(), QStringLiteral("取り込み後"));
        auto rowOf = [table](const QString &file, const QString &date) {
            for (int r = 0; r < table->rowCount(); ++r)
                if (table->item(r, 2)->text() == file && table->item(r, 1)->text() == date)
                    return r;
            return -1;
        };
        // The morning weigh-in of the 3rd replaces the day's weight; its
        // fat comes with it; the day's jog stays.
        const int morning = rowOf(QStringLiteral("scale.csv"), QStringLiteral("2026/12/03"));
        ASSERT_GE(morning, 0);
        EXPECT_EQ(table->item(morning, 3)->text(), QStringLiteral("体重"));
        EXPECT_EQ(table->item(morning, 0)->checkState(), Qt::Checked);
        EXPECT_EQ(table->item(morning, 6)->text(), QStringLiteral("52.4 kg"));
        EXPECT_EQ(table->item(morning, 7)->text(), QStringLiteral("51.9 kg 22.4 %"));
        // The ride is refused until the user chooses a field for it.
        const int ride = rowOf(QStringLiteral("walk.tcx"), QStringLiteral("2026/12/03"));
        EXPECT_EQ(table->item(ride, 4)->text(), QStringLiteral("取り込まない"));
        dialog->findChild<QComboBox *>("fieldChoice")->setCurrentIndex(2); // すべて Walk
        EXPECT_EQ(table->item(ride, 4)->text(), QStringLiteral("Walk"));
        EXPECT_EQ(table->item(ride, 7)->text(), QStringLiteral("2.5 km 30'00\""));
        // The last weigh-in instead: the 取り込み後 column follows at once;
        // it has no fat of its own, so the day's only fat measurement stays.
        dialog->findChild<QComboBox *>("pickChoice")->setCurrentIndex(1);
        EXPECT_EQ(table->item(morning, 7)->text(), QStringLiteral("52.6 kg 22.4 %"));
        dialog->findChild<QComboBox *>("pickChoice")->setCurrentIndex(0);
        EXPECT_EQ(dialog->findChild<QCheckBox *>("addToDay")->text(),
                  QStringLiteral("同じ日の記録に加算する(&A)"));
        EXPECT_TRUE(dialog->findChild<QLabel *>("countLine")
                        ->text()
                        .startsWith(QStringLiteral("3 日の記録が変わります")));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    drop(frame,
         {QStringLiteral("morning.gpx"), QStringLiteral("walk.tcx"), QStringLiteral("scale.csv")});

    const CQuilloxDoc &doc = app->context().document();
    EXPECT_EQ(*doc.findDay(makeDate(2026, 12, 3)),
              (DayRecord{makeDate(2026, 12, 3), 51.9, 22.4, 3, 1200, 2.5, 1800, "memo"}));
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 4))->weight, 51.7);
    EXPECT_EQ(doc.findDay(makeDate(2026, 12, 2))->walkDistance, 3.0);
    EXPECT_EQ(app->context().selectedDate(), makeDate(2026, 12, 4));
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("3 日の記録を取り込みました。"));

    // One step: a single undo takes the whole import back.
    EXPECT_EQ(app->context().editor().stepCount(), 1);
    frame->action(FrameAction::Undo)->trigger();
    EXPECT_EQ(doc.journalText(), before);
}

// Fitbit's export does not say its unit: nothing is stored until the user
// names it, and then the weights are read in it.
TEST_F(ImportTest, aFitbitExportWaitsForItsUnit)
{
    writeJournalFile(path("zph0001.txt"), "Hanako", "");
    writeBytes("weight-2026-12-01.json",
               "[{\"logId\":1,\"weight\":125.0,\"bmi\":20.1,\"fat\":23.5,"
               "\"date\":\"12/01/26\",\"time\":\"07:00:00\",\"source\":\"Aria\"}]");
    ASSERT_TRUE(startApp());
    answerer.expect([](QWidget *modal) {
        auto *ok = modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        auto *unit = modal->findChild<QComboBox *>("unitChoice");
        ASSERT_NE(unit, nullptr);
        EXPECT_FALSE(ok->isEnabled());
        unit->setCurrentIndex(1); // ポンド (lb)
        auto *table = modal->findChild<QTableWidget *>("importTable");
        ASSERT_EQ(table->rowCount(), 1);
        EXPECT_EQ(table->item(0, 7)->text(), QStringLiteral("56.7 kg 23.5 %"));
        EXPECT_TRUE(ok->isEnabled());
        ok->click();
    });
    drop(app->mainFrame(), {QStringLiteral("weight-2026-12-01.json")});
    EXPECT_EQ(app->document().findDay(makeDate(2026, 12, 1))->weight, 56.7);
}

TEST_F(ImportTest, filesThatCannotBeReadAreNamedAndNothingChanges)
{
    writeJournalFile(path("zph0001.txt"), "Hanako", "");
    writeBytes("photo.gpx", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    writeBytes("cut.fit", fitRun(static_cast<std::uint32_t>(at(4, 19)), 5000, 1500).substr(0, 30));
    ASSERT_TRUE(startApp());
    CMainFrame *frame = app->mainFrame();
    // The menu item is where the File menu lists it.
    EXPECT_EQ(frame->importAction()->text(), QStringLiteral("記録を取り込む(&I)..."));

    answerer.expectMessage(QMessageBox::Ok);
    drop(frame, {QStringLiteral("photo.gpx"), QStringLiteral("cut.fit")});
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].startsWith(QStringLiteral("取り込める記録がありません。")));
    EXPECT_TRUE(answerer.texts[0].contains(
        QStringLiteral("photo.gpx: 取り込める形式のファイルではありません")));
    EXPECT_TRUE(answerer.texts[0].contains(
        QStringLiteral("cut.fit: FIT のデータがファイルの終わりを越えています")));
    EXPECT_TRUE(app->context().document().dayList().empty());
}

} // namespace

ZPH_APP_TEST_MAIN
