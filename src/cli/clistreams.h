#pragma once

#include <QString>

#include <string>
#include <string_view>

// Standard input, output and error as every command of zeph uses them.

// Names that mean standard input or output instead of a file.
bool isStandardStream(const std::string &name);

void writeOut(std::string_view text);

// Message boxes break lines with CR LF; a terminal wants LF.
std::string withLineFeeds(std::string_view text);

// A message of the program, with line feeds, after the program's name.
void writeError(std::string_view text);
void writeQtError(const QString &text);

// A standard stream the caller closed (`<&-`, `>&-`) is given a placeholder
// that fails every read or write: otherwise the next file opened (the lock,
// an output file) would take its number, and the journal's lock would
// receive the listing. Reading or writing it then fails and is reported.
void holdClosedStandardStreams();

// Standard output could not take everything (a full disk, a closed pipe):
// reported, and the exit status says so.
int finishOutput();

// A file's name as the messages show it.
QString shownName(const std::string &name);

// Reads a whole file, or standard input; reports a failure in the window's
// words.
bool readInput(const std::string &name, std::string &bytes);
