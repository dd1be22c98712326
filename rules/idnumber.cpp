#include "idnumber.h"

#include "document/values.h"

#include <vector>

namespace varnok {

namespace {

// The text seen as GBK bytes: for each byte position, the character it
// belongs to. A Chinese character covers two positions.
class GbkPositions {
public:
    explicit GbkPositions(const QString &text) : text_(text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const int width = gbkByteLength(text.mid(i, 1));
            for (int b = 0; b < qMax(width, 1); ++b)
                owner_.push_back(i);
        }
    }
    int length() const { return int(owner_.size()); }

    // Characters covering byte positions first..last (1-based, inclusive).
    QString range(int first, int last) const
    {
        QString out;
        qsizetype previous = -1;
        for (int p = first; p <= last && p <= length(); ++p) {
            const qsizetype owner = owner_[size_t(p - 1)];
            if (owner != previous)
                out += text_[owner];
            previous = owner;
        }
        return out;
    }

private:
    QString text_;
    std::vector<qsizetype> owner_;
};

}  // namespace

IdNumberResult parseIdNumber(const QString &number)
{
    IdNumberResult result;
    const GbkPositions bytes(number);
    const int length = bytes.length();
    if (length != 15 && length != 18)
        return result;

    const bool old = length == 15;
    const int sexDigit = StrToInt(bytes.range(old ? 15 : 17, old ? 15 : 17));
    result.sex = sexDigit % 2 != 0 ? QStringLiteral("男") : QStringLiteral("女");

    result.dateText =
        old ? QStringLiteral("19") + bytes.range(7, 8) + u'-' + bytes.range(9, 10) + u'-' + bytes.range(11, 12)
            : bytes.range(7, 10) + u'-' + bytes.range(11, 12) + u'-' + bytes.range(13, 14);
    try {
        result.birthDate = StrToDate(result.dateText);
    } catch (const ConversionError &) {
        result.outcome = IdNumberResult::BadDate;
        return result;
    }
    result.outcome = result.birthDate < EarliestDate ? IdNumberResult::BadDate : IdNumberResult::Valid;
    if (result.outcome == IdNumberResult::BadDate)
        result.birthDate = QDate();
    return result;
}

QChar idCheckCharacter(QStringView first17)
{
    static constexpr int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static constexpr char characters[] = "10X98765432";
    if (first17.size() != 17)
        return {};
    int sum = 0;
    for (int i = 0; i < 17; ++i) {
        const QChar c = first17[i];
        if (c < u'0' || c > u'9')
            return {};
        sum += (c.unicode() - u'0') * weights[i];
    }
    return QLatin1Char(characters[sum % 11]);
}

bool checkCharacterMismatch(const QString &idType, const QString &number)
{
    if (idType != ResidentIdCard || number.size() != 18)
        return false;
    const QChar expected = idCheckCharacter(QStringView(number).left(17));
    return expected.isNull() || number[17].toUpper() != expected;
}

}  // namespace varnok
