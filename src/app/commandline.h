#pragma once

#include <QString>
#include <QStringList>

// The program's command line: an optional journal file; "--" ends the
// options, so a file whose name begins with "-" can be opened too. The
// program has no options of its own, so any other word beginning with "-"
// is refused rather than skipped: a mistyped option must not go unnoticed.
struct StartupArguments {
    QString journalPath; // empty: the current user's journal
    QString error;       // set when the program must not start (Japanese)
};

// arguments as QCoreApplication::arguments() gives them (Qt's own options
// already taken out), the program's name first.
StartupArguments parseStartupArguments(const QStringList &arguments);
