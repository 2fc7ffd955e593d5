#pragma once

#include "journal/safesave.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <future>

class CQuilloxDoc;

// Writes the document's whole text to the journal's recovery file (see
// recoveryfile.h) shortly after each change, so that a kill or a crash loses
// no registered day. The text is built on the calling thread, where the
// document lives; the disk write (temporary file, fsync, rename) runs on a
// worker thread, so the user never waits for the disk. One write is in
// flight at a time; changes meanwhile are gathered into the next one.
class RecoveryWriter : public QObject {
    Q_OBJECT
  public:
    // How long after a change the text is taken: changes in quick
    // succession (stepping through days) make one write, and the file is
    // never more than about this much behind the document.
    static constexpr int delayMs = 250;

    explicit RecoveryWriter(const CQuilloxDoc &doc, QObject *parent = nullptr);
    ~RecoveryWriter() override; // waits for a write in flight

    // Where to write, and the journal whose permission bits the file takes.
    // An empty path turns writing off (untitled journal, lock not held).
    void setTarget(const QString &recoveryPath, const QString &journalPath);
    QString target() const { return path_; }

    // The document may have changed: when it is modified and differs from
    // what was written last, its text is written within delayMs (plus a
    // write in flight).
    void documentChanged();

    // Waits for a write in flight and drops the pending one. Call before the
    // journal is stored or the recovery file removed, so that no late write
    // brings the file back; documentChanged() starts over afterwards.
    void settle();

    // Writes the current text now, on this thread, when the document is
    // modified: the last word before the program ends without a store.
    SaveResult writeNow();

    // Whether nothing is pending or in flight (for tests and shutdown).
    bool isIdle() const;

  signals:
    // A write finished; on failure the previous recovery file is as it was.
    void written(bool saved, const QString &systemReason);

  private:
    void writePending();
    void collect();

    const CQuilloxDoc &doc_;
    QTimer timer_;
    QString path_;
    QString journalPath_;
    // The document's change count at the text last handed to a write.
    std::uint64_t writtenChange_ = 0;
    bool anythingWritten_ = false;
    bool pending_ = false; // a change waits for its write
    std::future<SaveResult> inFlight_;
};
