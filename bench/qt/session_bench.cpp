// Figures for keeping days safe: the edit log of a 100,000-day journal (what
// the user-interface thread does for one edit), and the user-interface
// thread's work for one registration in a one-year journal, through the real
// main window with everything that follows a change.

#include "app/cmainframe.h"
#include "app/czephalonteapp.h"
#include "docsetup.h"
#include "entry/cinputview.h"
#include "journal/cquilloxdoc.h"
#include "journal/edit.h"
#include "journal/safesave.h"
#include "session/editlogwriter.h"
#include "session/journalsession.h"

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

// What the user-interface thread does for one edit of a day: the document
// takes it and the log's record is handed to the kernel (the fdatasync runs
// on the writer's worker). The first edit after a load or a store creates the
// log (Arg 1); the others append (Arg 0).
void BM_EditLogOneDayOnUiThread(benchmark::State &state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/editlog-bench-XXXXXX"));
    CQuilloxDoc document;
    fill(document, 100'000);
    const std::string text = document.journalText();
    const std::string journal = QFile::encodeName(dir.filePath("zph0001.txt")).toStdString();
    saveFileAtomically(journal, text, false);
    EditLogHeader header{"zph0001.txt", 0, 0, hashContent(text)};
    EditLogWriter writer;
    writer.setTarget(QFile::encodeName(dir.filePath(".zph0001.txt.recovery")).toStdString(), header,
                     0600u);
    const bool creating = state.range(0) == 1;
    int i = 0;
    for (auto _ : state) {
        if (creating) {
            state.PauseTiming();
            writer.startOver(header);
            state.ResumeTiming();
        }
        DayRecord day = *document.findDay(firstDate + std::chrono::days(50'000 + i % 1000));
        day.weight += ++i % 2 ? 0.1 : -0.1;
        writer.record(document.applyEdit(dayEdit(document, day)).inverse());
    }
    if (!writer.holdsEverything())
        state.SkipWithError("the log could not be written");
}
BENCHMARK(BM_EditLogOneDayOnUiThread)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A store of 100,000 days through the session, as the window stores: the
// text, the hash that becomes the edit log's base, the write with its .bak.
void BM_SessionStore100k(benchmark::State &state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/store-bench-XXXXXX"));
    CQuilloxDoc document;
    fill(document, 100'000);
    const QString journal = dir.filePath("zph0001.txt");
    document.writeJournal(QFile::encodeName(journal).toStdString());
    JournalSession session(document);
    if (session.open(journal, JournalSession::OpenMode::named, firstDate).status !=
        OpenOutcome::Status::opened) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        if (!session.store().stored)
            state.SkipWithError("store failed");
    }
}
BENCHMARK(BM_SessionStore100k)->Unit(benchmark::kMillisecond);

// One day registered through the entry form of the real main window over a
// one-year journal: reading the form, storing the day, every pane's update
// and the record appended to the edit log; painting comes later and is not
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
