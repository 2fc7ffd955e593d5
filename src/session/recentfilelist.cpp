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
    settings.beginGroup(groupName);
    for (int i = 0; i < maxEntries; ++i) {
        // A shorter list must not leave stale keys behind to reappear later.
        if (i < entries_.size())
            settings.setValue(entryKey(i), entries_.at(i));
        else
            settings.remove(entryKey(i));
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
