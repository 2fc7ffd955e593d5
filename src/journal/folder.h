#pragma once

#include <string>

// A folder held open by a descriptor, so that the files in it are written,
// read and removed relative to it (openat, renameat, linkat, unlinkat,
// fstatat) rather than by a path looked up anew each time: a journal's
// folder renamed or moved while the journal is open keeps taking its
// stores, its .bak, its copies and its edit log, and a folder deleted
// meanwhile is recognised as such instead of being created again by name.
class Folder {
  public:
    Folder() = default;
    ~Folder();
    Folder(Folder &&other) noexcept;
    Folder &operator=(Folder &&other) noexcept;
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    // Opens the folder at path (relative to the working folder). A folder
    // that may be entered but not listed is held all the same: only the
    // clean-up of interrupted saves needs to list it. On failure the result
    // is not open and *error (when given) holds the errno value.
    static Folder open(const std::string &path, int *error = nullptr);
    // The same for a path relative to another folder's descriptor (or
    // AT_FDCWD); an absolute path ignores it.
    static Folder openAt(int base, const std::string &path, int *error = nullptr);

    bool isOpen() const { return fd_ >= 0; }
    // For the *at() calls; -1 when not open.
    int fd() const { return fd_; }
    // A second descriptor of the same folder (for another owner, such as a
    // writer on a thread of its own).
    Folder duplicate() const;

    // Whether the folder has been deleted since it was opened: no name links
    // it any more, and nothing can be created in it.
    bool deleted() const;

    // Where the folder is now, after renames too, as the system names it;
    // empty when that cannot be told.
    std::string currentPath() const;

    // A path naming `name` in this folder through its descriptor
    // ("/proc/self/fd/N/name"), for an interface that takes only paths: it
    // follows the folder wherever it moves, as the *at() calls do, for as
    // long as the descriptor is open.
    std::string pathThrough(const std::string &name) const;

  private:
    explicit Folder(int fd) : fd_(fd) {}
    void close();

    int fd_ = -1;
};
