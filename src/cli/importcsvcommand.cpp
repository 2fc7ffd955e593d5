#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "cli/clitexts.h"
#include "cli/exitstatus.h"
#include "cli/journalcsv.h"

#include <string>

using clitext::fillText;

int runImportCsv(const CliRequest &request)
{
    // The input is read and judged before the journal is touched.
    std::string csv;
    if (!readInput(request.input, csv)) {
        return exitBadInput;
    }
    const JournalCsvRead read = readJournalCsv(csv);
    if (!read.fatalError.empty()) {
        writeError(read.fatalError);
        return exitBadInput;
    }
    for (const CsvRejectedLine &line : read.rejected) {
        writeError(fillText(clitext::csvLine, {std::to_string(line.lineNumber), line.reason}));
    }
    for (const CsvRejectedLine &line : read.rounded) {
        writeError(fillText(clitext::csvLine, {std::to_string(line.lineNumber), line.reason}));
    }
    if (!read.rejected.empty() && !request.skipBad) {
        writeError(
            fillText(clitext::csvRejectedNothingStored, {std::to_string(read.rejected.size())}));
        return exitBadInput;
    }

    // A file of nothing but bad lines changes no day: the journal is left alone.
    if (!read.days.empty()) {
        OpenJournal journal(request, true);
        if (!journal.opened()) {
            return journal.failureStatus();
        }
        mergeDays(journal.document(), read.days);
        if (!journal.store()) {
            return exitJournalFailure;
        }
    }
    if (!read.rejected.empty()) {
        writeError(fillText(clitext::csvSkipped, {std::to_string(read.rejected.size())}));
    }
    writeOut(fillText(clitext::csvImported, {std::to_string(read.days.size())}) + "\n");
    return finishOutput();
}
