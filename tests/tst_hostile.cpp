// Hostile and broken documents opened through the window: each opens soundly
// or is refused with a clear message, without hanging or a memory blow-up,
// and a refusal leaves the window, its bound file and every file on disk as
// they were. How fast they are refused is a benchmark (bench/).
#include "formfixture.h"
#include "hostiledocuments.h"
#include "testfiles.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QTemporaryDir>
#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#else
#include <sys/resource.h>
#endif

using namespace varnok;

namespace {

// Far above any normal open, even under sanitizers: only a hang reaches it.
constexpr qint64 HangLimitMs = 20000;

qint64 peakKilobytes()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return qint64(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
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
    // clang-format off
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("inMessage");  // refused: part of the message; opened: the name shown

    QTest::newRow("entity expansion bomb") << "bomb" << false << "DOCTYPE";
    QTest::newRow("external entity to a local file") << "external-entity" << false << "DOCTYPE";
    QTest::newRow("external DTD") << "external-dtd" << false << "DOCTYPE";
    QTest::newRow("100,000-deep nesting") << "deep" << false << "depth";
    QTest::newRow("100 MB file") << "huge-file" << false << "64 MB";
    QTest::newRow("20 MB text node") << "huge-text" << false << "1000000";
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
    // clang-format on
}

void TestHostile::documents()
{
    QFETCH(QString, kind);
    QFETCH(bool, opens);
    QFETCH(QString, inMessage);
    QTemporaryDir dir;
    const QString path = dir.filePath(kind + ".xml");
    QVERIFY(hostile::writeDocument(kind, path));

    FormFixture f;
    QTemporaryDir boundDir;
    const QString bound = boundDir.filePath("bound.xml");
    f.fillBasic(QString::fromUtf8("张三"));
    f.saveTo(bound);
    f.prompts.clear();
    const FieldValues before = f.form->held().basic;
    const QByteArray fileBefore = digest(path);
    const QByteArray boundBefore = digest(bound);
    const qint64 peakBefore = peakKilobytes();

    // How long a refusal takes is measured by the benchmarks (bench/, rows
    // "hostile/..."); here only a hang fails.
    QElapsedTimer clock;
    clock.start();
    f.prompts.files << path;
    QTest::mouseClick(f.get("Label12"), Qt::LeftButton);
    QVERIFY2(clock.elapsed() < HangLimitMs, qPrintable(QString("%1 ms").arg(clock.elapsed())));
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
    QCOMPARE(f.form->held().basic, before);
    QCOMPARE(f.form->currentDocumentPath(), bound);
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + bound);
}

void TestHostile::everyTruncationOfARealDocumentIsRefused()
{
    const QByteArray whole = hostile::realDocument();
    QVERIFY(whole.size() > 20 * 1024);
    QTemporaryDir dir;
    const QString path = dir.filePath("cut.xml");
    FormFixture f;
    f.set("W_name", "原来的");
    for (qsizetype size : hostile::truncationSizes(whole)) {
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
        QVERIFY2(clock.elapsed() < HangLimitMs, qPrintable(QString("cut at %1 bytes").arg(size)));
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
    f.open(path);
    QCOMPARE(f.get<RecordGrid>("W_wkgrid")->rowCount(), 61);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
