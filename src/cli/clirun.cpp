#include "cli/clirun.h"

#include "cli/cliarguments.h"
#include "cli/clitexts.h"
#include "cli/journalcheck.h"
#include "journal/safesave.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#ifndef ZPH_VERSION
#define ZPH_VERSION "0"
#endif

namespace {

using clitext::fillText;

// The commands this build carries out.
const std::vector<CliCommand> offeredCommands{CliCommand::check};

bool isOffered(CliCommand command)
{
    return command == CliCommand::none || std::find(offeredCommands.begin(), offeredCommands.end(),
                                                    command) != offeredCommands.end();
}

void writeOut(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// One error line (or several), after the program's name.
void writeError(std::string_view text)
{
    std::string line = "zeph: ";
    line += text;
    if (!line.ends_with('\n')) {
        line += '\n';
    }
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// Standard output could not take everything (a full disk, a closed pipe).
int finishOutput()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        writeError(clitext::outputFailed);
        return exitJournalFailure;
    }
    return exitSuccess;
}

int runCheck(const CliRequest &request)
{
    const std::string path = !request.input.empty() ? request.input : request.file;
    std::string bytes;
    std::string error;
    if (!readFileBytes(path, bytes, error)) {
        writeError(fillText(clitext::cannotOpen, {path, error}));
        return exitJournalFailure;
    }
    const std::vector<CheckFinding> findings = checkJournalText(bytes);
    writeOut(checkReport(path, findings));
    const int status = finishOutput();
    return status != exitSuccess ? status : findings.empty() ? exitSuccess : exitJournalFailure;
}

} // namespace

int runZeph(int argc, char *argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const CliParse parse = parseCommandLine(arguments);
    if (!parse.request) {
        writeError(parse.error);
        writeError(clitext::seeHelp);
        return exitBadInput;
    }
    const CliRequest &request = *parse.request;
    if (!isOffered(request.command)) {
        // Named in the arguments, since the parser accepted it.
        const auto name = std::find_if(arguments.begin(), arguments.end(),
                                       [](const std::string &a) { return !a.starts_with('-'); });
        writeError(fillText(clitext::unknownCommand, {name != arguments.end() ? *name : ""}));
        writeError(clitext::seeHelp);
        return exitBadInput;
    }
    if (request.help) {
        writeOut(usageText(request.command, offeredCommands));
        return finishOutput();
    }
    if (request.version) {
        writeOut(std::string("zeph (Zephalonte) ") + ZPH_VERSION + "\n");
        return finishOutput();
    }
    switch (request.command) {
    case CliCommand::check:
        return runCheck(request);
    default:
        break;
    }
    return exitBadInput; // not reached: every offered command is run above
}
