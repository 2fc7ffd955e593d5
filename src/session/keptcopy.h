#pragma once

#include "journal/safesave.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

// Copies of a journal that the program keeps beside it so that nothing is
// lost: the file as it was before a load skipped lines (damaged), a recovery
// file the user chose not to restore (recovered), and another program's
// version found on disk before a store (conflict). Each holds health data,
// so it takes the journal's permission bits, never wider ones.

// The permission bits of the journal, or none when it does not exist (a new
// file then gets the user's default).
std::optional<unsigned> journalPermissions(const QString &journalPath);
// The same for the journal `name` in a held folder (see journal/folder.h).
std::optional<unsigned> journalPermissions(int folder, const std::string &name);

// base itself when nothing has that name, else base-2, base-3, ...
QString firstFreeName(const QString &base);
// The same among the names of a held folder.
std::string firstFreeName(int folder, const std::string &base);

// The kinds of kept copy, named once: the writers use them, and the check
// that no command writes its output onto a journal's companion knows them.
namespace keptcopykind {
inline constexpr char damaged[] = "damaged";
inline constexpr char recovered[] = "recovered";
inline constexpr char conflict[] = "conflict";
inline constexpr const char *all[] = {damaged, recovered, conflict};
} // namespace keptcopykind

// The recovery file's name is "." + the journal's name + this.
inline constexpr char recoverySuffix[] = ".recovery";

// "<journal>.<kind>-<stamp>", the first free one.
QString keptCopyPath(const QString &journalPath, const char *kind, const QString &stamp);
// The same name in the journal's held folder.
std::string keptCopyName(int folder, const std::string &journalName, const char *kind,
                         const QString &stamp);

struct KeptCopy {
    QString path; // empty when no copy could be made
    FileProblem problem = FileProblem::none;
    QString systemReason;
};

// Writes bytes as a new file at copyPath with the journal's permission bits;
// never replaces an existing file, also one made by another program between
// choosing the name and writing it.
KeptCopy keepCopy(const QString &journalPath, std::string_view bytes, const QString &copyPath);
// The same in the journal's held folder; the copy's path is copyName
// there, as folderPath (the folder's path now) names it.
KeptCopy keepCopy(int folder, const std::string &journalName, std::string_view bytes,
                  const std::string &copyName, const QString &folderPath);

// The stamp of a conflict copy: the local date and time to the second.
QString conflictStamp(const QDateTime &when);
