#pragma once

#include <QString>

#include <string>
#include <string_view>

// File names as the system gives them (bytes) and as the session holds them
// (text). Qt 6 converts between the two through UTF-8 on Linux, so a name
// holding bytes that are not UTF-8 (a folder named in code page 932, a
// "diary\xff.txt") would become U+FFFD and name another file: such names
// are refused, with a message, rather than read or created under another
// name.

// Whether bytes name the same file once turned into text and back.
bool isTextName(std::string_view bytes);

// The name for a message: UTF-8 as it is, every other byte as \xNN.
QString shownNativeName(std::string_view bytes);

// The journal's path as text, from the bytes the user gave (relative to the
// working folder, whose own name must then be text too). Empty, with
// *problem set to the message (Japanese), when it cannot be.
QString journalPathText(const std::string &bytes, QString *problem);

// The message when the working folder's name is not text, for a journal
// named relative to it (the current user's); empty when it is text.
QString workingFolderProblem();

// Nothing at path, not even a link: a dangling link counts as missing (the
// first store creates its target), a loop of links or an unreadable folder
// does not.
bool isMissingFile(const QString &path);
