#include "app/apptexts.h"
#include "app/cmainframe.h"
#include "app/commandline.h"
#include "app/czephalonteapp.h"
#include "faces/designfaces.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <future>

#ifndef ZPH_VERSION
#define ZPH_VERSION "0"
#endif

namespace {

// Exit statuses: the window closed, the journal could not be opened, a
// mistake in the command line (as zeph's).
constexpr int exitBadArguments = 2;

// Help or the version on standard output (UTF-8, as zeph writes them); 1
// when it cannot be written, a full disk or a closed pipe.
int answer(InformationRequest request)
{
    const char *const version = "zephalonte (Zephalonte) " ZPH_VERSION "\n";
    const char *text = request == InformationRequest::help ? apptext::help : version;
    if (std::fputs(text, stdout) < 0 || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "zephalonte: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

// Peak resident memory from the kernel's own count, for the start-up benchmark.
void printPeakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    // /proc files report a size of 0, so read until the end rather than to it.
    const QByteArrayList lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:"))
            std::fprintf(stderr, "%s\n", line.constData());
    }
}

// The monotonic clock when the first paint is complete, for the start-up
// benchmark, which takes it against the clock at launch: the teardown after
// it (closing the journal watcher alone waits for the kernel for up to 16 ms)
// is no part of the start-up.
void printPaintedTime()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::fprintf(stderr, "painted: %lld\n",
                 static_cast<long long>(std::chrono::nanoseconds(now).count()));
}

} // namespace

int main(int argc, char *argv[])
{
    // Before Qt starts: --help and --version need no display and show no window.
    if (const InformationRequest request = informationRequest(argc, argv);
        request != InformationRequest::none)
        return answer(request);

    // fontconfig reads its configuration and font lists, the longest single
    // step of the start-up, on a thread of its own while Qt starts; the
    // application waits for each face where it first needs it. The faces in
    // the order the window's panes take them: the entry form's first, then
    // the list's, then the advisor's.
    const std::future<void> faces = std::async(std::launch::async, [] {
        for (const DesignFace face : {DesignFace::PGothic, DesignFace::Gothic, DesignFace::Mincho})
            designFamily(face);
    });

    QApplication application(argc, argv);
    // argv as the system gave it, less the options Qt took out above: the
    // same list as arguments(), before Qt's conversion to text.
    QByteArrayList nativeArguments;
    for (int i = 0; i < argc; ++i)
        nativeArguments << QByteArray(argv[i]);
    CZephalonteApp app;
    if (!app.startUp(QApplication::arguments(), nativeArguments)) {
        if (app.terminationRequested())
            return app.terminationExitCode();
        return app.commandLineRefused() ? exitBadArguments : 1;
    }
    // Ended from outside while start-up still had a question open.
    if (app.terminationRequested())
        return app.terminationExitCode();

    // Start-up benchmark: end as soon as the window has been painted once.
    // exit() rather than quit(), which would close the window and so store
    // the journal and ask the exit question.
    if (qEnvironmentVariableIsSet("ZPH_QUIT_AFTER_FIRST_PAINT")) {
        QObject::connect(app.mainFrame(), &CMainFrame::firstPainted, &app, [] {
            printPeakMemory();
            // Runs once the panes painted after the frame are done too.
            QTimer::singleShot(0, qApp, [] {
                printPaintedTime();
                QCoreApplication::exit(0);
            });
        });
    }
    // Screenshots for the documentation: the window as first painted.
    const QString grabPath = qEnvironmentVariable("ZPH_GRAB_AFTER_FIRST_PAINT");
    if (!grabPath.isEmpty()) {
        CMainFrame *frame = app.mainFrame();
        QObject::connect(frame, &CMainFrame::firstPainted, &app, [frame, grabPath] {
            QTimer::singleShot(0, frame, [frame, grabPath] {
                const bool saved = frame->grab().save(grabPath);
                QCoreApplication::exit(saved ? 0 : 1);
            });
        });
    }
    const int status = application.exec();
    return app.terminationRequested() ? app.terminationExitCode() : status;
}
