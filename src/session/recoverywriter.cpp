#include "session/recoverywriter.h"

#include "journal/cquilloxdoc.h"
#include "session/keptcopy.h"
#include "session/nativepath.h"

#include <chrono>

namespace {

// How often a pending write looks again whether the one in flight is done.
constexpr int busyRetryMs = 20;

} // namespace

RecoveryWriter::RecoveryWriter(const CQuilloxDoc &doc, QObject *parent) : QObject(parent), doc_(doc)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryWriter::writePending);
}

RecoveryWriter::~RecoveryWriter()
{
    if (inFlight_.valid())
        inFlight_.wait();
}

void RecoveryWriter::setTarget(const QString &recoveryPath, const QString &journalPath)
{
    if (recoveryPath == path_)
        return;
    settle();
    path_ = recoveryPath;
    journalPath_ = journalPath;
    anythingWritten_ = false;
}

void RecoveryWriter::documentChanged()
{
    if (path_.isEmpty() || !doc_.isModified())
        return;
    if (anythingWritten_ && doc_.changeCount() == writtenChange_)
        return;
    pending_ = true;
    // Not restarted by later changes: the file is never more than one delay
    // behind, however fast the user types.
    if (!timer_.isActive())
        timer_.start(delayMs);
}

bool RecoveryWriter::isIdle() const
{
    using namespace std::chrono_literals;
    return !timer_.isActive() &&
           (!inFlight_.valid() || inFlight_.wait_for(0s) == std::future_status::ready);
}

void RecoveryWriter::collect()
{
    if (!inFlight_.valid())
        return;
    const SaveResult result = inFlight_.get();
    if (!result.saved)
        anythingWritten_ = false; // the next change tries again with everything
    emit written(result.saved, QString::fromLocal8Bit(result.systemReason));
}

void RecoveryWriter::writePending()
{
    using namespace std::chrono_literals;
    if (inFlight_.valid() && inFlight_.wait_for(0s) != std::future_status::ready) {
        timer_.start(busyRetryMs);
        return;
    }
    collect();
    // Only a change asks for a write. A failed one (a full disk) is tried
    // again at the next notice, not in a loop that would keep the disk busy.
    if (!pending_ || path_.isEmpty() || !doc_.isModified())
        return;
    pending_ = false;
    writtenChange_ = doc_.changeCount();
    anythingWritten_ = true;
    inFlight_ = std::async(std::launch::async, [path = nativePath(path_), text = doc_.journalText(),
                                                permissions = journalPermissions(journalPath_)] {
        return saveFileAtomically(path, text, false, permissions);
    });
    // The worker cannot signal this thread itself; a short look brings the
    // result back here.
    QTimer::singleShot(busyRetryMs, this, [this] {
        if (inFlight_.valid() && !timer_.isActive())
            timer_.start(0);
    });
}

void RecoveryWriter::settle()
{
    timer_.stop();
    pending_ = false;
    if (inFlight_.valid())
        collect();
}

SaveResult RecoveryWriter::writeNow()
{
    settle();
    if (path_.isEmpty() || !doc_.isModified()) {
        SaveResult nothingToWrite;
        nothingToWrite.saved = true;
        return nothingToWrite;
    }
    SaveResult result = saveFileAtomically(nativePath(path_), doc_.journalText(), false,
                                           journalPermissions(journalPath_));
    writtenChange_ = doc_.changeCount();
    anythingWritten_ = result.saved;
    return result;
}
