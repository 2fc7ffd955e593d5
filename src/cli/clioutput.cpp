#include "cli/clioutput.h"

#include "cli/clistreams.h"
#include "cli/clitexts.h"
#include "cli/exitstatus.h"
#include "journal/safesave.h"
#include "qttext/uitext.h"
#include "session/journalcompanion.h"
#include "session/journalsession.h"
#include "session/sessionmessages.h"
#include "session/sessiontexts.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using clitext::fillText;

namespace {

// A FIFO or a device takes the bytes as a stream: it cannot be replaced by
// a rename, and there is no earlier file to keep.
bool isStreamFile(const std::string &name)
{
    struct stat status {};
    return ::stat(name.c_str(), &status) == 0 &&
           (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode));
}

int writeStreamFile(const std::string &name, std::string_view bytes)
{
    const int fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    int error = fd < 0 ? errno : 0;
    for (std::size_t done = 0; error == 0 && done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno != EINTR) {
            error = errno;
        } else if (written > 0) {
            done += static_cast<std::size_t>(written);
        }
    }
    if (fd >= 0 && ::close(fd) != 0 && error == 0 && errno != EINTR) {
        error = errno;
    }
    if (error != 0) {
        const SessionFailure failure{fileProblemOf(error), false,
                                     QString::fromLocal8Bit(std::strerror(error))};
        writeQtError(ui(sessiontext::cannotStore).arg(shownName(name), reasonText(failure)));
        return exitJournalFailure;
    }
    return exitSuccess;
}

} // namespace

bool refuseCompanionOutput(const QString &journal, const std::string &name)
{
    if (isStandardStream(name) || !isJournalCompanion(nativePath(journal), name)) {
        return false;
    }
    writeQtError(
        QString::fromUtf8(fillText(clitext::outputIsJournalCompanion,
                                   {shownName(name).toStdString(), journal.toStdString()})));
    return true;
}

int writeOutputFile(const std::string &name, std::string_view bytes)
{
    if (isStandardStream(name)) {
        writeOut(bytes);
        return finishOutput();
    }
    if (isStreamFile(name)) {
        return writeStreamFile(name, bytes);
    }
    const SaveResult saved = saveFileAtomically(name, bytes, false);
    if (!saved.saved) {
        const SessionFailure failure{saved.problem, false,
                                     QString::fromLocal8Bit(saved.systemReason)};
        writeQtError(ui(sessiontext::cannotStore).arg(shownName(name), reasonText(failure)));
        return exitJournalFailure;
    }
    return exitSuccess;
}
