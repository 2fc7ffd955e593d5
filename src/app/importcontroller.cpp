#include "app/importcontroller.h"

#include "activity/activitytexts.h"
#include "activity/importreader.h"
#include "app/cimportdlg.h"
#include "journal/cquilloxdoc.h"
#include "journal/edit.h"
#include "pane/edittexts.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"
#include "qttext/uitext.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>

#include <algorithm>
#include <vector>

namespace {

// A read shorter than this shows no progress at all.
constexpr int progressDelayMs = 500;
constexpr int progressSteps = 1000;

} // namespace

ImportController::ImportController(JournalContext &context, QWidget *window)
    : QObject(window), context_(context), window_(window)
{
}

void ImportController::importFiles(const QStringList &paths)
{
    std::vector<std::string> nativePaths;
    std::vector<ImportFile> files;
    QProgressDialog progress(window_);
    progress.setWindowTitle(ui(activitytext::dialogTitle));
    progress.setMinimumDuration(progressDelayMs);
    progress.setRange(0, progressSteps);
    progress.setAutoReset(false);
    progress.setValue(0);
    for (const QString &path : paths) {
        const QString shown = QFileInfo(path).fileName();
        progress.setLabelText(ui(activitytext::reading).arg(shown));
        ImportReadOptions options;
        options.progress = [&progress](std::uint64_t done, std::uint64_t total) {
            if (total > 0)
                progress.setValue(static_cast<int>(done * progressSteps / total));
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        };
        nativePaths.push_back(QFile::encodeName(path).toStdString());
        files.push_back(readImportInput(nativePaths.back(), shown.toStdString(), options));
    }
    progress.reset();

    // A Fitbit export gives no rows until the user names its unit in the dialog.
    const bool unitAwaited = std::any_of(
        files.begin(), files.end(), [](const ImportFile &file) { return file.needsWeightUnit; });
    CImportDlg dialog(context_.document(), std::move(nativePaths), std::move(files), window_);
    const ImportPlan &plan = dialog.plan();
    if (plan.rows.empty() && !unitAwaited) {
        // Nothing but inputs that cannot be read: their reasons are all there is to show.
        QStringList lines;
        for (const std::string &problem : plan.problems)
            lines << QString::fromStdString(problem);
        QMessageBox::warning(window_, ui(applicationTitle),
                             ui(activitytext::nothingToImport) + QStringLiteral("\n\n") +
                                 lines.join(QLatin1Char('\n')));
        return;
    }
    if (dialog.exec() != QDialog::Accepted || !plan.hasChanges())
        return;

    // The latest day is shown with the import already in it.
    context_.setSelectedDate(plan.changes.back().date);
    if (!context_.editor().apply(plan.edit(), ui(edittext::importRecords)))
        context_.updateAllViews();
    emit statusMessage(ui(activitytext::imported).arg(plan.counts.days));
}
