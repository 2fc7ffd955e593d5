#include "session/journalwatcher.h"

#include <QDateTime>
#include <QFileInfo>

JournalWatcher::JournalWatcher(QObject *parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &JournalWatcher::noticed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &JournalWatcher::noticed);
    connect(&settle_, &QTimer::timeout, this, [this] {
        rearm();
        const Look now = look();
        if (now == last_) {
            emit settled();
            return;
        }
        last_ = now; // still moving: wait for it to stand still
        settle_.start(settleMs);
    });
}

void JournalWatcher::watch(const QString &journalPath)
{
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    settle_.stop();
    path_ = journalPath;
    if (path_.isEmpty())
        return;
    watcher_.addPath(QFileInfo(path_).absolutePath());
    rearm();
}

JournalWatcher::Look JournalWatcher::look() const
{
    const QFileInfo info(path_);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified().toMSecsSinceEpoch()};
}

void JournalWatcher::rearm()
{
    // A file replaced by a rename is dropped from the watch list: watch the
    // new one under the same name.
    if (!path_.isEmpty() && !watcher_.files().contains(path_) && QFileInfo::exists(path_))
        watcher_.addPath(path_);
}

void JournalWatcher::noticed()
{
    rearm();
    last_ = look();
    settle_.start(settleMs);
}
