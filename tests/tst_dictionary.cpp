#include "dictionary/dictionary.h"
#include "xml/xmldocument.h"

#include <QFile>
#include <QtTest>

using namespace varnok;

class TestDictionary : public QObject {
    Q_OBJECT
private slots:
    void lookups_data();
    void lookups();
    void positionBeyondTheItemsRaisesListIndexError();
    void embeddedResourceIsUtf8WithByteOrderMarkAndFullContent();
    void badDictionariesRaise_data();
    void badDictionariesRaise();
    void laterTypeOfTheSameNameWins();
};

// kind: "item" (DictItemText, arg is a position), "code" (DictCodeOf), "text" (DictTextOf)
void TestDictionary::lookups_data()
{
    // clang-format off
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("arg");
    QTest::addColumn<QString>("expected");

    QTest::newRow("4th degree") << "item" << "学位" << "4" << "未获学位";
    QTest::newRow("code of 未获学位") << "code" << "学位" << "未获学位" << "37";
    QTest::newRow("text of 69") << "text" << "学历" << "69" << "高中以下";
    QTest::newRow("code can be zero") << "code" << "奖励或处罚" << "奖励" << "0";
    QTest::newRow("no prefix match") << "code" << "学历" << "大学本科" << "";
    QTest::newRow("leading zero matches nothing") << "text" << "民族" << "01" << "";
    QTest::newRow("empty text") << "code" << "学历" << "" << "";
    QTest::newRow("unknown type, item") << "item" << "血型" << "1" << "";
    QTest::newRow("unknown type, code") << "code" << "血型" << "男" << "";
    QTest::newRow("position 0") << "item" << "性别" << "0" << "";
    QTest::newRow("negative position") << "item" << "性别" << "-3" << "";
    QTest::newRow("30 in 学历") << "text" << "学历" << "30" << "研究生毕业";
    QTest::newRow("30 in 身份证件类型") << "text" << "身份证件类型" << "30" << "护照";
    QTest::newRow("last nation") << "item" << "民族" << "56" << "基诺族";
    QTest::newRow("Han is 1") << "code" << "民族" << "汉族" << "1";
    QTest::newRow("man") << "code" << "性别" << "男" << "10";
    QTest::newRow("woman") << "text" << "性别" << "11" << "女";
    QTest::newRow("resident card") << "code" << "身份证件类型" << "身份证" << "28";
    QTest::newRow("required course") << "code" << "课程类型" << "必修课" << "2";
    QTest::newRow("type name is case and space exact") << "code" << "性别 " << "男" << "";
    // clang-format on
}

void TestDictionary::lookups()
{
    QFETCH(QString, kind);
    QFETCH(QString, type);
    QFETCH(QString, arg);
    QFETCH(QString, expected);
    QString actual;
    if (kind == "item")
        actual = DictItemText(type, arg.toInt());
    else if (kind == "code")
        actual = DictCodeOf(type, arg);
    else
        actual = DictTextOf(type, arg);
    QCOMPARE(actual, expected);
}

void TestDictionary::positionBeyondTheItemsRaisesListIndexError()
{
    QVERIFY_THROWS_EXCEPTION(ListIndexError, DictItemText("性别", 3));
    QCOMPARE(DictItemText("性别", 2), QString("女"));
    // An unknown type has no items to run past.
    QCOMPARE(DictItemText("无此类型", 300), QString());
}

void TestDictionary::embeddedResourceIsUtf8WithByteOrderMarkAndFullContent()
{
    QFile resource(":/SYSDIC");
    QVERIFY(resource.open(QIODevice::ReadOnly));
    const QByteArray bytes = resource.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    const Dictionary &d = Dictionary::embedded();
    QStringList names;
    int items = 0;
    for (const DictType &t : d.types()) {
        names << t.name;
        items += int(t.items.size());
    }
    QCOMPARE(names, QStringList({"学位", "学历", "民族", "身份证件类型", "现任专业技术职务", "资格取得方式", "性别",
                                 "课程类型", "奖励或处罚"}));
    // The window appends exactly this many items at start-up.
    QCOMPARE(items, 84);
    for (int n = 1; n <= 56; ++n)
        QCOMPARE(d.codeOf("民族", d.itemText("民族", n)), QString::number(n));
}

void TestDictionary::badDictionariesRaise_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not XML") << QByteArray("no markup here");
    QTest::newRow("truncated") << QByteArray("<数据字典><DictType name=\"性别\"><DictItem value=\"10\">男");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("type without name") << QByteArray(
        "<数据字典><DictType><DictItem value=\"1\">x</DictItem></DictType></数据字典>");
    QTest::newRow("item without code") << QByteArray(
        "<数据字典><DictType name=\"t\"><DictItem>x</DictItem></DictType></数据字典>");
}

void TestDictionary::badDictionariesRaise()
{
    QFETCH(QByteArray, bytes);
    QVERIFY_THROWS_EXCEPTION(XmlError, Dictionary::parse(bytes, "SYSDIC"));
}

void TestDictionary::laterTypeOfTheSameNameWins()
{
    const Dictionary d = Dictionary::parse(
        "<d><DictType name=\"t\"><DictItem value=\"1\">a</DictItem></DictType>"
        "<DictType name=\"t\"><DictItem value=\"2\">a</DictItem><DictItem value=\"3\">b</DictItem></DictType></d>",
        "test");
    QCOMPARE(d.codeOf("t", "a"), QString("2"));
    QCOMPARE(d.textOf("t", "1"), QString("a"));
    // Every type of that name is visited, so the shorter one runs out first.
    QVERIFY_THROWS_EXCEPTION(ListIndexError, d.itemText("t", 2));
}

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
