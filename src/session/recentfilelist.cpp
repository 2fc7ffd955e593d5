#include "session/recentfilelist.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString groupName = QStringLiteral("Recent File List");

QString entryKey(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

QString normalized(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

void RecentFileList::load(QSettings &settings)
{
    entries_.clear();
    settings.beginGroup(groupName);
    for (int i = 0; i < maxEntries; ++i) {
        const QString path = settings.value(entryKey(i)).toString();
        if (!path.isEmpty() && !entries_.contains(path))
            entries_.append(path);
    }
    settings.endGroup();
}

void RecentFileList::save(QSettings &settings) const
{
    // Only what changed is touched: a list opened again at the top leaves
    // the settings file unwritten, which spares every start its fsyncs.
    settings.beginGroup(groupName);
    for (int i = 0; i < maxEntries; ++i) {
        const QString key = entryKey(i);
        if (i < entries_.size()) {
            if (settings.value(key).toString() != entries_.at(i))
                settings.setValue(key, entries_.at(i));
        } else if (settings.contains(key)) {
            // A shorter list must not leave stale keys behind to reappear later.
            settings.remove(key);
        }
    }
    settings.endGroup();
}

void RecentFileList::add(const QString &path)
{
    const QString entry = normalized(path);
    entries_.removeAll(entry);
    entries_.prepend(entry);
    while (entries_.size() > maxEntries)
        entries_.removeLast();
}

void RecentFileList::remove(const QString &path)
{
    entries_.removeAll(normalized(path));
}
