#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, a system update,
// Ctrl+C in the terminal) into a Qt signal on the user-interface thread, so
// that the program can store the journal before it ends. The handler itself
// only writes the signal's number into a socket pair, the one thing that is
// safe inside a signal handler; a notifier reads it in the event loop.
class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    explicit TerminationSignals(QObject *parent = nullptr);
    // Restores the default handlers, or ignores the signals when one of
    // them is what ends the program.
    ~TerminationSignals() override;

  signals:
    void received(int signalNumber);

  private:
    QSocketNotifier *notifier_ = nullptr;
    bool ended_ = false;
};
