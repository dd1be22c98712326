// Hostile and broken documents opened through the window: each opens soundly
// or is refused with a clear message, quickly, without a memory blow-up, and
// a refusal leaves the window, its bound file and every file on disk as they
// were.
#include "testfiles.h"
#include "formfixture.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <sys/resource.h>

using namespace varnok;

namespace {

const QString Basic = QString::fromUtf8(
    "<初始注册><人员基本信息><姓名>李四</姓名><民族>1</民族><出生日期>1980-01-02</出生日期></人员基本信息></初始注册>"
    "<最高学历><毕业院校>某大学</毕业院校><毕业时间>2002-07-01</毕业时间></最高学历>");

// A real document of the program, some tens of kilobytes.
QByteArray realDocument()
{
    QString lists = "<工作简历>";
    for (int i = 0; i < 60; ++i)
        lists += QString("<简历列表 id=\"%1\"><工作单位>第%1单位</工作单位><起始时间>2001-01-01</起始时间>"
                         "<结束时间>2002-01-01</结束时间><备注>%2</备注></简历列表>")
                     .arg(i)
                     .arg(QString(200, u'注'));
    lists += "</工作简历>";
    return gb("<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<root>" + Basic + lists + "</root>\r\n");
}

qint64 peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result();
}

}  // namespace

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    void documents_data();
    void documents();
    void everyTruncationOfARealDocumentIsRefused();
};

void TestHostile::documents_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("inMessage");  // refused: part of the message; opened: the name shown

    QTest::newRow("entity expansion bomb") << "bomb" << false << "DOCTYPE";
    QTest::newRow("external entity to a local file") << "external-entity" << false << "DOCTYPE";
    QTest::newRow("external DTD") << "external-dtd" << false << "DOCTYPE";
    QTest::newRow("100,000-deep nesting") << "deep" << false << "depth";
    QTest::newRow("100 MB file") << "huge-file" << false << "64 MB";
    QTest::newRow("20 MB text node") << "huge-text" << false << "huge";
    QTest::newRow("20 MB text node, UTF-8") << "huge-text-utf8" << false << "1000000";
    QTest::newRow("declared UTF-8, GBK bytes") << "wrong-encoding" << false << "编码";
    QTest::newRow("unknown declared encoding") << "unknown-encoding" << false << "文件";
    QTest::newRow("invalid bytes under GB2312") << "invalid-bytes" << false << "编码";
    QTest::newRow("GBK bytes under GB2312") << "gbk" << true << "李堃";
    QTest::newRow("UTF-16 with byte order mark") << "utf16-bom" << true << "李四";
    QTest::newRow("UTF-16 without byte order mark") << "utf16" << true << "李四";
    QTest::newRow("UTF-8 with byte order mark") << "utf8-bom" << true << "李四";
    QTest::newRow("UTF-8 without byte order mark") << "utf8" << true << "李四";
    QTest::newRow("document element other than root") << "other-root" << true << "李四";
    QTest::newRow("duplicated sections") << "duplicated" << true << "李四";
    QTest::newRow("missing sections") << "missing" << true << "";
    QTest::newRow("binary garbage") << "garbage" << false << "文件";
}

void TestHostile::documents()
{
    QFETCH(QString, kind);
    QFETCH(bool, opens);
    QFETCH(QString, inMessage);
    QTemporaryDir dir;
    const QString path = dir.filePath(kind + ".xml");
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        const QByteArray decl = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n";
        const QString body = "<root>" + Basic + "</root>";
        if (kind == "bomb") {
            QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE root [\n<!ENTITY a \"aaaaaaaaaa\">\n";
            for (char c = 'b'; c <= 'l'; ++c)
                bomb += QByteArray("<!ENTITY ") + c + " \"" + QByteArray("&") + char(c - 1) + ";" +
                        QByteArray("&") + char(c - 1) + ";" + QByteArray("&") + char(c - 1) + ";" +
                        QByteArray("&") + char(c - 1) + ";" + "\">\n";
            out.write(bomb + "]>\n<root>&l;</root>\n");
        } else if (kind == "external-entity") {
            out.write("<?xml version=\"1.0\"?><!DOCTYPE root [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><root>&x;</root>");
        } else if (kind == "external-dtd") {
            out.write("<?xml version=\"1.0\"?><!DOCTYPE root SYSTEM \"file:///etc/passwd\"><root/>");
        } else if (kind == "deep") {
            out.write(QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000));
        } else if (kind == "huge-file") {
            out.write(decl + gb(body));
            QVERIFY(out.resize(100 * 1024 * 1024));
        } else if (kind == "huge-text") {
            out.write(decl + gb("<root><初始注册><人员基本信息><姓名>"));
            out.write(QByteArray(20 * 1024 * 1024, 'x'));
            out.write(gb("</姓名></人员基本信息></初始注册></root>"));
        } else if (kind == "huge-text-utf8") {
            out.write(QString("<root><初始注册><人员基本信息><姓名>").toUtf8());
            out.write(QByteArray(20 * 1024 * 1024, 'x'));
            out.write(QString("</姓名></人员基本信息></初始注册></root>").toUtf8());
        } else if (kind == "wrong-encoding") {
            out.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + gb(body));
        } else if (kind == "unknown-encoding") {
            out.write("<?xml version=\"1.0\" encoding=\"X-NO-SUCH\"?>\r\n" + gb(body));
        } else if (kind == "invalid-bytes") {
            out.write(decl + gb("<root><初始注册><人员基本信息><姓名>") + "\xFF\xFF\x80" +
                      gb("</姓名></人员基本信息></初始注册></root>"));
        } else if (kind == "gbk") {
            QByteArray bytes = decl + gb(body);
            bytes.replace(gb("李四"), gb("李") + "\x88\xD2");
            out.write(bytes);
        } else if (kind == "utf16-bom" || kind == "utf16") {
            const QString text = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body;
            if (kind == "utf16-bom")
                out.write("\xFF\xFE", 2);
            out.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        } else if (kind == "utf8-bom" || kind == "utf8") {
            if (kind == "utf8-bom")
                out.write("\xEF\xBB\xBF");
            out.write(("<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body).toUtf8());
        } else if (kind == "other-root") {
            out.write(decl + gb("<申报>" + Basic + "</申报>"));
        } else if (kind == "duplicated") {
            out.write(decl + gb("<root>" + Basic + Basic +
                                "<工作简历><简历列表><工作单位>甲</工作单位></简历列表></工作简历>"
                                "<工作简历><简历列表><工作单位>乙</工作单位></简历列表></工作简历></root>"));
        } else if (kind == "missing") {
            out.write(decl + gb("<root><工作简历/></root>"));
        } else if (kind == "garbage") {
            QByteArray junk(4096, '\0');
            for (int i = 0; i < junk.size(); ++i)
                junk[i] = char((i * 7919) % 251);
            out.write(junk);
        }
    }

    FormFixture f;
    QTemporaryDir boundDir;
    const QString bound = boundDir.filePath("bound.xml");
    f.fillBasic(QString::fromUtf8("张三"));
    f.prompts.files << bound;
    f.form->Button6Click();
    f.prompts.clear();
    const FieldValues before = f.form->page.values();
    const QByteArray fileBefore = digest(path);
    const QByteArray boundBefore = digest(bound);
    const qint64 peakBefore = peakKilobytes();

    QElapsedTimer clock;
    clock.start();
    f.prompts.files << path;
    QTest::mouseClick(f.get("Label12"), Qt::LeftButton);
    const qint64 elapsed = clock.elapsed();

    QVERIFY2(elapsed < 1000, qPrintable(QString("%1 ms").arg(elapsed)));
    QVERIFY2(peakKilobytes() - peakBefore < 400 * 1024, qPrintable(QString("%1 KB").arg(peakKilobytes() - peakBefore)));
    QCOMPARE(digest(path), fileBefore);
    QCOMPARE(digest(bound), boundBefore);
    if (opens) {
        QVERIFY2(f.prompts.errors().isEmpty(), qPrintable(f.prompts.errors().join('\n')));
        QCOMPARE(f.value("W_name"), inMessage);
        QCOMPARE(f.form->currentDocumentPath(), path);
        if (kind == "duplicated")
            QCOMPARE(f.get<RecordGrid>("W_wkgrid")->rowCount(), 3);
        return;
    }
    QCOMPARE(f.prompts.errors().size(), 1);
    const QString message = f.prompts.errors()[0];
    QVERIFY2(message.contains(inMessage), qPrintable(message));
    QVERIFY2(message.contains(path), qPrintable(message));
    QCOMPARE(f.form->page.values(), before);
    QCOMPARE(f.form->currentDocumentPath(), bound);
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + bound);
}

void TestHostile::everyTruncationOfARealDocumentIsRefused()
{
    const QByteArray whole = realDocument();
    QVERIFY(whole.size() > 20 * 1024);
    QTemporaryDir dir;
    const QString path = dir.filePath("cut.xml");
    FormFixture f;
    f.set("W_name", "原来的");
    for (qsizetype size = 0; size < whole.size(); size += 1024) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(whole.left(size));
        out.close();
        f.prompts.clear();
        f.agreeToDiscard();
        f.prompts.files << path;
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(f.get("Label12"), Qt::LeftButton);
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY2(f.prompts.errors().size() == 1, qPrintable(QString("cut at %1 bytes opened").arg(size)));
        QCOMPARE(f.value("W_name"), QString("原来的"));
        QVERIFY(f.form->currentDocumentPath().isEmpty());
    }
    // The whole document opens.
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(whole);
    out.close();
    f.prompts.clear();
    f.agreeToDiscard();
    f.prompts.files << path;
    f.form->Label12Click();
    QCOMPARE(f.get<RecordGrid>("W_wkgrid")->rowCount(), 61);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
