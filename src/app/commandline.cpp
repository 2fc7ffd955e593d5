#include "app/commandline.h"

#include "app/apptexts.h"
#include "qttext/uitext.h"

#include <string_view>

InformationRequest informationRequest(int argc, const char *const argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "-h")
            return InformationRequest::help;
        if (argument == "--version")
            return InformationRequest::version;
    }
    return InformationRequest::none;
}

StartupArguments parseStartupArguments(const QStringList &arguments)
{
    StartupArguments parsed;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        // A lone "-" is a file name like any other.
        if (!optionsEnded && argument.size() > 1 && argument.startsWith(QLatin1Char('-'))) {
            parsed.error = ui(apptext::unknownOption).arg(argument);
            return parsed;
        }
        if (!parsed.journalPath.isEmpty()) {
            parsed.error = ui(apptext::extraArgument).arg(argument);
            return parsed;
        }
        parsed.journalPath = argument;
    }
    return parsed;
}
