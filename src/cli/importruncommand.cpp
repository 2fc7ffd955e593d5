#include "cli/clicommands.h"

#include "activity/activity.h"
#include "activity/activitytexts.h"
#include "activity/runimport.h"
#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "cli/exitstatus.h"
#include "journal/cquilloxdoc.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

int runImportRun(const CliRequest &request)
{
    // Every file is read and judged before the journal is touched.
    std::vector<RunImportSource> sources;
    bool unreadable = false;
    for (const std::string &name : request.inputs) {
        struct stat status {};
        if (!isStandardStream(name) && ::stat(name.c_str(), &status) == 0) {
            // A FIFO or a device is read as a stream, whatever its size says.
            const std::optional<std::string> refusal = activityFileRefusal(
                S_ISDIR(status.st_mode),
                S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0);
            if (refusal) {
                sources.push_back({shownName(name).toStdString(),
                                   ActivityFile{ActivityFormat::unknown, {}, *refusal}});
                continue;
            }
        }
        std::string bytes;
        if (!readInput(name, bytes)) {
            unreadable = true;
            continue;
        }
        sources.push_back({shownName(name).toStdString(), decodeActivityFile(bytes)});
    }
    std::optional<ActivityField> chosen;
    if (request.runField == "jog")
        chosen = ActivityField::jog;
    else if (request.runField == "walk")
        chosen = ActivityField::walk;
    const RunImportPlan plan = planRunImport(sources, chosen, activitytext::refusedSportHintCli);
    for (const std::string &problem : plan.problems) {
        writeError(problem);
    }
    for (const std::string &note : plan.notes) {
        writeError(note);
    }
    if (plan.hasImportable()) {
        OpenJournal journal(request, true);
        if (!journal.opened()) {
            return journal.failureStatus();
        }
        CQuilloxDoc &doc = journal.document();
        doc.applyEdit(runImportEdit(doc, plan, request.addToDay));
        if (!journal.store()) {
            return exitJournalFailure;
        }
        for (const RunImportRow &row : plan.rows) {
            if (row.field) {
                writeOut(runImportLine(row, request.addToDay) + "\n");
            }
        }
    }
    const int status = finishOutput();
    if (status != exitSuccess) {
        return status;
    }
    return unreadable || !plan.problems.empty() ? exitBadInput : exitSuccess;
}
