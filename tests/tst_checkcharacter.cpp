// The check character of resident identity numbers and when the hint applies.
#include "rules/idnumber.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace varnok;

namespace {

// ISO 7064 MOD 11-2 worked out from its definition rather than from tables:
// the weight of position i (1..17) is 2^(18-i) mod 11, and the check value c
// makes the weighted sum plus c leave 1 modulo 11; 10 is written X.
QChar referenceCheckCharacter(const QString &first17)
{
    int sum = 0, weight = 1;
    for (int i = 16; i >= 0; --i) {
        weight = weight * 2 % 11;
        sum += first17[i].digitValue() * weight;
    }
    const int c = (12 - sum % 11) % 11;
    return c == 10 ? QChar(u'X') : QChar(u'0' + c);
}

QString randomDigits(QRandomGenerator &random, int count)
{
    QString out;
    for (int i = 0; i < count; ++i)
        out += QChar(u'0' + random.bounded(10));
    return out;
}

}  // namespace

class TestCheckCharacter : public QObject {
    Q_OBJECT
private slots:
    void knownNumbers_data();
    void knownNumbers();
    void generatedNumbers();
    void whenTheHintApplies_data();
    void whenTheHintApplies();
};

void TestCheckCharacter::knownNumbers_data()
{
    // clang-format off
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("valid");
    QTest::newRow("11010519491231002X") << "11010519491231002X" << true;
    QTest::newRow("360426199101010071") << "360426199101010071" << true;
    QTest::newRow("321083197812162119") << "321083197812162119" << true;
    QTest::newRow("33010219200403064X") << "33010219200403064X" << true;
    QTest::newRow("36042619910102009X") << "36042619910102009X" << false;
    QTest::newRow("340524198001010013") << "340524198001010013" << false;
    QTest::newRow("lower-case x") << "11010519491231002x" << true;
    QTest::newRow("X where 7 belongs") << "11010519491231007X" << false;
    // clang-format on
}

void TestCheckCharacter::knownNumbers()
{
    QFETCH(QString, number);
    QFETCH(bool, valid);
    QCOMPARE(checkCharacterMismatch(ResidentIdCard, number), !valid);
    QCOMPARE(idCheckCharacter(QStringView(number).left(17)) == number[17].toUpper(), valid);
}

void TestCheckCharacter::generatedNumbers()
{
    QRandomGenerator random(20240611);
    for (int n = 0; n < 400; ++n) {
        const QString first17 = randomDigits(random, 17);
        const QChar check = referenceCheckCharacter(first17);
        const QString number = first17 + check;
        QCOMPARE(idCheckCharacter(first17), check);
        QVERIFY2(!checkCharacterMismatch(ResidentIdCard, number), qPrintable(number));

        // Any single changed digit is caught, the check character included.
        const int position = random.bounded(18);
        QString changed = number;
        if (position == 17) {
            const QString others = QStringLiteral("0123456789X").remove(check);
            changed[17] = others[random.bounded(int(others.size()))];
        } else {
            changed[position] = QChar(u'0' + (number[position].digitValue() + 1 + random.bounded(9)) % 10);
        }
        QVERIFY(changed != number);
        QVERIFY2(checkCharacterMismatch(ResidentIdCard, changed), qPrintable(number + " -> " + changed));
    }
}

void TestCheckCharacter::whenTheHintApplies_data()
{
    // clang-format off
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("hint");
    const QString card = ResidentIdCard;
    QTest::newRow("passport, any number") << "护照" << "340524198001010013" << false;
    QTest::newRow("no type chosen") << "" << "340524198001010013" << false;
    QTest::newRow("15 characters are not examined") << card << "110105850307123" << false;
    QTest::newRow("17 characters") << card << "34052419800101001" << false;
    QTest::newRow("19 characters") << card << "3405241980010100130" << false;
    QTest::newRow("empty") << card << "" << false;
    QTest::newRow("letter among the first 17") << card << "ABCDEF19800101XY1Z" << true;
    QTest::newRow("blank among the first 17") << card << "11010519491231 02X" << true;
    QTest::newRow("full-width digits") << card << "１１０１０５１９４９１２３１００２X" << true;
    QTest::newRow("wrong character at the end") << card << "11010519491231002Y" << true;
    // clang-format on
}

void TestCheckCharacter::whenTheHintApplies()
{
    QFETCH(QString, type);
    QFETCH(QString, number);
    QFETCH(bool, hint);
    QCOMPARE(checkCharacterMismatch(type, number), hint);
}

QTEST_GUILESS_MAIN(TestCheckCharacter)
#include "tst_checkcharacter.moc"
