#include "app/damagedcopy.h"

#include <QFile>
#include <QFileInfo>

QString damagedCopyPath(const QString &journalPath, const QDate &day)
{
    const QString base =
        journalPath + QStringLiteral(".damaged-") + day.toString(QStringLiteral("yyyyMMdd"));
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = base + QStringLiteral("-%1").arg(n);
    return candidate;
}

QString keepDamagedCopy(const QString &journalPath, const QDate &day, QString *error)
{
    const QString copyPath = damagedCopyPath(journalPath, day);
    QFile original(journalPath);
    // QFile::copy never overwrites, so an older copy can't be lost to a race.
    if (!original.copy(copyPath)) {
        if (error)
            *error = original.errorString();
        return {};
    }
    return copyPath;
}
