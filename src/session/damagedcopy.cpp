#include "session/damagedcopy.h"

#include "session/nativepath.h"

#include <QFileInfo>

#include <string>

QString damagedCopyPath(const QString &journalPath, const QDate &day)
{
    const QString base =
        journalPath + QStringLiteral(".damaged-") + day.toString(QStringLiteral("yyyyMMdd"));
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = base + QStringLiteral("-%1").arg(n);
    return candidate;
}

DamagedCopy keepDamagedCopy(const QString &journalPath, const QDate &day)
{
    DamagedCopy copy;
    std::string bytes;
    std::string error;
    if (!readFileBytes(nativePath(journalPath), bytes, error, &copy.problem)) {
        copy.systemReason = QString::fromLocal8Bit(error);
        return copy;
    }
    const QString path = damagedCopyPath(journalPath, day);
    const SaveResult saved = saveNewFile(nativePath(path), bytes);
    if (!saved.saved) {
        copy.problem = saved.problem;
        copy.systemReason = QString::fromLocal8Bit(saved.systemReason);
        return copy;
    }
    copy.path = path;
    return copy;
}
