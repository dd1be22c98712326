#include "values.h"

#include <QStringEncoder>

namespace varnok {

QString formatDate(const QDate &date) { return date.toString(DateFormat); }

namespace {

bool allAsciiDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

}  // namespace

QDate StrToDate(const QString &text)
{
    const QString trimmed = text.trimmed();
    const QStringList parts = trimmed.split(QLatin1Char('-'));
    if (parts.size() == 3 && parts[0].size() == 4 && parts[1].size() <= 2 && parts[2].size() <= 2 &&
        allAsciiDigits(parts[0]) && allAsciiDigits(parts[1]) && allAsciiDigits(parts[2])) {
        const QDate date(parts[0].toInt(), parts[1].toInt(), parts[2].toInt());
        if (date.isValid() && date.year() >= 1)
            return date;
    }
    throw ConversionError(QStringLiteral("'%1' is not a valid date").arg(text));
}

int StrToInt(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QString trimControl(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

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

int gbkByteLength(const QString &text)
{
    QStringEncoder encoder("GBK");
    if (encoder.isValid())
        return int(QByteArray(encoder.encode(text)).size());
    int length = 0;
    for (QChar c : text)
        length += c.unicode() < 0x80 ? 1 : 2;
    return length;
}

}  // namespace varnok
