#include "cli/clistreams.h"

#include "cli/clitexts.h"
#include "cli/exitstatus.h"
#include "journal/safesave.h"
#include "qttext/uitext.h"
#include "session/journalsession.h"
#include "session/pathnames.h"
#include "session/sessionmessages.h"
#include "session/sessiontexts.h"

#include <QByteArray>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using clitext::fillText;

bool isStandardStream(const std::string &name)
{
    return name.empty() || name == "-";
}

void writeOut(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

std::string withLineFeeds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (!(text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')) {
            out += text[pos];
        }
    }
    return out;
}

void writeError(std::string_view text)
{
    std::string line = "zeph: " + withLineFeeds(text);
    if (!line.ends_with('\n')) {
        line += '\n';
    }
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void writeQtError(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    writeError(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

void holdClosedStandardStreams()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // Opened the other way round: input that cannot be read, output
        // that cannot be written.
        const int flags = fd == STDIN_FILENO ? O_WRONLY : O_RDONLY;
        const int placeholder = ::open("/dev/null", flags | O_CLOEXEC);
        if (placeholder >= 0 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
}

int finishOutput()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        writeError(clitext::outputFailed);
        return exitJournalFailure;
    }
    return exitSuccess;
}

QString shownName(const std::string &name)
{
    return shownNativeName(name);
}

bool readInput(const std::string &name, std::string &bytes)
{
    if (isStandardStream(name)) {
        char buffer[65536];
        std::size_t count = 0;
        while ((count = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
            bytes.append(buffer, count);
        }
        if (std::ferror(stdin)) {
            const int error = errno;
            writeError(fillText(clitext::inputFailed, {std::strerror(error)}));
            return false;
        }
        return true;
    }
    std::string error;
    FileProblem problem = FileProblem::none;
    if (!readFileBytes(name, bytes, error, &problem)) {
        writeQtError(
            ui(sessiontext::cannotOpen)
                .arg(shownName(name),
                     reasonText(SessionFailure{problem, false, QString::fromLocal8Bit(error)})));
        return false;
    }
    return true;
}
