#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Notices when something touches the journal on disk while the window is
// open: a sync client or another program replacing it. It only says that the
// file may have changed, once it has been still for a while; whether its
// bytes are really new is the session's to judge (our own stores look alike
// from here).
class JournalWatcher : public QObject {
    Q_OBJECT
  public:
    // A file being written or synced changes size and time for a while;
    // only a file that has stood still this long is looked at.
    static constexpr int settleMs = 500;

    explicit JournalWatcher(QObject *parent = nullptr);

    // Watches the journal and its folder; an empty path stops watching.
    void watch(const QString &journalPath);

  signals:
    // The journal's size and time have stayed the same for settleMs since
    // the last notice.
    void settled();

  private:
    struct Look {
        bool exists = false;
        qint64 size = 0;
        qint64 modifiedMs = 0;
        bool operator==(const Look &) const = default;
    };
    Look look() const;
    void noticed();
    void rearm();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString path_;
    Look last_;
};
