#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clioutput.h"
#include "cli/clistreams.h"
#include "cli/exitstatus.h"
#include "cli/graphimages.h"
#include "faces/designfaces.h"
#include "trend/trend.h"

#include <QGuiApplication>

#include <optional>

namespace {

// Qt's own notes (a missing runtime folder, a font fallback) are no business
// of a script reading zeph's standard error; only real failures get through.
void qtMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        writeQtError(message);
    }
}

} // namespace

int runGraph(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    CQuilloxDoc &doc = journal.document();
    if (request.graphNDays) {
        doc.setGraphPeriod(*request.graphNDays); // for this drawing only
    }
    // The period the pane opens on when the selected day is today.
    const Date selected = request.date.value_or(todayDate());
    GraphPeriodState period = graphPeriodStateFor(doc, selected);

    // Drawing text needs a GUI application; the offscreen platform gives one
    // without a display, whatever the environment names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(qtMessage);
    int argc = 1;
    char name[] = "zeph";
    char *argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    installFontSubstitutes();

    if (refuseCompanionOutput(journal.path(), request.output)) {
        return exitBadInput;
    }
    const std::optional<JournalTrends> trends =
        request.trend ? std::optional(journalTrends(doc.dayList())) : std::nullopt;
    const GraphOverlays overlays{trends ? &*trends : nullptr, request.goal};
    const QByteArray bytes = request.pdf ? printedGraphPdf(doc, selected, period, overlays)
                                         : screenGraphPng(doc, selected, period, request.width,
                                                          request.height, request.scale, overlays);
    return writeOutputFile(
        request.output,
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}
