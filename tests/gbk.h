// Text as code page 936 bytes, as other writers put them under the label
// "GB2312": the same on every system, through the program's own code page.
#pragma once

#include "platform/codepage.h"

#include <QByteArray>
#include <QString>

inline QByteArray gbk(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        const unsigned code = c.unicode() < 0x80 ? c.unicode() : varnok::platform::encodeCodePage936(c.unicode());
        if (code > 0xFF)
            out += char(code >> 8);
        out += char(code & 0xFF);
    }
    return out;
}
