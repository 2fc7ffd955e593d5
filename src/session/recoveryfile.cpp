#include "session/recoveryfile.h"

#include "journal/merge.h"
#include "session/keptcopy.h"
#include "session/nativepath.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

QString recoveryPathFor(const QString &journalPath)
{
    const QFileInfo journal(journalPath);
    return journal.path() + QStringLiteral("/.") + journal.fileName() + QStringLiteral(".recovery");
}

std::string recoveryNameFor(const std::string &journalName)
{
    return "." + journalName + recoverySuffix;
}

bool journalIdentity(int folder, const std::string &journalName, EditLogHeader &header)
{
    header.journalName = journalName;
    struct stat status {};
    if (::fstat(folder, &status) != 0)
        return false;
    header.folderDevice = static_cast<std::uint64_t>(status.st_dev);
    header.folderInode = static_cast<std::uint64_t>(status.st_ino);
    return true;
}

bool journalIdentity(const QString &journalPath, EditLogHeader &header)
{
    const QFileInfo journal(journalPath);
    header.journalName = QFile::encodeName(journal.fileName()).toStdString();
    struct stat folder {};
    if (::stat(nativePath(journal.path()).c_str(), &folder) != 0)
        return false;
    header.folderDevice = static_cast<std::uint64_t>(folder.st_dev);
    header.folderInode = static_cast<std::uint64_t>(folder.st_ino);
    return true;
}

RecoveryFile readRecoveryFile(const QString &journalPath, const EditLogHeader &expected)
{
    return readRecoveryFile(AT_FDCWD, nativePath(recoveryPathFor(journalPath)),
                            recoveryPathFor(journalPath), expected);
}

RecoveryFile readRecoveryFile(int folder, const std::string &logName, const QString &shownPath,
                              const EditLogHeader &expected)
{
    RecoveryFile file;
    file.path = shownPath;
    struct stat status {};
    if (::fstatat(folder, logName.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return file;
    std::string error;
    if (!readFileBytes(folder, logName, file.bytes, error, &file.problem)) {
        if (file.problem == FileProblem::notFound)
            return file; // gone since the look
        file.state = RecoveryFile::State::unreadable;
        file.systemReason = QString::fromLocal8Bit(error);
        return file;
    }
    if (file.bytes.starts_with("# quillox file ver 2")) {
        file.state = RecoveryFile::State::wholeJournal;
        return file;
    }
    file.log = readEditLog(file.bytes);
    if (!file.log.headerRead || file.log.header.journalName != expected.journalName ||
        file.log.header.folderDevice != expected.folderDevice ||
        file.log.header.folderInode != expected.folderInode) {
        // An empty file, a log cut inside its header: nothing was recorded
        // in it that could be read, and it names no journal.
        file.state = file.bytes.empty() ? RecoveryFile::State::none : RecoveryFile::State::foreign;
        return file;
    }
    file.composed = composeEdits(file.log.records);
    if (!file.composed.empty())
        file.state = RecoveryFile::State::editLog;
    return file;
}
