// Figures for the graph's one drawing: a full repaint of a wide pane with all
// eight series shown, on an ordinary and on a 200 % screen, and the printed
// page written to a PDF file, on a 100,000-day journal (far longer than
// anyone records).

#include "docsetup.h"
#include "faces/designfaces.h"
#include "graph/graphrenderer.h"
#include "journal/cquilloxdoc.h"
#include "trend/trend.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>

namespace {

constexpr int journalDays = 100'000;
constexpr std::uint32_t journalSeed = 20020512;
const QSize paneSize(1920, 600);

CQuilloxDoc makeJournal(std::int32_t graphNDays)
{
    CQuilloxDoc doc;
    std::mt19937 random(journalSeed);
    std::uniform_real_distribution<double> unit(0, 1);
    const Date last = todayDate();
    const Date first = last - std::chrono::days{journalDays - 1};
    for (Date day = first; day <= last; day += std::chrono::days{1}) {
        const bool jog = unit(random) < 0.5;
        const bool walk = unit(random) < 0.4;
        putDay(doc, day, "", 55 + 10 * unit(random), 20 + 8 * unit(random),
               jog ? 3 + 7 * unit(random) : 0, jog ? 900 + 2700 * unit(random) : 0,
               walk ? 1 + 5 * unit(random) : 0, walk ? 600 + 3000 * unit(random) : 0);
    }
    GraphSettings s = doc.graphSettings();
    s.graphWeight = s.graphFatPercent = s.graphFat = s.graphNotFat = true;
    s.graphJogDistance = s.graphJogDuration = s.graphWalkDistance = s.graphWalkDuration = true;
    *graphSettingsOf(doc) = s;
    doc.setGraphPeriod(graphNDays);
    return doc;
}

// At ratio 2 (a 200 % screen) the image has four times the pixels of the
// pane's logical size.
// withLines: the trend and goal lines on, the trends worked out once before,
// as the pane has them from its journal context.
// dpi: 0 leaves the image's own (72 dpi, u = 6); 96 is a common screen's,
// where the trend line is 2 pixels wide.
void paneRepaint(benchmark::State &state, std::int32_t graphNDays, qreal ratio,
                 bool withLines = false, int dpi = 0)
{
    CQuilloxDoc doc = makeJournal(graphNDays);
    objectiveOf(doc)->weight = 50; // below every weight: the goal widens the scale
    const JournalTrends trends = journalTrends(doc.dayList());
    const GraphOverlays overlays = withLines ? GraphOverlays{&trends, true} : GraphOverlays{};
    const GraphPeriodState period = graphPeriodStateFor(doc, todayDate());
    QImage image(paneSize * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    if (dpi > 0) {
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
    }
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        GraphPeriodState shown = period;
        drawGraph(painter, doc, period.periodEnd, shown, QRect(QPoint(), paneSize), screenGraphK,
                  false, overlays);
    }
    benchmark::DoNotOptimize(image.constBits());
}

void BM_PaneRepaintTenWeeks(benchmark::State &state)
{
    paneRepaint(state, 70, 1);
}
BENCHMARK(BM_PaneRepaintTenWeeks)->Unit(benchmark::kMillisecond);

void BM_PaneRepaintOneYear(benchmark::State &state)
{
    paneRepaint(state, -12, 1);
}
BENCHMARK(BM_PaneRepaintOneYear)->Unit(benchmark::kMillisecond);

void BM_PaneRepaintTenWeeksAtRatio2(benchmark::State &state)
{
    paneRepaint(state, 70, 2);
}
BENCHMARK(BM_PaneRepaintTenWeeksAtRatio2)->Unit(benchmark::kMillisecond);

void BM_PaneRepaintOneYearAtRatio2(benchmark::State &state)
{
    paneRepaint(state, -12, 2);
}
BENCHMARK(BM_PaneRepaintOneYearAtRatio2)->Unit(benchmark::kMillisecond);

void BM_PaneRepaintTenWeeksWithLines(benchmark::State &state)
{
    paneRepaint(state, 70, 1, true);
}
BENCHMARK(BM_PaneRepaintTenWeeksWithLines)->Unit(benchmark::kMillisecond);

void BM_PaneRepaintOneYearWithLines(benchmark::State &state)
{
    paneRepaint(state, -12, 1, true);
}
BENCHMARK(BM_PaneRepaintOneYearWithLines)->Unit(benchmark::kMillisecond);

void BM_PaneRepaintOneYear96Dpi(benchmark::State &state)
{
    paneRepaint(state, -12, 1, false, 96);
}
BENCHMARK(BM_PaneRepaintOneYear96Dpi)->Unit(benchmark::kMillisecond);

void BM_PaneRepaintOneYearWithLines96Dpi(benchmark::State &state)
{
    paneRepaint(state, -12, 1, true, 96);
}
BENCHMARK(BM_PaneRepaintOneYearWithLines96Dpi)->Unit(benchmark::kMillisecond);

void BM_PaneRepaintTenWeeksWithLinesAtRatio2(benchmark::State &state)
{
    paneRepaint(state, 70, 2, true);
}
BENCHMARK(BM_PaneRepaintTenWeeksWithLinesAtRatio2)->Unit(benchmark::kMillisecond);

void BM_PaneRepaintOneYearWithLinesAtRatio2(benchmark::State &state)
{
    paneRepaint(state, -12, 2, true);
}
BENCHMARK(BM_PaneRepaintOneYearWithLinesAtRatio2)->Unit(benchmark::kMillisecond);

// The whole job: start the PDF, draw the page at 1200 dpi, finish the file.
void BM_PrintPageToPdf(benchmark::State &state)
{
    const CQuilloxDoc doc = makeJournal(70);
    const GraphPeriodState period = graphPeriodStateFor(doc, todayDate());
    QTemporaryDir directory;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setOutputFileName(directory.filePath(QStringLiteral("graph.pdf")));
    for (auto _ : state) {
        QPainter painter(&printer);
        GraphPeriodState shown = period;
        drawGraph(painter, doc, period.periodEnd, shown,
                  QRect(0, 0, printer.width(), printer.height()), paperGraphK, true);
        painter.end();
    }
}
BENCHMARK(BM_PrintPageToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // No window is shown: the drawing goes into images and files.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
