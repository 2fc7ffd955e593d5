#include "session/keptcopy.h"

#include "session/nativepath.h"

#include <QFileInfo>

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

std::optional<unsigned> journalPermissions(const QString &journalPath)
{
    struct stat status {};
    if (::stat(nativePath(journalPath).c_str(), &status) != 0)
        return std::nullopt;
    return static_cast<unsigned>(status.st_mode & 0777);
}

std::optional<unsigned> journalPermissions(int folder, const std::string &name)
{
    struct stat status {};
    if (::fstatat(folder, name.c_str(), &status, 0) != 0)
        return std::nullopt;
    return static_cast<unsigned>(status.st_mode & 0777);
}

std::string firstFreeName(int folder, const std::string &base)
{
    std::string candidate = base;
    struct stat status {};
    for (int n = 2; ::fstatat(folder, candidate.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0; ++n)
        candidate = base + "-" + std::to_string(n);
    return candidate;
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

std::string keptCopyName(int folder, const std::string &journalName, const char *kind,
                         const QString &stamp)
{
    return firstFreeName(folder, journalName + "." + kind + "-" + stamp.toStdString());
}

KeptCopy keepCopy(int folder, const std::string &journalName, std::string_view bytes,
                  const std::string &copyName, const QString &folderPath)
{
    KeptCopy copy;
    const SaveResult saved =
        saveNewFile(folder, copyName, bytes, journalPermissions(folder, journalName));
    if (!saved.saved) {
        copy.problem = saved.problem;
        copy.systemReason = QString::fromLocal8Bit(saved.systemReason);
        return copy;
    }
    copy.path = folderPath + QLatin1Char('/') + QFile::decodeName(copyName.c_str());
    return copy;
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
