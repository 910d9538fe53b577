#pragma once
// Real files in and out, and the ANSI (GBK) bytes of a text, as every file on disk holds them.

#include "platform/AnsiCodec.h"

#include <QFile>
#include <gtest/gtest.h>

inline QByteArray gbk(const QString &s) { return platform::AnsiCodec().encode(s); }

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
