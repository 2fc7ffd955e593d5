#pragma once

#include <string>
#include <string_view>

struct SaveResult {
    // True when the file now holds exactly the given bytes. When false, the
    // file at the path is exactly as it was before the call and no temporary
    // file is left behind.
    bool saved = false;
    // Why the file could not be written (English, with the system's reason).
    std::string error;
    // Set when the file was written but its previous version could not be
    // kept as path + ".bak"; the old .bak, if any, is then still whole.
    std::string backupWarning;
};

// The one way this program writes a file. The bytes go to a new file in the
// same directory, which is flushed to disk and then renamed over the target,
// so a crash or a full disk never leaves a truncated file in its place. The
// new file keeps the permission bits of the one it replaces (a new file gets
// 0666 less the umask). With keepBackup, the version being replaced is kept
// as path + ".bak" first; that is best effort and never stops the save.
// A symbolic link at the path is followed: the file it names is replaced and
// the link stays.
SaveResult saveFileAtomically(const std::string &path, std::string_view bytes, bool keepBackup);

// Reads the whole file at path into bytes. On failure bytes is untouched and
// error holds the system's reason.
bool readFileBytes(const std::string &path, std::string &bytes, std::string &error);
