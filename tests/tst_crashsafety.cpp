// A process saving a large document is killed at random moments: the file on
// disk must always be one whole document, the old or the new, and the next
// successful save leaves no temporary files behind.
#include "xml/xmldocument.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace varnok;

class TestCrashSafety : public QObject {
    Q_OBJECT
private slots:
    void killedWhileSaving();
};

void TestCrashSafety::killedWhileSaving()
{
    const int rounds = qEnvironmentVariableIntValue("VARNOK_CRASH_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("VARNOK_CRASH_ROUNDS")
                           : 40;
    const QString tool = QCoreApplication::applicationDirPath() + "/varnok_savetool";
    QTemporaryDir dir;
    const QString path = dir.filePath("申报.xml");
    QRandomGenerator random(20261208);
    int sawFirst = 0, sawSecond = 0;

    for (int round = 0; round < rounds; ++round) {
        QProcess saver;
        saver.start(tool, {"loop", path, "1024"});
        QVERIFY(saver.waitForStarted());
        QVERIFY(saver.waitForReadyRead(20000));  // "ready": the documents are built; 20 s only catches a hang
        if (round == 0)
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 20000);
        QThread::usleep(random.bounded(1000, 120000));
        saver.kill();
        QVERIFY(saver.waitForFinished(20000));

        XmlDocument doc;
        try {
            doc.loadFromFile(path);
        } catch (const std::exception &e) {
            QFAIL(qPrintable(QString("round %1: %2").arg(round).arg(QString::fromUtf8(e.what()))));
        }
        const XmlElement section = doc.documentElement().child(0);
        const QString first = section.child(0).text();
        QVERIFY(first == QString(40, u'甲') || first == QString(40, u'乙'));
        QCOMPARE(section.childCount(), 1024 * 1024 / 64);
        QCOMPARE(section.child(section.childCount() - 1).text(), first);
        (first.startsWith(u'甲') ? sawFirst : sawSecond)++;
    }
    qInfo("%d kills: %d times the first document, %d times the second", rounds, sawFirst, sawSecond);

    QProcess save;
    save.start(tool, {"save", path, "final"});
    QVERIFY(save.waitForFinished(20000));
    QCOMPARE(save.exitCode(), 0);
    QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
#ifdef _WIN32
    // Windows has no unnamed temporary files: a killed save leaves its
    // temporary copy ("申报.xml.XXXXXX") beside the document, never in its
    // place.
    static const QRegularExpression temporary(QStringLiteral("^申报\\.xml\\.\\w{6}$"));
    files.removeIf([](const QString &name) { return temporary.match(name).hasMatch(); });
#endif
    QCOMPARE(files, QStringList{"申报.xml"});
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
