#pragma once

#include "journal/editlog.h"
#include "journal/folder.h"
#include "journal/safesave.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// Appends each edit to the journal's edit log (see journal/editlog.h) the
// moment it is applied: the record is handed to the kernel with write()
// before control goes back to the event loop, so a kill at any moment after
// the window shows a change loses nothing. fdatasync follows on a worker
// thread at once, so the user never waits for the disk and a power cut
// loses at most the last moment's edits.
//
// The log is created at the first edit after a load or a store (a journal
// nobody changes has none), through a temporary file renamed into place, so
// that a log it replaces stays whole until the new one holds its first
// record. Plain C++ and POSIX: the window and the tests use it alike.
class EditLogWriter : public EditRecorder {
  public:
    EditLogWriter();
    ~EditLogWriter() override; // syncs what was written and ends the worker

    EditLogWriter(const EditLogWriter &) = delete;
    EditLogWriter &operator=(const EditLogWriter &) = delete;

    // Where the log goes, the journal it belongs to and the permission bits
    // it takes (the journal's). An empty path turns the log off (untitled
    // journal, no lock, a log found at the open still unresolved).
    //
    // The log is written relative to its folder, held open from here on: a
    // folder renamed meanwhile keeps taking the log. Given a path, the
    // folder is opened now (the same path again keeps the folder held).
    void setTarget(const std::string &path, const EditLogHeader &header,
                   std::optional<unsigned> permissions);
    // The same for the log `name` in a held folder (the session's, or the
    // rescue folder); shownPath names it in messages.
    void setTarget(const Folder &folder, const std::string &name, const std::string &shownPath,
                   const EditLogHeader &header, std::optional<unsigned> permissions);
    const std::string &path() const { return path_; }

    // The edits so far are in the journal (a store) or gone with it (a
    // load): the log file is removed, and the next edit starts a new one on
    // this header.
    void startOver(const EditLogHeader &header);
    // The edits now rest on another base (another program's version, merged
    // in): the next record starts a new log on this header, which replaces
    // the old one only once it holds that record.
    void rebase(const EditLogHeader &header);

    void record(const Edit &applied) override;

    // Whether every edit recorded since the last start is in the file.
    bool holdsEverything() const { return unwritten_.empty(); }
    // Waits until what was written is on the disk (the end of a session).
    void syncNow();

    // Told when writing starts failing (with the reason) and when it works
    // again, on the thread that records.
    struct Trouble {
        bool failing = false;
        FileProblem problem = FileProblem::none;
        std::string systemReason;
    };
    void setTroubleListener(std::function<void(const Trouble &)> listener)
    {
        listener_ = std::move(listener);
    }

  private:
    bool create(std::string &bytes, int &error);
    bool appendAll(const std::string &bytes, int &error);
    void closeLog();
    void retarget(Folder folder, const std::string &name, const std::string &shownPath);
    void report(bool failing, int error);
    void syncLoop();

    std::string path_; // as messages show it
    std::string name_; // in folder_
    EditLogHeader header_;
    std::optional<unsigned> permissions_;
    // Records not in the file yet: a write failed (a full disk); the next
    // edit writes them first.
    std::string unwritten_;
    // Bytes of whole records in the file: a failed write is cut back to it,
    // so that no torn record hides the records after it.
    std::size_t length_ = 0;
    bool failing_ = false;
    std::function<void(const Trouble &)> listener_;

    // fd_ and folder_ are changed on the recording thread under fdMutex_
    // and read by the worker under it; the recording thread's own writes
    // need no lock.
    int fd_ = -1;
    Folder folder_;
    std::mutex fdMutex_;
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool syncWanted_ = false;
    bool folderToSync_ = false; // a new log's name is in folder_
    bool stopping_ = false;
    std::thread worker_;
};
