#pragma once

#include "journal/editlog.h"
#include "journal/folder.h"
#include "journal/safesave.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

// When the journal's folder is deleted while the journal is open (a memory
// stick pulled out, a sync client or the user removing the folder), a store
// has nowhere to go. The journal then goes to a rescue file in the user's
// own data folder instead, "$XDG_DATA_HOME/zephalonte/rescue/<stem>-
// YYYYMMDD-HHMMSS.txt", private to the user (files 0600, folders 0700), and
// the next start of the window names it. The same folder keeps the edit log
// of a journal whose own log cannot be written (its path is a folder or a
// file that cannot be read).

// "$XDG_DATA_HOME/zephalonte/rescue"; without an absolute XDG_DATA_HOME,
// "~/.local/share/zephalonte/rescue".
QString rescueFolderPath();

// Opens the rescue folder, creating the folders that are missing with mode
// 0700 (and narrowing the rescue folder itself to 0700). On failure the
// result is not open and *error (when given) holds the errno value.
Folder openRescueFolder(int *error = nullptr);

struct RescueFile {
    QString path; // empty when it could not be written
    FileProblem problem = FileProblem::none;
    QString systemReason;
};

// Writes bytes to a new file of the rescue folder, named after the journal's
// file name without its extension and the moment ("zph0001-20261209-
// 101500.txt", then "-2" and so on before ".txt" when taken), mode 0600,
// and notes it for takeRescueNotices.
RescueFile writeRescueFile(const Folder &rescueFolder, const std::string &journalName,
                           std::string_view bytes, const QDateTime &when);

// The rescue files written since the last call (by the window or zeph) that
// are still there, oldest first, with their full paths; each is told once.
// Nothing when there is no rescue folder.
QStringList takeRescueNotices();

// The name, in the rescue folder, of the edit log of a journal whose own log
// cannot be used: named after the journal and its folder's device and inode
// (as the log's header names them), so that the next open of that journal
// finds it.
std::string rescueLogName(const EditLogHeader &header);
