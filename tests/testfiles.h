// Small file helpers shared by the tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include "gbk.h"

#include <QtTest>

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Text as GBK bytes, as other writers put them under the GB2312 label.
inline QByteArray gb(const QString &text) { return gbk(text); }
