#include "xmltext.h"

namespace varnok {

namespace {

// The length of the character starting at i (2 for a surrogate pair), or 0
// when XML 1.0 cannot hold it.
qsizetype xmlCharacterLength(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c))
        return i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()) ? 2 : 0;
    if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF)
        return 0;
    if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
        return 0;
    return 1;
}

}  // namespace

qsizetype firstNonXmlCharacter(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = xmlCharacterLength(text, i);
        if (length == 0)
            return i;
        i += length;
    }
    return -1;
}

QString withoutNonXmlCharacters(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *to = out.data();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = xmlCharacterLength(text, i);
        for (qsizetype k = 0; k < length; ++k)
            *to++ = text[i + k];
        i += qMax(length, qsizetype(1));
    }
    out.truncate(to - out.constData());
    return out;
}

}  // namespace varnok
