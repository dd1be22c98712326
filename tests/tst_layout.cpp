#include "document/layout.h"
#include "document/values.h"
#include "testfiles.h"
#include "xml/xmldocument.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

using namespace varnok;

namespace {

FieldValues applicant()
{
    return {
        {"W_name", "王堃"},          {"W_sex", "男"},           {"W_birth", "1985-03-07"},
        {"W_nation", "汉族"},        {"W_id", "身份证"},        {"W_cer", "110105198503071234"},
        {"W_tel", "138        "},    {"W_work", "2007-07-01"},  {"W_zyzw", "工程师"},
        {"W_qfrq", "2012-05-20"},    {"W_gznx", "9 "},          {"W_rzsj", "2013-01-01"},
        {"W_zgqd", "考试"},          {"W_zgid", "ZG2012-0001"}, {"W_school", "同济大学"},
        {"W_xueli", "大学本科毕业"}, {"W_xuewei", "学士"},      {"W_bysj", "2007-06-30"},
        {"W_zhy", "土木工程"},
    };
}

XmlDocument parse(const QByteArray &bytes)
{
    XmlDocument doc;
    doc.loadFromBytes(bytes, "test.xml");
    return doc;
}

// A document as another writer might send it: GB2312 declared, GBK bytes.
XmlDocument parseGb(const QString &body) { return parse(gb("<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n" + body)); }

QString counter()
{
    static int n = 0;
    return QString("ID-%1").arg(++n);
}

}  // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void basicDocumentMatchesTheExpectedFileByteForByte();
    void emptyChoicesAreWrittenAsEmptyElements();
    void basicDocumentReadsBackToTheSameValues();
    void readingFindsPartsByTheirMarker();
    void missingFieldElementsAreLeftOut();
    void badDatesRaise_data();
    void badDatesRaise();
    void listSectionReplacesEveryCopyAndGoesLast();
    void listSectionsStoreCodesAndReadBackTexts();
    void listItemsAreReadWhateverTheirNameAndFieldOrder();
    void recordIdsAreNewEachSave();
    void replacingASectionInTheBytesGivesTheTreesBytes();
    void readingTheBytesGivesWhatTheLoadedDocumentGives_data();
    void readingTheBytesGivesWhatTheLoadedDocumentGives();
};

void TestLayout::basicDocumentMatchesTheExpectedFileByteForByte()
{
    XmlDocument doc;
    buildBasicDocument(doc, applicant());
    QFile expected(VARNOK_SOURCE_DIR "/tests/data/basic-expected.xml");
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(doc.toBytes(), expected.readAll());
}

void TestLayout::emptyChoicesAreWrittenAsEmptyElements()
{
    FieldValues values = applicant();
    values["W_xuewei"] = "";
    values["W_nation"] = "不存在的民族";
    XmlDocument doc;
    buildBasicDocument(doc, values);
    const QByteArray bytes = doc.toBytes();
    QVERIFY(bytes.contains(gb("\t\t<学位/>\r\n")));
    QVERIFY(bytes.contains(gb("\t\t\t<民族/>\r\n")));
    QCOMPARE(doc.documentElement().childCount(), 2);
}

void TestLayout::basicDocumentReadsBackToTheSameValues()
{
    XmlDocument doc;
    buildBasicDocument(doc, applicant());
    const Declaration d = readDeclaration(parse(doc.toBytes()));
    QCOMPARE(d.basic, applicant());
    for (const ListRows &rows : d.lists)
        QVERIFY(rows.isEmpty());
}

void TestLayout::readingFindsPartsByTheirMarker()
{
    // Education sits under another name but holds the marker 毕业时间; the
    // person part is read from the first child of the element holding it.
    const XmlDocument doc =
        parseGb(QString("<root>"
                        "<初始注册><人员基本信息><姓名>甲</姓名><性别>11</性别></人员基本信息></初始注册>"
                        "<最高学历/>"
                        "<其他><毕业时间>2001-07-01</毕业时间><学历>69</学历></其他>"
                        "</root>"));
    const Declaration d = readDeclaration(doc);
    QCOMPARE(d.basic.value("W_name"), QString("甲"));
    QCOMPARE(d.basic.value("W_sex"), QString("女"));
    QCOMPARE(d.basic.value("W_bysj"), QString("2001-07-01"));
    QCOMPARE(d.basic.value("W_xueli"), QString("高中以下"));

    // Without the part's own element nothing of it is read.
    const Declaration none =
        readDeclaration(parseGb(QString("<root><x><人员基本信息><姓名>乙</姓名></人员基本信息></x></root>")));
    QVERIFY(!none.basic.contains("W_name"));
}

void TestLayout::missingFieldElementsAreLeftOut()
{
    const Declaration d = readDeclaration(parseGb(QString("<root><初始注册><人员基本信息><姓名> 丙 </姓名>"
                                                          "<民族>99</民族></人员基本信息></初始注册></root>")));
    QCOMPARE(d.basic.size(), 2);
    QCOMPARE(d.basic.value("W_name"), QString(" 丙 "));
    QCOMPARE(d.basic.value("W_nation"), QString());  // unknown code: no selection
}

void TestLayout::badDatesRaise_data()
{
    QTest::addColumn<QString>("date");
    QTest::newRow("empty") << "";
    QTest::newRow("impossible") << "2001-02-29";
    QTest::newRow("slashes") << "2001/02/03";
    QTest::newRow("words") << "yesterday";
}

void TestLayout::badDatesRaise()
{
    QFETCH(QString, date);
    const XmlDocument doc = parseGb(QString("<root><最高学历><毕业时间>" + date + "</毕业时间></最高学历></root>"));
    try {
        readDeclaration(doc);
        QFAIL("a bad date was read");
    } catch (const ConversionError &e) {
        QVERIFY(QString::fromUtf8(e.what()).contains("毕业时间"));
    }
}

void TestLayout::listSectionReplacesEveryCopyAndGoesLast()
{
    XmlDocument doc;
    buildBasicDocument(doc, applicant());
    XmlElement root = doc.documentElement();
    root.addChild("工作简历").addChild("简历列表").addChild("工作单位").setText("old 1");
    root.addChild("主要业绩");
    root.addChild("工作简历").addChild("简历列表").addChild("工作单位").setText("old 2");
    const RecordListDef &work = recordListDef(WorkHistory);
    writeListSection(doc, work, {{"甲公司", "2001-01-01", "2002-01-01", "a\nb"}}, counter);
    QStringList names;
    for (int i = 0; i < root.childCount(); ++i)
        names << root.child(i).name();
    QCOMPARE(names, QStringList({"初始注册", "最高学历", "主要业绩", "工作简历"}));
    const XmlElement item = root.child(3).child(0);
    QCOMPARE(item.name(), QString("简历列表"));
    QStringList fields;
    for (int i = 0; i < item.childCount(); ++i)
        fields << item.child(i).name();
    QStringList elements;
    for (const ListField &field : work.fields)
        elements << field.element;
    QCOMPARE(fields, elements);

    writeListSection(doc, work, {}, counter);
    QCOMPARE(root.childCount(), 4);
    QCOMPARE(root.child(3).childCount(), 0);
}

void TestLayout::listSectionsStoreCodesAndReadBackTexts()
{
    XmlDocument doc;
    doc.startAfresh("1.0", "GB2312", "root");
    writeListSection(doc, recordListDef(ContinuingEducation),
                     {{"机构", "必修课", "2020-05-01", "12 ", "内容"},
                      {"机构2", "选修课", "2020-06-01", "   ", "x"},
                      {"机构3", "未知", "2020-06-01", "1  ", "y"}},
                     counter);
    writeListSection(doc, recordListDef(CreditRecord), {{"2019-01-01", "部门", "处罚", "原因", "结果"}}, counter);
    const QByteArray bytes = doc.toBytes();
    QVERIFY(bytes.contains(gb("<课程类型>2</课程类型>")));
    QVERIFY(bytes.contains(gb("<课程类型>1</课程类型>")));
    QVERIFY(bytes.contains(gb("<课程类型/>")));
    QVERIFY(bytes.contains(gb("<奖励或处罚>1</奖励或处罚>")));
    QVERIFY(bytes.contains(gb("<学时>   </学时>")));
    const Declaration d = readDeclaration(parse(bytes));
    QCOMPARE(d.lists[ContinuingEducation].size(), 3);
    QCOMPARE(d.lists[ContinuingEducation][0], QStringList({"机构", "必修课", "2020-05-01", "12 ", "内容"}));
    QCOMPARE(d.lists[ContinuingEducation][2][1], QString());
    QCOMPARE(d.lists[CreditRecord][0][2], QString("处罚"));
}

void TestLayout::listItemsAreReadWhateverTheirNameAndFieldOrder()
{
    const XmlDocument doc = parseGb(QString("<root><工作简历/>"
                                            "<工作简历><简历列表><备注>r</备注><工作单位>u</工作单位></简历列表>"
                                            "<别名><工作单位>v</工作单位></别名></工作简历>"
                                            "<第二份><简历列表><工作单位>w</工作单位></简历列表></第二份></root>"));
    const Declaration d = readDeclaration(doc);
    QCOMPARE(d.lists[WorkHistory], ListRows({{"u", "", "", "r"}, {"v", "", "", ""}, {"w", "", "", ""}}));
}

void TestLayout::recordIdsAreNewEachSave()
{
    XmlDocument doc;
    doc.startAfresh("1.0", "GB2312", "root");
    QStringList ids;
    const ListRows rows{{"a", "2001-01-01", "2002-01-01", ""}, {"b", "2001-01-01", "2002-01-01", ""}};
    auto uuid = [] { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(); };
    for (int save = 0; save < 2; ++save) {
        writeListSection(doc, recordListDef(WorkHistory), rows, uuid);
        const XmlElement section = doc.documentElement().firstChild("工作简历");
        for (int i = 0; i < section.childCount(); ++i)
            ids << section.child(i).attribute("id");
    }
    static const QRegularExpression form("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
    for (const QString &id : ids)
        QVERIFY2(form.match(id).hasMatch(), qPrintable(id));
    QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), 4);
}

// A list saved into the bytes of a written file gives, byte for byte, what
// reading it into a tree, replacing the section and writing it gives; over
// a run of saves in which sections come and go and move last, with values
// that look like the markup around them. Bytes of another layout are left
// to the tree.
void TestLayout::replacingASectionInTheBytesGivesTheTreesBytes()
{
    auto sameId = [] { return QStringLiteral("ID"); };
    const QString tricky[] = {
        "<工作简历>", "a\n\t<主要业绩>\n\t</root>", "&amp; & < > \" '", "\r\n\t<x/>\r\n", "  堃 𠮷 喆  ", "", "\t",
        "]]>"};
    auto rows = [&](int n, int from) {
        ListRows out;
        for (int r = 0; r < n; ++r) {
            QStringList row;
            for (int c = 0; c < 5; ++c)
                row << tricky[(from + r + c) % std::size(tricky)];
            row[1] = "2001-01-01";  // dates and codes as the window gives them
            out << row;
        }
        return out;
    };
    XmlDocument start;
    buildBasicDocument(start, applicant());
    QByteArray file = start.toBytes();
    // (list, entries): each a list save of the window.
    const std::pair<ListId, int> saves[] = {{WorkHistory, 3},  {Achievements, 2}, {WorkHistory, 0},
                                            {CreditRecord, 1}, {WorkHistory, 4},  {ContinuingEducation, 2},
                                            {Achievements, 0}, {CreditRecord, 5}};
    int step = 0;
    for (const auto &[id, n] : saves) {
        const RecordListDef &list = recordListDef(id);
        XmlDocument tree = parse(file);
        writeListSection(tree, list, rows(n, step), sameId);
        const QByteArray expected = tree.toBytes();
        const QByteArray spliced = replaceListSection(file, list, rows(n, step), sameId);
        QVERIFY2(spliced == expected, qPrintable(QString("save %1 of %2").arg(step).arg(list.section)));
        file = spliced;
        ++step;
    }
    QVERIFY(file.contains(gb("&lt;工作简历&gt;")));

    // Another writer's layout: no tabs, another declaration, a comment.
    const QByteArray others[] = {gb("<?xml version=\"1.0\" encoding=\"GB2312\"?><root><工作简历/></root>"),
                                 QByteArray(file).replace("GB2312", "UTF-8"), file.left(file.size() - 2)};
    for (const QByteArray &other : others)
        QVERIFY(replaceListSection(other, recordListDef(WorkHistory), rows(1, 0), sameId).isEmpty());
}

namespace {

// The outcome of a reading: the declaration, or the refusal's kind and text.
QString outcome(const std::function<Declaration()> &read)
{
    try {
        const Declaration d = read();
        QStringList out;
        for (auto it = d.basic.begin(); it != d.basic.end(); ++it)
            out << it.key() + "=" + it.value();
        for (int l = 0; l < ListCount; ++l)
            for (const QStringList &row : d.lists[size_t(l)])
                out << QString::number(l) + ":" + row.join(u'|');
        return out.join(u'\n');
    } catch (const XmlError &e) {
        return "XmlError: " + QString::fromUtf8(e.what());
    } catch (const ConversionError &e) {
        return "ConversionError: " + QString::fromUtf8(e.what());
    }
}

}  // namespace

void TestLayout::readingTheBytesGivesWhatTheLoadedDocumentGives_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    const QByteArray person = "<初始注册>\r\n\t<人员基本信息>\r\n\t\t<姓名>%1</姓名>\r\n\t\t<民族>01</民族>\r\n"
                              "\t</人员基本信息>\r\n</初始注册>\r\n";
    auto named = [&](const char *value) {
        return head + "<root>\r\n" + QByteArray(person).replace("%1", value) + "</root>";
    };
    auto items = [&](const QByteArray &inside) { return head + "<root><工作简历>" + inside + "</工作简历></root>"; };
    const QString longText(XmlDocument::MaxTextLength + 1, u'长');
    const QByteArray longUtf8 = longText.toUtf8(), longBlank(XmlDocument::MaxTextLength + 1, ' ');
    // clang-format off
    QTest::newRow("layout") << named("王堃");
    QTest::newRow("blanks as a value") << named(" \t ");
    QTest::newRow("references") << named("&amp;&#22531;&#x5586;&lt;");
    QTest::newRow("a byte-order mark first") << named("&#xFEFF;值");
    QTest::newRow("comments in a value") << named("a<!--x--> <!--y-->b");
    QTest::newRow("CDATA") << named("<![CDATA[<甲>]]> <![CDATA[ ]]>");
    QTest::newRow("a value with elements") << named("前<b> 中 </b> <c/>后");
    QTest::newRow("blank runs among elements") << items("<简历列表> <!--x--> <工作单位>甲</工作单位> <?pi x?> <备注> 乙 </备注> </简历列表>");
    QTest::newRow("blank CDATA among elements") << items("<简历列表><![CDATA[ ]]><工作单位>甲</工作单位></简历列表>");
    QTest::newRow("text among elements") << items("<简历列表>前<工作单位>甲</工作单位>后</简历列表>");
    QTest::newRow("fields deeper") << items("<简历列表><工作单位><a>甲</a> <b>乙</b></工作单位></简历列表>");
    QTest::newRow("marker last, other names") << items("<x><备注>甲</备注></x><y/><简历列表><工作单位>乙</工作单位></简历列表>");
    QTest::newRow("no section of the name") << head + "<root><其他><简历列表><工作单位>甲</工作单位></简历列表></其他></root>";
    QTest::newRow("two sections") << head + "<root><工作简历><简历列表><工作单位>甲</工作单位></简历列表></工作简历>"
                                          "<工作简历><简历列表><工作单位>乙</工作单位></简历列表></工作简历></root>";
    QTest::newRow("undeclared prefix") << items("<x:简历列表><x:工作单位>甲</x:工作单位></x:简历列表>");
    QTest::newRow("declared namespace") << items("<n:简历列表 xmlns:n=\"urn:n\"><n:工作单位>甲</n:工作单位></n:简历列表>");
    QTest::newRow("person part first, section later")
        << head + "<root><x><人员基本信息><姓名>甲</姓名></人员基本信息></x><初始注册/></root>";
    QTest::newRow("a bad date") << head + "<root><最高学历><毕业时间>2001-02-29</毕业时间></最高学历></root>";
    QTest::newRow("a text too long") << named(longUtf8.constData());
    QTest::newRow("blanks too long among elements") << items("<简历列表>" + longBlank + "<工作单位>甲</工作单位></简历列表>");
    QTest::newRow("blanks too long as a value") << items("<简历列表><工作单位>" + longBlank + "</工作单位></简历列表>");
    QTest::newRow("not well-formed") << items("<简历列表><工作单位>甲</简历列表>");
    QTest::newRow("a DOCTYPE") << head + "<!DOCTYPE root [<!ENTITY e \"x\">]><root>&e;</root>";
    QTest::newRow("an undefined entity") << items("<简历列表><工作单位>&e;</工作单位></简历列表>");
    QTest::newRow("bytes not of the encoding") << head + "<root><初始注册>\xC3</初始注册></root>";
    QTest::newRow("GB2312 declared") << gb("<?xml version=\"1.0\" encoding=\"GB2312\"?><root><初始注册><人员基本信息>"
                                           "<姓名>王&#22531;</姓名></人员基本信息></初始注册></root>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no root") << head;
    // clang-format on
}

void TestLayout::readingTheBytesGivesWhatTheLoadedDocumentGives()
{
    QFETCH(QByteArray, bytes);
    const QString fromDocument = outcome([&] { return readDeclaration(parse(bytes)); });
    const QString fromBytes = outcome([&] { return readDeclaration(bytes, "test.xml"); });
    QCOMPARE(fromBytes, fromDocument);
}

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"
