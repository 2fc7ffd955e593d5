// Figures for changing the journal through the real main window of a
// 100,000-day journal at 1366 x 768: one day registered with the entry form,
// with and without the repaint of all four panes that follows, and the undo
// and redo of an import of 1,000 days.

#include "app/cmainframe.h"
#include "app/czephalonteapp.h"
#include "docsetup.h"
#include "entry/cinputview.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const Date firstDate = makeDate(1750, 1, 1);
constexpr int journalDays = 100'000;

// The window over a journal of journalDays days, sized as a common laptop's screen.
class BigJournalWindow {
  public:
    BigJournalWindow()
    {
        QDir::setCurrent(dir_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.filePath("config"));
        {
            CQuilloxDoc journal;
            userInfoOf(journal)->name = "bench";
            EditBuilder days(journal);
            for (int i = 0; i < journalDays; ++i)
                days.changeDay(DayRecord{firstDate + std::chrono::days(i), 60 + (i % 100) * 0.1,
                                         20 + (i % 50) * 0.1, i % 2 ? 5.2 : 0, i % 2 ? 1830. : 0, 3,
                                         3725, i % 3 ? "ran along the river" : ""});
            journal.applyEdit(days.take());
            journal.writeJournal("zph0001.txt");
        }
        app_ = std::make_unique<CZephalonteApp>();
        started_ = app_->startUp({QStringLiteral("zephalonte")});
        if (started_) {
            frame()->showNormal();
            frame()->resize(1366, 768);
            // Exposed only once the events of the show have been handled.
            QCoreApplication::processEvents();
            frame()->repaint();
        }
    }

    bool started() const { return started_; }
    CZephalonteApp &app() { return *app_; }
    CMainFrame *frame() const { return app_->mainFrame(); }

  private:
    QTemporaryDir dir_;
    std::unique_ptr<CZephalonteApp> app_;
    bool started_ = false;
};

// From the click on 登録 to the end of the repaint of the four panes (Arg 1),
// or to the end of the click's work alone (Arg 0): reading the form, the
// edit, the notice every pane answers and the record appended to the edit log.
void BM_RegisterDayInBigJournal(benchmark::State &state)
{
    BigJournalWindow window;
    if (!window.started()) {
        state.SkipWithError("start-up failed");
        return;
    }
    CInputView *form = window.frame()->inputView();
    auto *weight = form->findChild<QLineEdit *>("weightEdit");
    auto *registerButton = form->findChild<QPushButton *>("registerButton");
    auto *picker = form->findChild<QDateEdit *>("datePicker");
    const QDate day = QDate(1750, 1, 1).addDays(journalDays - 30);
    const bool repaint = state.range(0) != 0;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        picker->setDate(day);
        weight->setText(QString::number(60 + (++i % 10) * 0.1));
        window.frame()->repaint();
        state.ResumeTiming();
        registerButton->click();
        if (repaint)
            window.frame()->repaint();
    }
}
BENCHMARK(BM_RegisterDayInBigJournal)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The repaint of the four panes alone, after they were told to redraw: what
// the repaint above costs without any change.
void BM_RepaintAllPanes(benchmark::State &state)
{
    BigJournalWindow window;
    if (!window.started()) {
        state.SkipWithError("start-up failed");
        return;
    }
    for (auto _ : state) {
        window.app().context().updateAllViews();
        window.frame()->repaint();
    }
}
BENCHMARK(BM_RepaintAllPanes)->Unit(benchmark::kMicrosecond);

// Undo and redo of one import of 1,000 days (each day's jog replaced), with
// every pane's update; painting not counted.
void BM_UndoRedoImportOf1000Days(benchmark::State &state)
{
    BigJournalWindow window;
    if (!window.started()) {
        state.SkipWithError("start-up failed");
        return;
    }
    const CQuilloxDoc &doc = window.app().document();
    EditBuilder import(doc);
    for (int i = 0; i < 1000; ++i) {
        DayRecord day = *doc.findDay(firstDate + std::chrono::days(journalDays - 1000 + i));
        day.jogDistance = 7.5;
        day.jogDuration = 2400;
        import.changeDay(day);
    }
    JournalEditor &editor = window.app().context().editor();
    editor.apply(import.take(), QStringLiteral("import"));
    for (auto _ : state) {
        editor.undo();
        editor.redo();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_UndoRedoImportOf1000Days)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
