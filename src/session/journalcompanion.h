#pragma once

#include <QString>

#include <string>

// The files that belong to a journal, which no command may ever write its
// output onto: the journal itself, its ".bak", its lock (and QLockFile's
// ".rmlock"), and every copy kept of it: "<journal>.damaged-*" (a damaged
// load), ".<journal>.recovery" (unsaved changes), "<journal>.recovered-*"
// and "<journal>.conflict-*" (versions kept aside). A candidate is one of
// them when it is the same file (device and inode, after its links), or
// when it has one of those names in the journal's folder, either beside
// the journal's path or beside the file the journal's links end in.
//
// journalPath is the session's (absolute); candidatePath is as the user
// gave it, relative to the working folder. Both as the system spells them
// in the native overload.
bool isJournalCompanion(const QString &journalPath, const QString &candidatePath);
bool isJournalCompanion(const std::string &journalPath, const std::string &candidatePath);

// Whether name (a bare file name) is the journal's own or one of its
// companions' names, for a journal named journalName.
bool isCompanionName(const std::string &journalName, const std::string &name);
