#include "session/keptcopy.h"

#include "session/nativepath.h"

#include <QFileInfo>

#include <sys/stat.h>

std::optional<unsigned> journalPermissions(const QString &journalPath)
{
    struct stat status {};
    if (::stat(nativePath(journalPath).c_str(), &status) != 0)
        return std::nullopt;
    return static_cast<unsigned>(status.st_mode & 0777);
}

QString firstFreeName(const QString &base)
{
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = base + QStringLiteral("-%1").arg(n);
    return candidate;
}

QString keptCopyPath(const QString &journalPath, const char *kind, const QString &stamp)
{
    return firstFreeName(journalPath + QLatin1Char('.') + QLatin1String(kind) + QLatin1Char('-') +
                         stamp);
}

KeptCopy keepCopy(const QString &journalPath, std::string_view bytes, const QString &copyPath)
{
    KeptCopy copy;
    const SaveResult saved =
        saveNewFile(nativePath(copyPath), bytes, journalPermissions(journalPath));
    if (!saved.saved) {
        copy.problem = saved.problem;
        copy.systemReason = QString::fromLocal8Bit(saved.systemReason);
        return copy;
    }
    copy.path = copyPath;
    return copy;
}

QString conflictStamp(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}
