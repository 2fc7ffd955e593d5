#pragma once

#include <QString>

#include <string>

// A path as the file system spells it (the locale's encoding of file names),
// for the core's file functions.
std::string nativePath(const QString &path);
