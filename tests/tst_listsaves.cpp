// What a record list's 保存 and the first tab's 保存 leave in the file: the
// section, its place, its items and ids, codes for texts, the declaration;
// saves that cannot be made, and unusual texts that must survive.
#include "listsfixture.h"

#include <QRegularExpression>
#include <QSet>

using namespace lists;

class TestListSaves : public QObject {
    Q_OBJECT
private slots:
    void listSaveWritesTheSection_data();
    void listSaveWritesTheSection();
    void sectionsGoLastAndBasicSaveRestoresTheOrder();
    void basicSaveWritesTheGridWhileAnEditIsPending();
    void twoCopiesOfASectionBecomeOne();
    void listSaveWritesGb2312WhateverTheFileDeclared_data();
    void listSaveWritesGb2312WhateverTheFileDeclared();
    void codedColumnsAreStoredAsCodesAndShownAsTexts();
    void listSaveWithoutADocument_data();
    void listSaveWithoutADocument();
    void listSaveOfABrokenFileWritesNothing();
    void unusualTextsSurvive_data();
    void unusualTextsSurvive();
    void wholeDeclarationComesBack();
};

// ------------------------------------------------------------ in the file

void TestListSaves::listSaveWritesTheSection_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("entries");
    const char *names[] = {"work history", "achievements", "education", "credit"};
    for (int id = 0; id < ListCount; ++id)
        for (int entries : {0, 2})
            QTest::addRow("%s, %d entries", names[id], entries) << id << entries;
}

void TestListSaves::listSaveWritesTheSection()
{
    QFETCH(int, list);
    QFETCH(int, entries);
    const ListId id = ListId(list);
    const RecordListDef &layout = recordListDef(id);
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    const QString path = l.bind(dir);
    const QByteArray basic = readFile(path);
    ListRows expected;
    for (int n = 1; n <= entries; ++n) {
        l.add(id, sample(id, n));
        expected << stored(id, sample(id, n));
    }

    QStringList ids;
    for (int save = 0; save < 2; ++save) {
        f.tabs()->setCurrentIndex(int(id) + 1);
        (f.form.get()->*saveHandlers[id])();
        QVERIFY(f.prompts.log.isEmpty());
        QVERIFY(!l.list(id).saveButton()->isEnabled());
        QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + path);
        QCOMPARE(f.tabs()->currentIndex(), int(id) + 1);

        const XmlDocument doc = load(path);
        const XmlElement root = doc.documentElement();
        QCOMPARE(childNames(root), QStringList({"初始注册", "最高学历", layout.section}));
        const Section section = readSection(root.child(2), layout);
        QCOMPARE(section.rows, expected);
        ids << section.ids;
    }
    static const QRegularExpression form("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
    for (const QString &recordId : ids)
        QVERIFY2(form.match(recordId).hasMatch(), qPrintable(recordId));
    QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), 2 * entries);
    // The basic information is left as it was.
    QVERIFY(readFile(path).startsWith(basic.left(basic.lastIndexOf("</root>"))));
}

void TestListSaves::sectionsGoLastAndBasicSaveRestoresTheOrder()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    const QString path = l.bind(dir);
    for (int id = 0; id < ListCount; ++id)
        l.add(ListId(id), sample(ListId(id), id + 1));
    f.form->Button3Click();
    f.form->Button16Click();
    QCOMPARE(sections(path), QStringList({"初始注册", "最高学历", "信用档案", "工作简历"}));
    f.form->Button11Click();
    f.form->Button3Click();
    QCOMPARE(sections(path), QStringList({"初始注册", "最高学历", "工作简历", "继续教育情况", "信用档案"}));

    f.form->Button6Click();
    QCOMPARE(sections(path), QStringList({"初始注册", "最高学历", "工作简历", "主要业绩", "继续教育情况", "信用档案"}));
    QCOMPARE(f.prompts.messages(), QStringList{"文件保存成功！"});
    for (int id = 0; id < ListCount; ++id)
        QCOMPARE(savedRows(path, ListId(id)), ListRows{stored(ListId(id), sample(ListId(id), id + 1))});

    // A list emptied since is gone after the next basic save.
    l.show(WorkHistory);
    l.click(WorkHistory, 5, 1);
    f.tabs()->setCurrentIndex(0);
    f.form->Button6Click();
    QCOMPARE(sections(path), QStringList({"初始注册", "最高学历", "主要业绩", "继续教育情况", "信用档案"}));
    QCOMPARE(f.tabs()->currentIndex(), 1);
}

void TestListSaves::basicSaveWritesTheGridWhileAnEditIsPending()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    l.show(WorkHistory);
    l.add(WorkHistory, sample(WorkHistory, 1));
    l.click(WorkHistory, 4, 1);
    l.fill(WorkHistory, sample(WorkHistory, 2));
    const QString path = l.bind(dir);

    QCOMPARE(savedRows(path, WorkHistory), ListRows{sample(WorkHistory, 1)});
    QCOMPARE(l.list(WorkHistory).addButton()->text(), QString("保存修改"));
    QCOMPARE(l.fields(WorkHistory), sample(WorkHistory, 2));
    l.commit(WorkHistory);
    QCOMPARE(l.row(WorkHistory, 1), withActions(sample(WorkHistory, 2)));
}

void TestListSaves::twoCopiesOfASectionBecomeOne()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("twice.xml");
    writeFile(path, QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n"
                            "<工作简历><简历列表 id=\"x\"><工作单位>甲</工作单位><起始时间>2001-01-01</起始时间>"
                            "<结束时间>2002-01-01</结束时间><备注>一</备注></简历列表></工作简历>\n"
                            "<主要业绩/>\n"
                            "<工作简历><简历列表 id=\"y\"><工作单位>乙</工作单位><起始时间>2003-01-01</起始时间>"
                            "<结束时间>2004-01-01</结束时间><备注>二</备注></简历列表>"
                            "<简历列表 id=\"z\"><工作单位>丙</工作单位><起始时间>2005-01-01</起始时间>"
                            "<结束时间>2006-01-01</结束时间><备注>三</备注></简历列表></工作简历>\n"
                            "</root>\n")
                        .toUtf8());
    FormFixture f;
    Lists l{f};
    l.f.open(path);
    const ListRows rows{{"甲", "2001-01-01", "2002-01-01", "一"},
                        {"乙", "2003-01-01", "2004-01-01", "二"},
                        {"丙", "2005-01-01", "2006-01-01", "三"}};
    QCOMPARE(l.list(WorkHistory).rows(), rows);

    f.form->Button16Click();
    QCOMPARE(sections(path), QStringList({"主要业绩", "工作简历"}));
    QCOMPARE(savedRows(path, WorkHistory), rows);
    QVERIFY(f.prompts.log.size() == 1 && f.prompts.errors().isEmpty());  // the open dialog only
}

void TestListSaves::listSaveWritesGb2312WhateverTheFileDeclared_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString body = "<root><工作简历><简历列表><工作单位>甲</工作单位><起始时间>2001-01-01</起始时间>"
                         "<结束时间>2002-01-01</结束时间><备注>一</备注></简历列表></工作简历></root>";
    QTest::newRow("UTF-8") << ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body).toUtf8();
    QTest::newRow("no declaration") << body.toUtf8();
    QTest::newRow("standalone") << ("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>" + body).toUtf8();
    QStringEncoder utf16("UTF-16LE");
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE") +
                                   QByteArray(utf16.encode("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body));
}

// Every save writes the declaration and bytes of the application document.
void TestListSaves::listSaveWritesGb2312WhateverTheFileDeclared()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("elsewhere.xml");
    writeFile(path, bytes);
    FormFixture f;
    Lists l{f};
    l.f.open(path);
    l.add(WorkHistory, sample(WorkHistory, 2));
    f.form->Button16Click();
    QVERIFY(f.prompts.errors().isEmpty());
    const QByteArray written = readFile(path);
    QVERIFY2(written.startsWith("<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<root>"), written.left(60).constData());
    QVERIFY(written.contains(gb("<工作单位>甲</工作单位>")));
    QCOMPARE(savedRows(path, WorkHistory),
             (ListRows{{"甲", "2001-01-01", "2002-01-01", "一"}, sample(WorkHistory, 2)}));
}

void TestListSaves::codedColumnsAreStoredAsCodesAndShownAsTexts()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    l.add(ContinuingEducation, sample(ContinuingEducation, 1));  // 选修课
    l.add(ContinuingEducation, sample(ContinuingEducation, 2));  // 必修课
    l.add(CreditRecord, sample(CreditRecord, 1));                // 奖励
    l.add(CreditRecord, sample(CreditRecord, 2));                // 处罚
    const QString path = l.bind(dir);

    const QByteArray bytes = readFile(path);
    for (const char *element : {"<课程类型>1</课程类型>", "<课程类型>2</课程类型>", "<奖励或处罚>0</奖励或处罚>",
                                "<奖励或处罚>1</奖励或处罚>"})
        QVERIFY2(bytes.contains(gb(element)), element);

    FormFixture g;
    Lists m{g};
    m.f.open(path);
    QCOMPARE(m.row(ContinuingEducation, 1).value(1), QString("选修课"));
    QCOMPARE(m.row(ContinuingEducation, 2).value(1), QString("必修课"));
    QCOMPARE(m.row(CreditRecord, 1).value(2), QString("奖励"));
    QCOMPARE(m.row(CreditRecord, 2).value(2), QString("处罚"));
    m.show(CreditRecord);
    m.click(CreditRecord, 5, 2);
    QCOMPARE(m.fields(CreditRecord), sample(CreditRecord, 2));

    // A code the dictionary lacks shows empty; its entry cannot be committed
    // until a course type is chosen.
    writeFile(path, readFile(path).replace(gb("<课程类型>2</课程类型>"), gb("<课程类型>9</课程类型>")));
    m.f.open(path);
    QCOMPARE(m.row(ContinuingEducation, 2).value(1), QString());
    m.show(ContinuingEducation);
    m.click(ContinuingEducation, 5, 2);
    QCOMPARE(m.fields(ContinuingEducation).value(1), QString());
    m.commit(ContinuingEducation);
    QCOMPARE(g.prompts.messages(), QStringList{"课程类型必须填写！"});
    QCOMPARE(m.list(ContinuingEducation).addButton()->text(), QString("保存修改"));
}

void TestListSaves::listSaveWithoutADocument_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bound");  // to a file removed since
    QTest::addColumn<bool>("refused");
    QTest::newRow("no document, no name") << "" << false << true;
    QTest::newRow("no document, name of blanks") << " " << false << false;
    QTest::newRow("no document, name") << "王堃" << false << false;
    QTest::newRow("file gone") << "" << true << false;
}

void TestListSaves::listSaveWithoutADocument()
{
    QFETCH(QString, name);
    QFETCH(bool, bound);
    QFETCH(bool, refused);
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    f.showActive();
    QString path;
    if (bound) {
        path = l.bind(dir);
        QVERIFY(QFile::remove(path));
    }
    f.set("W_name", name);
    l.show(Achievements);
    l.add(Achievements, sample(Achievements, 1));
    const QString status = f.form->statusText(1);
    l.list(Achievements).saveButton()->setFocus();

    l.list(Achievements).saveButton()->click();
    QCOMPARE(f.prompts.messages(), refused ? QStringList{"请先填写基本信息"} : QStringList());
    QVERIFY(f.prompts.errors().isEmpty());
    QCOMPARE(f.tabs()->currentIndex(), refused ? 0 : 2);
    QCOMPARE(hasFocus(f.get("W_name")), refused);
    QVERIFY(l.list(Achievements).saveButton()->isEnabled());
    QCOMPARE(f.form->statusText(1), status);
    QCOMPARE(f.form->currentDocumentPath(), path);
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestListSaves::listSaveOfABrokenFileWritesNothing()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    const QString path = l.bind(dir);
    l.add(WorkHistory, sample(WorkHistory, 1));
    const QByteArray broken = readFile(path).replace("</root>", "</ro");
    writeFile(path, broken);

    l.list(WorkHistory).saveButton()->click();
    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY(f.prompts.messages().isEmpty());
    QCOMPARE(readFile(path), broken);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.xml"});
    QVERIFY(l.list(WorkHistory).saveButton()->isEnabled());
    QCOMPARE(l.grid(WorkHistory)->rowCount(), 2);

    // A cell holding a character no file can hold (put there behind the
    // fields' back) is refused with a message; the file stays as it was.
    const QByteArray whole = QByteArray(broken).replace("</ro", "</root>");
    writeFile(path, whole);
    f.prompts.clear();
    l.grid(WorkHistory)->setCell(3, 1, "备\x01注");
    l.list(WorkHistory).saveButton()->click();
    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY2(f.prompts.errors()[0].contains("U+0001"), qPrintable(f.prompts.errors()[0]));
    QCOMPARE(readFile(path), whole);
}

void TestListSaves::unusualTextsSurvive_data()
{
    QTest::addColumn<QString>("text");
    QString longText;
    while (longText.size() < 10000)
        longText += "很长的文字 long text 0123456789 ";
    QTest::newRow("10,000 characters") << longText.left(10000);
    QTest::newRow("line breaks") << "第一行\n第二行\n\n第四行";
    QTest::newRow("xml specials") << "a & b < c > d \" e ' f &amp; <x/> ]]>";
    QTest::newRow("outside GB2312") << "王堃 张喆 😀";
}

void TestListSaves::unusualTextsSurvive()
{
    QFETCH(QString, text);
    // The text in every free-text field of every list.
    auto entry = [&](ListId id) {
        QStringList values = sample(id, 1);
        const RecordListDef &def = recordListDefs()[id];
        for (size_t i = 0; i < def.fields.size(); ++i)
            if (def.fields[i].kind == FieldKind::Edit || def.fields[i].kind == FieldKind::LabeledEdit ||
                def.fields[i].kind == FieldKind::Memo)
                values[int(i)] = text;
        return values;
    };
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    for (int id = 0; id < ListCount; ++id) {
        const ListId list = ListId(id);
        const int edit = l.list(list).def().editColumn();
        l.add(list, entry(list));
        QCOMPARE(l.row(list, 1), withActions(entry(list)));
        l.show(list);
        l.click(list, edit, 1);
        QCOMPARE(l.fields(list), entry(list));
        l.commit(list);
        QCOMPARE(l.row(list, 1), withActions(entry(list)));
    }
    const QString path = l.bind(dir);
    for (int id = 0; id < ListCount; ++id)
        QCOMPARE(savedRows(path, ListId(id)), ListRows{stored(ListId(id), entry(ListId(id)))});

    FormFixture g;
    Lists m{g};
    m.f.open(path);
    for (int id = 0; id < ListCount; ++id) {
        const ListId list = ListId(id);
        QCOMPARE(m.row(list, 1), withActions(entry(list)));
        m.show(list);
        m.click(list, m.list(list).def().editColumn(), 1);
        QCOMPARE(m.fields(list), entry(list));
    }
    QVERIFY(f.prompts.errors().isEmpty() && g.prompts.errors().isEmpty());
}

// ------------------------------------------------------------- whole flow

void TestListSaves::wholeDeclarationComesBack()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    f.fillBasic("李喆");
    f.set("W_work", "2007-07-01");
    f.set("W_zyzw", "高级工程师");
    f.set("W_rzsj", "2013-01-01");
    f.set("W_zgqd", "考核");
    f.set("W_qfrq", "2012-05-20");
    f.set("W_bysj", "2007-06-30");
    for (int id = 0; id < ListCount; ++id)
        for (int n = 1; n <= 3; ++n)
            l.add(ListId(id), sample(ListId(id), n + id));
    const QString path = dir.filePath("whole.xml");
    f.saveTo(path);
    QCOMPARE(f.prompts.messages(), QStringList{"文件保存成功！"});

    FormFixture g;
    Lists m{g};
    m.f.open(path);
    QVERIFY(g.prompts.errors().isEmpty());
    for (const BasicField &field : basicFields())
        QCOMPARE(g.value(field.control), f.value(field.control));
    QCOMPARE(g.value("W_name"), QString("李喆"));
    for (int id = 0; id < ListCount; ++id) {
        QCOMPARE(m.grid(ListId(id))->rowCount(), 4);
        for (int r = 0; r < 4; ++r)
            QCOMPARE(m.row(ListId(id), r), l.row(ListId(id), r));
    }
}

QTEST_MAIN(TestListSaves)
#include "tst_listsaves.moc"
