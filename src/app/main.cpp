#include "app/cmainframe.h"
#include "app/czephalonteapp.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace {

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // argv as the system gave it, less the options Qt took out above: the
    // same list as arguments(), before Qt's conversion to text.
    QByteArrayList nativeArguments;
    for (int i = 0; i < argc; ++i)
        nativeArguments << QByteArray(argv[i]);
    CZephalonteApp app;
    if (!app.startUp(QApplication::arguments(), nativeArguments))
        return app.terminationRequested() ? app.terminationExitCode() : 1;
    // Ended from outside while start-up still had a question open.
    if (app.terminationRequested())
        return app.terminationExitCode();

    // Start-up benchmark: end as soon as the window has been painted once.
    // exit() rather than quit(), which would close the window and so store
    // the journal and ask the exit question.
    if (qEnvironmentVariableIsSet("ZPH_QUIT_AFTER_FIRST_PAINT")) {
        QObject::connect(app.mainFrame(), &CMainFrame::firstPainted, &app, [] {
            printPeakMemory();
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
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
