#pragma once

// Whole files as bytes, for the session tests that write a journal as
// another program would and read back what the program stored.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// Empty when the file cannot be read.
inline QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
