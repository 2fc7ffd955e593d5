#pragma once

#include <QSettings>

#include <memory>

// The per-user profile: the two user numbers and the recent-file list, under
// the company's and the program's name. The window and the command-line
// companion read the same one, so both open the same user's journal.
std::unique_ptr<QSettings> openUserProfile();

struct ProfileUsers {
    int nUser = 1;       // read, not used further
    int crntUserNum = 1; // names the current user's journal file
};
ProfileUsers readProfileUsers(QSettings &profile);
