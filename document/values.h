// Value conversions shared by the page, the lists and the document reader:
// dates as "yyyy-MM-dd", integers, blank tests, GBK byte length.
#pragma once

#include <QDate>
#include <QString>
#include <stdexcept>

namespace varnok {

// A text that does not convert to a date or an integer.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

inline const QString DateFormat = QStringLiteral("yyyy-MM-dd");

QString formatDate(const QDate &date);
// "yyyy-MM-dd" (month and day may have one digit, blanks around are allowed);
// a real calendar date from year 1 to 9999, else ConversionError.
QDate StrToDate(const QString &text);
// A decimal integer (optional sign, blanks around allowed), else ConversionError.
int StrToInt(const QString &text);

// Leading and trailing characters whose code is 32 or less removed.
QString trimControl(const QString &text);
inline bool isBlank(const QString &text) { return trimControl(text).isEmpty(); }

// Length of the text in bytes of code page 936: 1 for ASCII, 2 for a Chinese
// character; a character the code page lacks counts as its one-byte
// replacement, as the Windows conversion does.
int gbkByteLength(const QString &text);

}  // namespace varnok
