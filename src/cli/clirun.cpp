#include "cli/clirun.h"

#include "cli/cliarguments.h"
#include "cli/clicommands.h"
#include "cli/clistreams.h"
#include "cli/clitexts.h"
#include "cli/exitstatus.h"

#include <string>
#include <vector>

#ifndef ZPH_VERSION
#define ZPH_VERSION "0"
#endif

int runZeph(int argc, char *argv[])
{
    holdClosedStandardStreams();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const CliParse parse = parseCommandLine(arguments);
    if (!parse.request) {
        writeError(parse.error);
        writeError(clitext::seeHelp);
        return exitBadInput;
    }
    const CliRequest &request = *parse.request;
    if (request.help) {
        writeOut(usageText(request.command));
        return finishOutput();
    }
    if (request.version) {
        writeOut(std::string("zeph (Zephalonte) ") + ZPH_VERSION + "\n");
        return finishOutput();
    }
    switch (request.command) {
    case CliCommand::add:
        return runAdd(request);
    case CliCommand::show:
        return runShow(request);
    case CliCommand::advice:
        return runAdvice(request);
    case CliCommand::graph:
        return runGraph(request);
    case CliCommand::exportCsv:
        return runExportCsv(request);
    case CliCommand::importCsv:
        return runImportCsv(request);
    case CliCommand::check:
        return runCheck(request);
    case CliCommand::importRun:
        return runImportRun(request);
    case CliCommand::trend:
        return runTrend(request);
    case CliCommand::summary:
        return runSummary(request);
    case CliCommand::recover:
        return runRecover(request);
    case CliCommand::merge:
        return runMerge(request);
    default:
        break;
    }
    return exitBadInput; // not reached: the parser names a command
}
