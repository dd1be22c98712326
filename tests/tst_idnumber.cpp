#include "document/values.h"
#include "rules/idnumber.h"

#include <QtTest>

using namespace varnok;

class TestIdNumber : public QObject {
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
    void nonDigitAtTheSexPositionRaisesTheConversionError_data();
    void nonDigitAtTheSexPositionRaisesTheConversionError();
    void gbkLength_data();
    void gbkLength();
};

void TestIdNumber::rule_data()
{
    // clang-format off
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("birth");

    const int wrong = IdNumberResult::WrongLength, bad = IdNumberResult::BadDate, ok = IdNumberResult::Valid;
    QTest::newRow("15, man, 1985-03-07") << "110105850307123" << ok << "男" << "1985-03-07";
    QTest::newRow("15, woman") << "110105850307124" << ok << "女" << "1985-03-07";
    QTest::newRow("18, 1990-02-29 is no date") << "110105199002291234" << bad << "男" << "";
    QTest::newRow("18, 1992-02-29 leap year") << "110105199202291224" << ok << "女" << "1992-02-29";
    QTest::newRow("18, 2000-02-29 leap century") << "110105200002291214" << ok << "男" << "2000-02-29";
    QTest::newRow("18, final X") << "11010519491231002X" << ok << "女" << "1949-12-31";
    QTest::newRow("18, final 7, same otherwise") << "110105194912310027" << ok << "女" << "1949-12-31";
    QTest::newRow("18, final character never read") << "11010519491231002*" << ok << "女" << "1949-12-31";
    QTest::newRow("sex digit 0 is a woman") << "110105198001010003" << ok << "女" << "1980-01-01";
    QTest::newRow("month 13") << "110105198013010013" << bad << "男" << "";
    QTest::newRow("day 00") << "110105198001000013" << bad << "男" << "";
    QTest::newRow("letters in the date") << "1101051980AB010013" << bad << "男" << "";
    QTest::newRow("year before the date field's range") << "110105008001010013" << bad << "男" << "";
    QTest::newRow("other positions are not examined") << "ABCDEF19800101XY1Z" << ok << "男" << "1980-01-01";
    QTest::newRow("16 characters") << "1101051980010100" << wrong << "" << "";
    QTest::newRow("17 characters") << "11010519800101001" << wrong << "" << "";
    QTest::newRow("19 characters") << "1101051980010100131" << wrong << "" << "";
    QTest::newRow("empty") << "" << wrong << "" << "";
    QTest::newRow("7 Chinese characters and a digit are 15 bytes") << "一二三四五六七8" << bad << "女" << "";
    // clang-format on
}

void TestIdNumber::rule()
{
    QFETCH(QString, number);
    QFETCH(int, outcome);
    QFETCH(QString, sex);
    QFETCH(QString, birth);
    const IdNumberResult r = parseIdNumber(number);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(r.sex, sex);
    QCOMPARE(r.birthDate.isValid() ? formatDate(r.birthDate) : QString(), birth);
}

void TestIdNumber::nonDigitAtTheSexPositionRaisesTheConversionError_data()
{
    // clang-format off
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::newRow("nine Chinese characters count 18") << "一二三四五六七八九" << "'九' is not a valid integer value";
    QTest::newRow("letter at 17") << "1101051980010100A3" << "'A' is not a valid integer value";
    QTest::newRow("blank at 15") << "11010585030712 " << "' ' is not a valid integer value";
    // clang-format on
}

void TestIdNumber::nonDigitAtTheSexPositionRaisesTheConversionError()
{
    QFETCH(QString, number);
    QFETCH(QString, message);
    try {
        parseIdNumber(number);
        QFAIL("no conversion error");
    } catch (const ConversionError &e) {
        QCOMPARE(QString::fromUtf8(e.what()), message);
    }
}

void TestIdNumber::gbkLength_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    QTest::newRow("digits") << "123456789012345" << 15;
    QTest::newRow("Chinese counts two") << "张三" << 4;
    QTest::newRow("GBK beyond GB2312") << "堃" << 2;
    QTest::newRow("mixed") << "a张1" << 4;
    QTest::newRow("outside the code page counts one") << QString::fromUtf8("a😀\u30FB") << 3;
    QTest::newRow("empty") << "" << 0;
    // clang-format on
}

void TestIdNumber::gbkLength()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    QCOMPARE(gbkByteLength(text), length);
}

QTEST_GUILESS_MAIN(TestIdNumber)
#include "tst_idnumber.moc"
