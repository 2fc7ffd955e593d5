#include "app/terminationsignals.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array handledSignals{SIGTERM, SIGHUP, SIGINT};

// [0] is written by the handler, [1] read by the notifier.
int signalSockets[2] = {-1, -1};

extern "C" void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full socket means a signal is already waiting to be handled.
    [[maybe_unused]] const ssize_t ignored = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return; // the program then ends on these signals as it always has
    ::fcntl(signalSockets[0], F_SETFL, O_NONBLOCK);
    notifier_ = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        if (::read(signalSockets[1], &byte, 1) == 1) {
            ended_ = true;
            emit received(byte);
        }
    });

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : handledSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    // Once a signal has ended the program, a second one (an impatient
    // session manager, Ctrl+C twice) must not turn the exit of a successful
    // store into "killed by signal" while the rest is torn down.
    for (const int signalNumber : handledSignals)
        ::signal(signalNumber, ended_ ? SIG_IGN : SIG_DFL);
    if (notifier_) {
        delete notifier_;
        ::close(signalSockets[0]);
        ::close(signalSockets[1]);
        signalSockets[0] = signalSockets[1] = -1;
    }
}
