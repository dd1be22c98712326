// The user's own short-date format while the program's is set: kept on disk
// so that a run that ends without putting it back (a crash, a kill, a power
// cut) is mended by the next start, and shared by runs at the same time so
// that only the last to end puts it back.
#include "platform/shortdate.h"
#include "platform/userlocale.h"
#include "testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace varnok::platform;

namespace {

const std::string Program = "yyyy-MM-dd";

QString tool() { return QCoreApplication::applicationDirPath() + "/varnok_savetool"; }

// The setting as every program sees it. (Windows keeps the locale settings a
// process has read; Wine until the process ends: a program started now
// reads the setting anew.)
std::string setting()
{
#ifdef _WIN32
    QProcess reader;
    reader.start(tool(), {"shortdate-now"});
    if (!reader.waitForFinished(60000))
        return "(no answer)";
    return QString::fromUtf8(reader.readAllStandardOutput()).trimmed().toStdString();
#else
    return readUserShortDate();
#endif
}

void setSetting(const std::string &format)
{
#ifdef _WIN32
    writeUserShortDate(format);
#else
    setStandInShortDate(format);
#endif
}

// A lock file as a run that was killed leaves it: its process is gone.
void leaveLockOfAnEndedRun(const QString &folder)
{
#ifdef _WIN32
    const QString machine = qEnvironmentVariable("COMPUTERNAME");
#else
    const QString machine = QSysInfo::machineHostName();
#endif
    writeFile(QDir(folder).filePath("run-ended.lock"), "999999999\nvarnok\n" + machine.toUtf8() + "\n");
}

}  // namespace

class TestShortDate : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void runs_data();
    void runs();
    void killedRunIsMendedByTheNextStart();

private:
    std::string before_;
};

void TestShortDate::init() { before_ = setting(); }

void TestShortDate::cleanup() { setSetting(before_); }

void TestShortDate::runs_data()
{
    QTest::addColumn<QString>("story");
    QTest::addColumn<QString>("user");          // what each run takes as the user's own
    QTest::addColumn<QStringList>("settings");  // the setting after each step
    // a, b: runs; "+" begins, "-" ends, "x" ends without putting anything back.
    QTest::newRow("one run") << "+a -a"
                             << "d/M/yyyy" << QStringList{"yyyy-MM-dd", "d/M/yyyy"};
    QTest::newRow("two at once, the first ends first")
        << "+a +b -a -b"
        << "d/M/yyyy" << QStringList{"yyyy-MM-dd", "yyyy-MM-dd", "yyyy-MM-dd", "d/M/yyyy"};
    QTest::newRow("two at once, the second ends first")
        << "+a +b -b -a"
        << "d/M/yyyy" << QStringList{"yyyy-MM-dd", "yyyy-MM-dd", "yyyy-MM-dd", "d/M/yyyy"};
    QTest::newRow("a crash, then a start")
        << "+a xa +b -b"
        << "d/M/yyyy" << QStringList{"yyyy-MM-dd", "yyyy-MM-dd", "yyyy-MM-dd", "d/M/yyyy"};
    QTest::newRow("a crash beside a run that goes on")
        << "+a +b xa -b"
        << "d/M/yyyy" << QStringList{"yyyy-MM-dd", "yyyy-MM-dd", "yyyy-MM-dd", "d/M/yyyy"};
    QTest::newRow("the user's own is the program's") << "+a -a"
                                                     << "yyyy-MM-dd" << QStringList{"yyyy-MM-dd", "yyyy-MM-dd"};
    // Nothing to put back: the program's stays rather than an empty one.
    QTest::newRow("nothing could be read") << "+a -a"
                                           << "" << QStringList{"yyyy-MM-dd", "yyyy-MM-dd"};
}

void TestShortDate::runs()
{
    QFETCH(QString, story);
    QFETCH(QString, user);
    QFETCH(QStringList, settings);
    QTemporaryDir dir;
    setSetting(user.toStdString());
    std::map<QChar, std::unique_ptr<ShortDateSwitch>> runs;
    const QStringList steps = story.split(' ');
    for (int i = 0; i < steps.size(); ++i) {
        const QChar what = steps[i][0], run = steps[i][1];
        if (what == '+') {
            runs[run] = std::make_unique<ShortDateSwitch>(dir.path());
            QCOMPARE(QString::fromStdString(runs[run]->begin(Program)), user);
        } else if (what == '-') {
            runs[run]->end();
        } else {
            runs.erase(run);
            leaveLockOfAnEndedRun(dir.path());
        }
        QCOMPARE(QString::fromStdString(setting()), settings[i]);
    }
    runs.clear();
    // Nothing is left behind once every run has ended normally.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// A program killed while its format is set leaves it set, with the user's own
// kept on disk: the next start puts it back before anything else.
void TestShortDate::killedRunIsMendedByTheNextStart()
{
    QTemporaryDir dir;
    setSetting("dd.MM.yyyy");
    QProcess run;
    run.start(tool(), {"shortdate", dir.path()});
    QVERIFY(run.waitForStarted());
    QVERIFY2(run.waitForReadyRead(60000), run.readAllStandardError().constData());  // 60 s only catches a hang
    const QString ready = QString::fromUtf8(run.readLine()).trimmed();
    QVERIFY2(ready.startsWith("ready "), qPrintable(ready));
    const std::string users = ready.mid(6).toStdString();
#ifdef _WIN32
    QCOMPARE(users, std::string("dd.MM.yyyy"));
    QCOMPARE(setting(), Program);  // the real setting, for every program
#else
    setSetting(Program);  // what the run set, had it been the desktop's setting
#endif
    run.kill();
    QVERIFY(run.waitForFinished(20000));
    QCOMPARE(setting(), Program);  // left switched

    ShortDateSwitch next(dir.path());
    QCOMPARE(next.begin(Program), users);
    QCOMPARE(setting(), Program);
    next.end();
    QCOMPARE(setting(), users);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(TestShortDate)
#include "tst_shortdate.moc"
