// The identity-number rule of a resident identity card: length in GBK bytes,
// sex from the sex digit, birth date from the date digits.
#pragma once

#include <QDate>
#include <QString>

namespace varnok {

inline const QString ResidentIdCard = QStringLiteral("身份证");
inline const QString MsgIdLength = QStringLiteral("身份证号码必须是15位或18位！");
inline const QString MsgIdDate = QStringLiteral("身份证中年月日格式不正确！");
// The hint beside the number; never a message box.
inline const QString MsgIdCheckCharacter = QStringLiteral("校验码不符，请核对证件号码");

struct IdNumberResult {
    enum Outcome { WrongLength, BadDate, Valid };
    Outcome outcome = WrongLength;
    QString sex;       // "男" or "女"; set for BadDate and Valid
    QDate birthDate;   // set for Valid
    QString dateText;  // the date text built from the number
};

// Rule for a number of a resident identity card. Positions count in bytes of
// the GBK text, from 1: a 15-byte number gives sex from byte 15 and the date
// "19"+7-8, 9-10, 11-12; an 18-byte number gives sex from byte 17 and the date
// 7-10, 11-12, 13-14. A sex position that is not a digit throws
// ConversionError ("'x' is not a valid integer value").
IdNumberResult parseIdNumber(const QString &number);

// The check character of a resident identity number (GB 11643-1999):
// ISO 7064 MOD 11-2 over its first 17 digits, '0'..'9' or 'X'. A null QChar
// when the text is not 17 ASCII digits.
QChar idCheckCharacter(QStringView first17);

// Whether a number of this document type ends in the wrong check character:
// only a resident identity card with an 18-character number is examined, and
// a lower-case 'x' counts as 'X'. A number whose first 17 characters are not
// all digits has no right check character, so it counts as wrong.
bool checkCharacterMismatch(const QString &idType, const QString &number);

// The earliest date a date field can hold; an earlier birth date counts as
// an impossible date.
inline const QDate EarliestDate{100, 1, 1};

}  // namespace varnok
