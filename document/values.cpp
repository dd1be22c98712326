#include "values.h"

#include "platform/codepage.h"

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

int gbkByteLength(const QString &text)
{
    int length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;  // beyond the code page: one replacement byte, as below
        const unsigned code = c < 0x80 ? c : platform::encodeCodePage936(c);
        length += code > 0xFF ? 2 : 1;
    }
    return length;
}

}  // namespace varnok
