#pragma once

#include <QString>
#include <QStringList>

// The program's command line: an optional journal file; "--" ends the
// options, so a file whose name begins with "-" can be opened too. Its only
// options, --help (or -h) and --version, are answered before Qt starts; any
// other word beginning with "-" is refused rather than skipped: a mistyped
// option must not go unnoticed.

// What main()'s argv asks before Qt has seen it. Help and the version need
// no display and open no window; the first of them before "--" counts, so a
// journal named "--help" still opens after "--".
enum class InformationRequest { none, help, version };
InformationRequest informationRequest(int argc, const char *const argv[]);

struct StartupArguments {
    QString journalPath; // empty: the current user's journal
    QString error;       // a mistake in the command line (Japanese): no start
};

// arguments as QCoreApplication::arguments() gives them (Qt's own options
// already taken out), the program's name first.
StartupArguments parseStartupArguments(const QStringList &arguments);
