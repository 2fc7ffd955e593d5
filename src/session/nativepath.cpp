#include "session/nativepath.h"

#include <QFile>

std::string nativePath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}
