#pragma once

#include <QObject>
#include <QStringList>

class JournalContext;
class QWidget;

// An import from start to end: reads each file through the one reading
// routine (with progress for a long read, which the user may cancel), shows
// the confirmation, and stores what the user confirms as one edit, which
// one undo takes back. The window's menu command and its drops both come
// here.
class ImportController : public QObject {
    Q_OBJECT
  public:
    ImportController(JournalContext &context, QWidget *window);

    void importFiles(const QStringList &paths);

  signals:
    // A one-line report for the status bar.
    void statusMessage(const QString &text);

  private:
    JournalContext &context_;
    QWidget *window_;
};
