// The employer's desk without a window: files and folders of declarations,
// hostile ones among them, and what the check says of each, one table; the
// CSV export byte for byte; a run stopped halfway.
#include "deskdeclarations.h"
#include "hostiledocuments.h"
#include "testfiles.h"

#include "declaration/declarationfile.h"
#include "desk/deskcheck.h"
#include "desk/deskexport.h"
#include "rules/idnumber.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#ifndef _WIN32
#include <unistd.h>
#endif

using namespace varnok;
using desk::Today;
using desk::withCheck;
using desk::writeDeclaration;

namespace {

// A file of one kind: a declaration as the program writes it (complete,
// or with a fault), a hostile document, or bytes of another program.
void make(const QString &path, const QString &kind)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (kind == "complete")
        writeDeclaration(path);
    else if (kind == "other-person")
        writeDeclaration(path, {{"W_name", "陈晓梅"}, {"W_cer", withCheck("11010819900305246")}});
    else if (kind == "no-work-history")
        writeDeclaration(path, {{"W_name", "赵敏"}, {"W_cer", withCheck("11010819910305246")}}, false);
    else if (kind == "unfinished")
        writeDeclaration(path, {{"W_zgid", ""}}, false);
    else if (kind == "problems")
        writeDeclaration(path, {{"W_cer", "320106198604120536"}, {"W_zgid", " "}, {"W_nation", ""}});
    else if (kind == "empty")
        writeFile(path, {});
    else if (kind == "svg")
        writeFile(path, "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\"><g/></svg>");
    else if (kind == "bad-date")
        writeFile(path, gb("<?xml version=\"1.0\" encoding=\"GB2312\"?><root><初始注册><人员基本信息><姓名>李四"
                           "</姓名><出生日期>2001-02-29</出生日期></人员基本信息></初始注册></root>"));
    else if (kind == "locked") {
        QVERIFY(QDir().mkpath(path));
        writeDeclaration(path + "/a.xml");
        QVERIFY(QFile::setPermissions(path, {}));
    } else if (kind == "link-to-a")
        QVERIFY(QFile::link(QFileInfo(path).absolutePath() + "/a.xml", path));
    else if (kind == "text")
        writeFile(path, "not a declaration");
    else
        QVERIFY2(hostile::writeDocument(kind, path), qPrintable(kind));
}

// "shown|verdict|problems" for each row.
QStringList described(const std::vector<DeskRow> &rows)
{
    QStringList out;
    for (const DeskRow &row : rows)
        out << row.shown + '|' + row.verdict() + '|' + row.problemLines().join(u'；');
    return out;
}

}  // namespace

class TestDesk : public QObject {
    Q_OBJECT
private slots:
    void filesAndVerdicts_data();
    void filesAndVerdicts();
    void csvHoldsTheTable();
    void progressStopsTheRun();
};

void TestDesk::filesAndVerdicts_data()
{
    QTest::addColumn<QStringList>("files");     // "path=kind", under the folder
    QTest::addColumn<QStringList>("paths");     // what is checked, under the folder; "." the folder
    QTest::addColumn<QStringList>("expected");  // "shown|verdict|problems"; "…" ends a row's start

    const QString other = "基本信息·证件号码：证件号码与 %1 重复";
    // clang-format off
    QTest::newRow("complete declaration") << QStringList{"a.xml=complete"} << QStringList{"."}
        << QStringList{"a.xml|通过|"};
    QTest::newRow("every problem of the first tab, and the check character")
        << QStringList{"a.xml=problems"} << QStringList{"."}
        << QStringList{"a.xml|3|基本信息·证件号码：校验码不符，请核对证件号码；基本信息·民族：未填写民族信息！；"
                       "基本信息·资格证书编号：资格证书编号为必填项！"};
    QTest::newRow("no work history") << QStringList{"a.xml=no-work-history"} << QStringList{"."}
        << QStringList{"a.xml|1|工作简历·工作单位：还没有填写任何工作简历"};
    QTest::newRow("sub-folders, any case of .xml, other files left out, sorted")
        << QStringList{"b.XML=other-person", "a.xml=complete", "notes.txt=text", "sub/deeper/c.xml=no-work-history"}
        << QStringList{"."}
        << QStringList{"a.xml|通过|", "b.XML|通过|", QDir::toNativeSeparators("sub/deeper/c.xml") + "|1|工作简历·工作单位：还没有填写任何工作简历"};
    QTest::newRow("the same identity number, after the first tab's problems")
        << QStringList{"a.xml=complete", "b.xml=unfinished", "c.xml=other-person"} << QStringList{"a.xml", "b.xml", "c.xml"}
        << QStringList{"a.xml|1|" + other.arg("b.xml"), "b.xml|3|基本信息·资格证书编号：资格证书编号为必填项！；" +
                       other.arg("a.xml") + "；工作简历·工作单位：还没有填写任何工作简历", "c.xml|通过|"};
    QTest::newRow("the same file reached twice")
        << QStringList{"a.xml=complete", "b.xml=other-person"} << QStringList{"a.xml", ".", "b.xml"}
        << QStringList{"a.xml|1|同一个文件出现了 2 次", "a.xml|1|同一个文件出现了 2 次", "b.xml|1|同一个文件出现了 2 次",
                       "b.xml|1|同一个文件出现了 2 次"};
#ifndef _WIN32
    QTest::newRow("the same file through a link, its number no duplicate")
        << QStringList{"a.xml=complete", "link.xml=link-to-a"} << QStringList{"."}
        << QStringList{"a.xml|1|与 link.xml 是同一个文件", "link.xml|1|与 a.xml 是同一个文件"};
#endif
    QTest::newRow("another program's XML, an empty file, a foreign encoding")
        << QStringList{"svg.xml=svg", "empty.xml=empty", "utf8.xml=wrong-encoding", "text.xml=text"} << QStringList{"."}
        << QStringList{"empty.xml|无法读取|文件“empty.xml”第 1 行有错误：Document is empty",
                       "svg.xml|无法读取|文件“svg.xml”中没有基本信息、学历或任何一条记录，不是本程序的申报资料。",
                       "text.xml|无法读取|文件“text.xml”第 1 行有错误：Start tag expected, '<' not found",
                       "utf8.xml|无法读取|文件“utf8.xml”的字节与其声明的编码（UTF-8）不符，无法读取：…"};
    QTest::newRow("hostile documents are one row each, the run goes on")
        << QStringList{"1.xml=bomb", "2.xml=external-entity", "3.xml=deep", "4.xml=huge-file", "5.xml=huge-text",
                       "6.xml=invalid-bytes", "7.xml=garbage", "8.xml=bad-date", "9.xml=complete"}
        << QStringList{"."}
        << QStringList{"1.xml|无法读取|文件“1.xml”含有文档类型定义（DOCTYPE），申报资料不使用它，拒绝读取。",
                       "2.xml|无法读取|文件“2.xml”含有文档类型定义（DOCTYPE），申报资料不使用它，拒绝读取。",
                       "3.xml|无法读取|文件“3.xml”第 1 行有错误：Excessive depth in document: 256 use XML_PARSE_HUGE option",
                       "4.xml|无法读取|文件“4.xml”超过 64 MB，不是本程序的申报资料，拒绝读取。",
                       "5.xml|无法读取|文件“5.xml”中有一段文字超过 1000000 个字符，不是本程序的申报资料，拒绝读取。",
                       "6.xml|无法读取|文件“6.xml”的字节与其声明的编码（GB2312）不符，无法读取：…",
                       "7.xml|无法读取|文件“7.xml”第 1 行有错误：…",
                       "8.xml|无法读取|“出生日期”不是有效的日期（'2001-02-29' is not a valid date）",
                       "9.xml|通过|"};
    QTest::newRow("odd documents the reader takes")
        << QStringList{"gbk.xml=gbk", "other-root.xml=other-root", "missing.xml=missing"} << QStringList{"."}
        << QStringList{"gbk.xml|7|基本信息·姓名：姓名或者证件号码必须填写！；…",
                       "missing.xml|无法读取|文件“missing.xml”中没有…",
                       "other-root.xml|7|基本信息·姓名：姓名或者证件号码必须填写！；…"};
    QTest::newRow("a path that does not exist") << QStringList{"a.xml=complete"} << QStringList{"gone.xml", "a.xml"}
        << QStringList{"gone.xml|无法读取|找不到文件或文件夹“gone.xml”。", "a.xml|通过|"};
    // Root reads every folder: tst_desk_unprivileged runs this row.
    QTest::newRow("a folder without permission")
        << QStringList{"a.xml=complete", "locked=locked", "z.xml=other-person"} << QStringList{"."}
        << QStringList{"a.xml|通过|", "z.xml|通过|", "locked|无法读取|无法读取文件夹“locked”：Permission denied"};
    QTest::newRow("an empty folder") << QStringList{"notes.txt=text"} << QStringList{"."} << QStringList{};
    // clang-format on
}

void TestDesk::filesAndVerdicts()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, paths);
    QFETCH(QStringList, expected);
    QTemporaryDir temporary;
    const QString dir = temporary.path();
    const bool locked = files.join(' ').contains("=locked");
    auto unlock = qScopeGuard([&] {
        if (locked)
            QFile::setPermissions(dir + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
#ifdef _WIN32
    if (locked)
        QSKIP("a folder without permission is a POSIX permission here");
#else
    if (locked && geteuid() == 0)
        QSKIP("root reads every folder (tst_desk_unprivileged runs this row)");
#endif
    for (const QString &file : files) {
        make(dir + '/' + file.section('=', 0, 0), file.section('=', 1));
        if (QTest::currentTestFailed())
            return;
    }
    QStringList absolute;
    for (const QString &p : paths)
        absolute << QDir::cleanPath(dir + '/' + p);
    const QStringList before = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const DeskRun run = checkDeclarations(absolute, Today, dir);
    const QStringList got = described(run.rows);
    QCOMPARE(got.size(), expected.size());
    for (int i = 0; i < got.size(); ++i) {
        const QString &want = expected[i];
        const bool prefix = want.endsWith(u'…');
        QVERIFY2(prefix ? got[i].startsWith(want.chopped(1)) : got[i] == want,
                 qPrintable(QString("row %1\n   got: %2\nwanted: %3").arg(i).arg(got[i], want)));
    }
    QVERIFY(!run.stopped());
    // Only read: the folder holds what it held.
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

void TestDesk::csvHoldsTheTable()
{
    DeskRow good{"科室,一/a.xml", {}};
    good.check.name = "林\"志\"远";
    good.check.idNumber = "320106198604120535";
    good.check.title = "工程师";
    good.check.education = "大学本科毕业";
    good.check.entries = {3, 2, 1, 0};
    DeskRow bad{"=b.xml", good.check};
    bad.check.problems = {{0, "W_zgid", "资格证书编号", "资格证书编号为必填项！"},
                          {1, "W_wkpart", "工作单位", "还没有填写任何工作简历"}};
    DeskRow unreadable{"c.xml", {}};
    unreadable.check.refusal = "第 1 行有错误：\n多行";
    const QByteArray csv = deskCsv({good, bad, unreadable});
    QCOMPARE(csv,
             QByteArray("\xEF\xBB\xBF") +
                 QString("文件,姓名,证件号码,现任专业技术职务,学历,工作简历,主要业绩,继续教育,信用档案,结果,问题\r\n"
                         "\"科室,一/a.xml\",\"林\"\"志\"\"远\",320106198604120535,工程师,大学本科毕业,3,2,1,0,通过,\r\n"
                         "'=b.xml,\"林\"\"志\"\"远\",320106198604120535,工程师,大学本科毕业,3,2,1,0,2,"
                         "基本信息·资格证书编号：资格证书编号为必填项！；工作简历·工作单位：还没有填写任何工作简历\r\n"
                         "c.xml,,,,,,,,,无法读取,\"第 1 行有错误：\n多行\"\r\n")
                     .toUtf8());

    // Never over a declaration it lists.
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    writeDeclaration(path);
    const QByteArray before = readFile(path);
    const DeskRun run = checkDeclarations({path}, Today);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, writeDeskCsv(path, run.rows));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, writeDeskWorkbook(path, run.rows));
    QCOMPARE(readFile(path), before);
}

void TestDesk::progressStopsTheRun()
{
    QTemporaryDir dir;
    for (const char *name : {"a.xml", "b.xml", "c.xml"})
        writeDeclaration(dir.filePath(name));
    QList<int> seen;
    const DeskRun run = checkDeclarations({dir.path()}, Today, dir.path(), [&](int done, int total) {
        seen << done * 10 + total;
        return done < 2;
    });
    QCOMPARE(seen, (QList<int>{13, 23}));
    QCOMPARE(run.rows.size(), size_t(2));
    QVERIFY(run.stopped());
}

QTEST_GUILESS_MAIN(TestDesk)
#include "tst_desk.moc"
