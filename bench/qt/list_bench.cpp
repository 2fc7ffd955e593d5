// Figures for the journal list on a long journal: 100,000 consecutive days
// with memos, far more than a person records.

#include "docsetup.h"
#include "faces/designfaces.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "list/listline.h"
#include "list/listpainter.h"
#include "list/listrows.h"
#include "pane/journalcontext.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr int journalDays = 100'000;
constexpr int paneWidth = 520;
constexpr int paneHeight = 1000;
const Date firstDate = makeDate(1800, 1, 1);

// ジョギング後、膝が少し痛い\n要注意 (stored form)
const char *const memo =
    "\x83\x57\x83\x87\x83\x4d\x83\x93\x83\x4f\x8c\xe3\x81\x41\x95\x47\x82\xaa\x8f\xad\x82\xb5"
    "\x92\xc9\x82\xa2\\n\x97\x76\x92\x8d\x88\xd3";

void fill(CQuilloxDoc &document)
{
    for (int i = 0; i < journalDays; ++i)
        putDay(document, firstDate + std::chrono::days(i), i % 3 ? memo : "", 60 + (i % 100) * 0.1,
               20 + (i % 50) * 0.1, i % 2 ? 5.2 : 0, i % 2 ? 1830 : 0, 3, 3725);
}

// The pane's paint: every row it can show formatted and drawn off-screen,
// then the image copied to the surface in one go. Scrolled to the middle of
// the journal, with the selected day in sight. At ratio 2 (a 200 % screen)
// the images have four times the pixels.
void listRepaint(benchmark::State &state, qreal ratio)
{
    CQuilloxDoc document;
    fill(document);
    ListRows rows;
    rows.refresh(document);
    const int scroll = journalDays / 2 * 18;
    const Date selected = rows.entry(journalDays / 2 + 10).date;
    const QRawFont font = listRawFont();
    const QSize pane(paneWidth, paneHeight);
    QImage offscreen(pane * ratio, QImage::Format_RGB32);
    offscreen.setDevicePixelRatio(ratio);
    QImage surface(pane * ratio, QImage::Format_RGB32);
    surface.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        {
            QPainter painter(&offscreen);
            drawJournalList(painter, font, QRect(QPoint(), pane), rows, scroll, selected, Qt::white,
                            Qt::black);
        }
        QPainter(&surface).drawImage(0, 0, offscreen);
        benchmark::DoNotOptimize(surface.constBits());
    }
}

void BM_ListRepaint(benchmark::State &state)
{
    listRepaint(state, 1);
}
BENCHMARK(BM_ListRepaint)->Unit(benchmark::kMicrosecond);

void BM_ListRepaintAtRatio2(benchmark::State &state)
{
    listRepaint(state, 2);
}
BENCHMARK(BM_ListRepaintAtRatio2)->Unit(benchmark::kMicrosecond);

// The list pane over the long journal, 1000 pixels high.
struct LongJournalPane {
    LongJournalPane()
    {
        fill(document);
        view.resize(paneWidth, paneHeight);
        context.updateAllViews();
    }
    CQuilloxDoc document{todayDate()};
    JournalContext context{document, todayDate()};
    CQuilloxView view{context};
};

// The pane's part of "update all views" when another pane selects a day: the
// selected row found, scroll sizes set, the row brought into view (the two
// days are far apart, so every update scrolls).
void BM_ListViewUpdate(benchmark::State &state)
{
    LongJournalPane pane;
    JournalContext &context = pane.context;
    const Date days[] = {firstDate + std::chrono::days(10),
                         firstDate + std::chrono::days(journalDays - 10)};
    int turn = 0;
    for (auto _ : state) {
        context.setSelectedDate(days[turn ^= 1]);
        context.updateAllViews();
    }
}
BENCHMARK(BM_ListViewUpdate)->Unit(benchmark::kMicrosecond);

// The same update after a day was added or removed: the list follows the one
// step instead of taking every row anew.
void BM_ListViewUpdateAfterNewDay(benchmark::State &state)
{
    LongJournalPane pane;
    CQuilloxDoc &document = pane.document;
    JournalContext &context = pane.context;
    const Date extra = firstDate + std::chrono::days(journalDays);
    for (auto _ : state) {
        state.PauseTiming();
        if (document.findDay(extra))
            dropDay(document, extra);
        else
            putDay(document, extra, "", 61, 0, 0, 0, 0, 0);
        state.ResumeTiming();
        context.updateAllViews();
    }
}
BENCHMARK(BM_ListViewUpdateAfterNewDay)->Unit(benchmark::kMicrosecond);

void BM_ListLine(benchmark::State &state)
{
    const DayRecord entry{makeDate(2002, 5, 12), 65.5, 21.3, 5.2, 1830, 3, 3725, memo};
    for (auto _ : state)
        benchmark::DoNotOptimize(listLine(entry));
}
BENCHMARK(BM_ListLine);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
