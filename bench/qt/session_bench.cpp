// Figures for keeping days safe: the recovery file of a 100,000-day journal
// (the part the user-interface thread does, and the whole write), and the
// user-interface thread's work for one registration in a one-year journal,
// through the real main window with everything that follows a change.

#include "app/cmainframe.h"
#include "app/czephalonteapp.h"
#include "docsetup.h"
#include "entry/cinputview.h"
#include "journal/cquilloxdoc.h"
#include "journal/safesave.h"
#include "session/recoverywriter.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const Date firstDate = makeDate(1800, 1, 1);

void fill(CQuilloxDoc &document, int days)
{
    userInfoOf(document)->name = "bench";
    for (int i = 0; i < days; ++i)
        putDay(document, firstDate + std::chrono::days(i), i % 3 ? "ran along the river" : "",
               60 + (i % 100) * 0.1, 20 + (i % 50) * 0.1, i % 2 ? 5.2 : 0, i % 2 ? 1830 : 0, 3,
               3725);
}

// What the user-interface thread does for one recovery write: the text.
void BM_RecoveryTextOnUiThread(benchmark::State &state)
{
    CQuilloxDoc document;
    fill(document, 100'000);
    for (auto _ : state)
        benchmark::DoNotOptimize(document.journalText());
}
BENCHMARK(BM_RecoveryTextOnUiThread)->Unit(benchmark::kMillisecond);

// The whole write: text, temporary file, fsync, rename.
void BM_RecoveryWholeWrite(benchmark::State &state)
{
    CQuilloxDoc document;
    fill(document, 100'000);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/recovery-bench-XXXXXX"));
    const std::string path = QFile::encodeName(dir.filePath(".zph0001.txt.recovery")).toStdString();
    for (auto _ : state) {
        const SaveResult saved = saveFileAtomically(path, document.journalText(), false, 0600u);
        if (!saved.saved)
            state.SkipWithError(saved.error.c_str());
    }
}
BENCHMARK(BM_RecoveryWholeWrite)->Unit(benchmark::kMillisecond);

// One day registered through the entry form of the real main window over a
// one-year journal: reading the form, storing the day, every pane's update
// and the recovery writer's scheduling; painting comes later and is not
// counted here.
void BM_RegisterDayInOneYearJournal(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath("config"));
    {
        CQuilloxDoc year;
        fill(year, 365);
        year.writeJournal("zph0001.txt");
    }
    CZephalonteApp app;
    if (!app.startUp({QStringLiteral("zephalonte")})) {
        state.SkipWithError("start-up failed");
        return;
    }
    CInputView *form = app.mainFrame()->inputView();
    auto *weight = form->findChild<QLineEdit *>("weightEdit");
    auto *registerButton = form->findChild<QPushButton *>("registerButton");
    auto *picker = form->findChild<QDateEdit *>("datePicker");
    const QDate day(1800, 6, 1);
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        picker->setDate(day);
        weight->setText(QString::number(60 + (++i % 10) * 0.1));
        state.ResumeTiming();
        registerButton->click();
    }
    app.recoveryWriter().settle();
}
BENCHMARK(BM_RegisterDayInOneYearJournal)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
