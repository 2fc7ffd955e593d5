#pragma once

#include <QString>

#include <string>
#include <string_view>

// The files a command writes (an export, a graph): guarded against the
// journal's own files and written so that a failure keeps an earlier file.

// An output named as the journal or one of its companions (its .bak, lock
// or kept copies) is refused before anything is written: an export must
// never replace the journal it exports. True, reported, when it is refused.
bool refuseCompanionOutput(const QString &journal, const std::string &name);

// Writes a file the command produces: a regular file through the one safe
// save, so that a failure leaves an earlier file as it was; standard output,
// a FIFO or a device directly. The exit status.
int writeOutputFile(const std::string &name, std::string_view bytes);
