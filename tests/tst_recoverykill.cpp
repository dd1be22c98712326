// A window typing at random into every field and list (varnok_recoverytool)
// is killed at random moments. After every kill the next start offers its
// copy once one had been written, and taking it back gives a window equal to
// a state the killed window really had (its log has them all): the very
// state of the last write that ended, or, killed while writing, that of the
// write under way. How far the copy lagged behind the window is reported.
#include "formfixture.h"
#include "windowstates.h"

#include "app/recoverykeeper.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace varnok;

namespace {

struct LogEntry {
    char kind;  // S, w, W, r, R
    int state;
    qint64 ms;
    QByteArray digest;  // S only
};

QList<LogEntry> readLog(const QString &path)
{
    QList<LogEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        // The last line may have been cut by the kill.
        if (parts.size() < 3 || (parts[0] == "S" && (parts.size() < 4 || parts[3].size() != 40)))
            continue;
        entries.append({parts[0][0], parts[1].toInt(), parts[2].toLongLong(), parts.value(3)});
    }
    return entries;
}

qint64 percentile(QList<qint64> values, int p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[qMin(values.size() - 1, values.size() * p / 100)];
}

}  // namespace

class TestRecoveryKill : public QObject {
    Q_OBJECT
private slots:
    void killedWhileTyping();
};

void TestRecoveryKill::killedWhileTyping()
{
    const int rounds = qEnvironmentVariableIntValue("VARNOK_RECOVERY_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("VARNOK_RECOVERY_ROUNDS")
                           : 12;
    const QString tool = QCoreApplication::applicationDirPath() + "/varnok_recoverytool";
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    const QString log = dir.filePath("typing.log");
    const QString document = dir.filePath("申报资料.xml");
    const int interval = 100;
    QRandomGenerator random(20261208);

    int offered = 0, matched = 0, whileWriting = 0, beforeFirstCopy = 0;
    QList<qint64> lagMs, lagStates;
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(document);
        QProcess typist;
        typist.start(tool, {"type", folder, log, QString::number(round + 1), document, QString::number(interval)});
        QVERIFY(typist.waitForStarted());
        QVERIFY(typist.waitForReadyRead(30000));  // "ready": only a hang takes this long
        QThread::msleep(random.bounded(0, 3000));
        typist.kill();
        QVERIFY(typist.waitForFinished(30000));

        const QList<LogEntry> entries = readLog(log);
        QList<const LogEntry *> states;
        const LogEntry *last = nullptr;         // the last event of the copy
        const LogEntry *lastWritten = nullptr;  // the last write that ended, unless removed since
        bool everWritten = false;
        for (const LogEntry &e : entries) {
            if (e.kind == 'S') {
                QCOMPARE(e.state, int(states.size()));
                states.append(&e);
                continue;
            }
            last = &e;
            if (e.kind == 'W') {
                lastWritten = &e;
                everWritten = true;
            }
            if (e.kind == 'R')
                lastWritten = nullptr;
        }
        QVERIFY(!states.isEmpty());

        // The next start.
        FormFixture f;
        RecoveryKeeper keeper(*f.form, f.prompts, folder);
        f.prompts.answers << true;
        keeper.offer();
        QVERIFY2(f.prompts.errors().isEmpty(), qPrintable(f.prompts.errors().join('\n')));
        const bool wasOffered = f.prompts.questions().size() == 1;
        const char lastKind = last ? last->kind : 0;
        const QString where = QString("round %1, last event %2").arg(round).arg(lastKind ? QChar(lastKind) : u'-');
        if (lastKind == 'W')
            QVERIFY2(wasOffered, qPrintable(where + ": a written copy was not offered"));
        if (lastKind == 0 || lastKind == 'R')
            QVERIFY2(!wasOffered, qPrintable(where + ": a copy offered that was never written or was removed"));
        if (lastKind == 'w')
            ++whileWriting;
        if (!everWritten)
            ++beforeFirstCopy;

        if (wasOffered) {
            ++offered;
            const QByteArray digest = stateDigest(f.form->windowState());
            // Written last, or (killed while writing) being written, or
            // (killed while removing) not removed yet.
            QList<int> expected;
            if (lastKind == 'W' || lastKind == 'w')
                expected << last->state;
            if ((lastKind == 'w' || lastKind == 'r') && lastWritten)
                expected << lastWritten->state;
            int found = -1;
            for (int n : expected)
                if (states[n]->digest == digest)
                    found = n;
            QVERIFY2(found >= 0, qPrintable(where + ": the copy is none of the states it could be"));
            ++matched;
            lagStates << states.size() - 1 - found;
            lagMs << (found + 1 < states.size() ? states.back()->ms - states[found + 1]->ms : 0);
        }
        // The window ends normally: nothing of this round is left but what
        // was kept aside (nothing here, since every copy was taken back).
        f.form->ShutDown();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
        if ((round + 1) % 100 == 0)
            qInfo("%d kills, %d copies offered", round + 1, offered);
    }
    qInfo("%d kills: %d copies offered, %d equal to the state written last (or being written), %d killed while "
          "writing, %d before the first copy",
          rounds, offered, matched, whileWriting, beforeFirstCopy);
    qInfo("typing not in the copy (ms, interval %d ms): median %lld, 90%% %lld, 99%% %lld, max %lld", interval,
          percentile(lagMs, 50), percentile(lagMs, 90), percentile(lagMs, 99), percentile(lagMs, 100));
    qInfo("states not in the copy: median %lld, 90%% %lld, max %lld", percentile(lagStates, 50),
          percentile(lagStates, 90), percentile(lagStates, 100));
}

QTEST_MAIN(TestRecoveryKill)
#include "tst_recoverykill.moc"
