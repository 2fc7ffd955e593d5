#include "cli/clicommands.h"

#include "cli/clijournal.h"
#include "cli/clistreams.h"
#include "list/listline.h"
#include "text/cp932.h"

#include <string>

int runShow(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    const CQuilloxDoc::DayList &days = journal.document().dayList();
    const auto first = request.from ? days.lower_bound(*request.from) : days.begin();
    const auto end = request.to ? days.upper_bound(*request.to) : days.end();
    // Written a piece at a time: a long journal's lines never sit in memory
    // at once, twice (code page 932 and UTF-8).
    constexpr std::size_t pieceBytes = 64 * 1024;
    std::string lines; // code page 932, as the list pane holds them
    lines.reserve(pieceBytes + 1024);
    for (auto it = end; it != first;) {
        --it;
        lines += listLine(it->second);
        lines += '\n';
        if (lines.size() >= pieceBytes) {
            writeOut(decodeCp932(lines).utf8);
            lines.clear();
        }
    }
    writeOut(decodeCp932(lines).utf8);
    return finishOutput();
}
