#include "session/recoveryfile.h"

#include "session/keptcopy.h"
#include "session/nativepath.h"

#include <QFileInfo>

QString recoveryPathFor(const QString &journalPath)
{
    const QFileInfo journal(journalPath);
    return journal.path() + QStringLiteral("/.") + journal.fileName() + QStringLiteral(".recovery");
}

QString recoveredPathFor(const QString &journalPath, const QDate &day)
{
    return keptCopyPath(journalPath, keptcopykind::recovered,
                        day.toString(QStringLiteral("yyyyMMdd")));
}

RecoveryFile readRecoveryFile(const QString &journalPath)
{
    RecoveryFile file;
    file.path = recoveryPathFor(journalPath);
    const QFileInfo info(file.path);
    if (!info.exists() && !info.isSymLink())
        return file;
    std::string error;
    if (!readFileBytes(nativePath(file.path), file.bytes, error, &file.problem)) {
        if (file.problem == FileProblem::notFound)
            return file; // gone since the look
        file.state = RecoveryFile::State::unreadable;
        file.systemReason = QString::fromLocal8Bit(error);
        return file;
    }
    file.state = RecoveryFile::State::differs;
    return file;
}
