// The bound file and other programs: whether someone else has written it
// since this window last read or wrote it, and what "检查" then finds in it,
// as it is on disk.
#include "declaration/declarationfile.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace varnok;

namespace {

Declaration declaration(const QString &name, int entries)
{
    Declaration d{clearedBasicValues(QDate(2026, 12, 9)), {}};
    d.basic["W_name"] = name;
    d.basic["W_tel"] = QStringLiteral("138        ");
    for (int n = 1; n <= entries; ++n)
        d.lists[WorkHistory] << QStringList{QStringLiteral("单位%1").arg(n), "2001-01-01", "2002-01-01", "备注"};
    return d;
}

QString newId() { return QStringLiteral("8F0C1D2E-0000-4000-8000-00000000000%1").arg(std::rand() % 10); }

}  // namespace

class TestDeclarationFile : public QObject {
    Q_OBJECT
private slots:
    void otherWriters_data();
    void otherWriters();
};

void TestDeclarationFile::otherWriters_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<bool>("changedElsewhere");
    QTest::addColumn<int>("state");  // FileState of the window's declaration
    QTest::newRow("nobody") << "" << false << int(FileState::Same);
    QTest::newRow("touched, the same bytes") << "touch" << false << int(FileState::Same);
    QTest::newRow("another declaration") << "other" << true << int(FileState::ChangedElsewhere);
    QTest::newRow("the same declaration, written anew") << "same" << true << int(FileState::Same);
    QTest::newRow("spoilt") << "garbage" << true << int(FileState::Unreadable);
    QTest::newRow("removed") << "remove" << false << int(FileState::NotSaved);
    QTest::newRow("another declaration, then a list saved here")
        << "other+list" << true << int(FileState::ChangedElsewhere);
    QTest::newRow("another declaration, then the whole saved here") << "other+save" << false << int(FileState::Same);
    QTest::newRow("another declaration, then opened here") << "other+read" << false << int(FileState::Same);
}

void TestDeclarationFile::otherWriters()
{
    QFETCH(QString, meanwhile);
    QFETCH(bool, changedElsewhere);
    QFETCH(int, state);
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    DeclarationFile file(newId);
    Declaration held = declaration("王堃", 2);
    file.save(held, path);
    QVERIFY(!file.changedElsewhere());

    DeclarationFile other(newId);
    if (meanwhile == "touch") {
        const QByteArray bytes = readFile(path);
        writeFile(path, bytes);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    } else if (meanwhile.startsWith("other")) {
        other.save(declaration("李四", 3), path);
    } else if (meanwhile == "same") {
        other.save(held, path);
    } else if (meanwhile == "garbage") {
        writeFile(path, "<root>");
    } else if (meanwhile == "remove") {
        QVERIFY(QFile::remove(path));
    }
    if (meanwhile.endsWith("+list")) {
        held.lists[WorkHistory].removeLast();
        QVERIFY(file.writeList(WorkHistory, held.lists[WorkHistory]));
    } else if (meanwhile.endsWith("+save")) {
        file.save(held, path);
    } else if (meanwhile.endsWith("+read")) {
        FileStamp stamp;
        held = DeclarationFile::read(path, &stamp);
        file.bindRead(path, held, stamp);
    }
    QCOMPARE(file.changedElsewhere(), changedElsewhere);
    QCOMPARE(int(file.compare(held)), state);
}

QTEST_GUILESS_MAIN(TestDeclarationFile)
#include "tst_declarationfile.moc"
