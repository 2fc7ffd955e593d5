#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The recent-file list of the file menu: most recent first, four entries,
// kept in the user's settings file under "Recent File List" as File1..File4.
class RecentFileList {
  public:
    static constexpr int maxEntries = 4;

    void load(QSettings &settings);
    void save(QSettings &settings) const;

    const QStringList &entries() const { return entries_; }
    // Puts the path at the top; an entry for the same file moves up.
    void add(const QString &path);
    void remove(const QString &path);

  private:
    QStringList entries_;
};
