// Every command that writes a file, on a full disk and into read-only places:
// a clear message, the old file byte for byte, the window unchanged, and the
// program still usable once the cause is gone.
// The full disk is a file-size limit on this process. Read-only places need
// an unprivileged user (root ignores permissions): as root those rows are
// skipped here and run by the unprivileged copy of this test.
#include "listsfixture.h"

#include "declaration/declarationfile.h"
#include "platform/folders.h"

#include <QUuid>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace varnok;

namespace {

void fillLists(FormFixture &f)
{
    for (int l = 0; l < ListCount; ++l)
        lists::Lists{f}.add(ListId(l), lists::sample(ListId(l), 1));
}

// What the user sees of the window.
struct Snapshot {
    WindowState window;
    QString status;
    QList<bool> saveButtons;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snapshot(const FormFixture &f)
{
    Snapshot s{f.form->windowState(), f.form->statusText(1), {}};
    for (int l = 0; l < ListCount; ++l)
        s.saveButtons << f.list(ListId(l)).saveButton()->isEnabled();
    return s;
}

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

const QFileDevice::Permissions ReadOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                          QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
const QFileDevice::Permissions Writable = ReadOnly | QFileDevice::WriteOwner;

}  // namespace

class TestDiskFailures : public QObject {
    Q_OBJECT
private slots:
    void writes_data();
    void writes();
    void readOnlyProgramFolderIsNotProposed();
    void wholeSaveAtEveryFullDiskSize();
};

void TestDiskFailures::writes_data()
{
    // clang-format off
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("condition");
    const QStringList operations{"first save", "basic save", "work history save", "achievements save",
                                 "education save", "credit save", "save as", "help"};
    for (const QString &operation : operations)
        for (const char *condition : {"full disk", "read-only folder", "read-only file"})
            QTest::addRow("%s, %s", qPrintable(operation), condition) << operation << QString(condition);
    // Room for all but the last byte of the whole declaration.
    for (const char *operation : {"first save", "basic save", "save as"})
        QTest::addRow("%s, full disk at the last byte", operation) << QString(operation) << QString("full at the end");
    // clang-format on
}

void TestDiskFailures::writes()
{
    QFETCH(QString, operation);
    QFETCH(QString, condition);
    const bool full = condition.startsWith("full");
    if (!full && geteuid() == 0)
        QSKIP("root ignores file permissions; the unprivileged run covers this");

    QTemporaryDir dir;
    const QString bound = dir.filePath("bound.xml");
    const QString target = operation == "first save" || operation == "save as" ? dir.filePath("new.xml") : bound;
    const QString help = dir.filePath("help.chm");
    const QString previousFolder = QDir::currentPath();
    QDir::setCurrent(dir.path());

    FormFixture f;
    f.fillBasic();
    fillLists(f);
    if (operation != "first save") {
        f.saveTo(bound);
        QVERIFY(QFile::exists(bound));
        fillLists(f);  // something new waits in every list
    }
    if (operation == "help") {
        f.form->Label45Click();  // an older copy is in place
        QVERIFY(QFile::exists(help));
    }
    if (condition == "read-only file" && (operation == "first save" || operation == "save as")) {
        QFile existing(target);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("<root>another applicant</root>");
    }
    const QString protectedFile = operation == "help" ? help : target;
    const QByteArray before = readFile(protectedFile);
    const QByteArray boundBefore = readFile(bound);
    const Snapshot window = snapshot(f);
    f.prompts.clear();

    auto run = [&] {
        if (operation == "first save" || operation == "save as")
            f.prompts.files << target;
        if (operation == "first save" || operation == "basic save")
            f.get<QPushButton>("Button6")->click();
        else if (operation == "save as")
            QTest::mouseClick(f.get("Label44"), Qt::LeftButton);
        else if (operation == "help")
            QTest::mouseClick(f.get("Label45"), Qt::LeftButton);
        else {
            const char *buttons[] = {"Button16", "Button18", "Button11", "Button3"};
            const int l =
                QStringList{"work history save", "achievements save", "education save", "credit save"}.indexOf(
                    operation);
            f.get<QPushButton>(buttons[l])->click();
        }
    };

    {
        std::unique_ptr<FileSizeLimit> limit;
        if (condition == "full disk")
            limit = std::make_unique<FileSizeLimit>(256);
        if (condition == "full at the end") {
            DeclarationFile scratch([] { return QUuid::createUuid().toString(QUuid::WithoutBraces); });
            scratch.save(f.form->held(), dir.filePath("scratch.xml"));
            const qint64 whole = QFileInfo(dir.filePath("scratch.xml")).size();
            QFile::remove(dir.filePath("scratch.xml"));
            limit = std::make_unique<FileSizeLimit>(rlim_t(whole - 1));
        }
        if (condition == "read-only folder")
            QFile::setPermissions(dir.path(), ReadOnly);
        if (condition == "read-only file")
            QFile::setPermissions(protectedFile,
                                  QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        run();
    }
    QFile::setPermissions(dir.path(), Writable | QFileDevice::WriteGroup);
    if (QFile::exists(protectedFile))
        QFile::setPermissions(protectedFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);

    QCOMPARE(f.prompts.errors().size(), 1);
    const QString message = f.prompts.errors()[0];
    QVERIFY2(message.contains(QFileInfo(protectedFile).fileName()), qPrintable(message));
    QVERIFY(!f.prompts.messages().contains("文件保存成功！"));
    QCOMPARE(readFile(protectedFile), before);
    QCOMPARE(readFile(bound), boundBefore);
    QVERIFY(snapshot(f) == window);
    QStringList expectedFiles{"bound.xml", "help.chm", "new.xml"};
    const QStringList present = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : present)
        QVERIFY2(expectedFiles.contains(name), qPrintable(name));

    // Still usable: with room and rights again, the same command succeeds.
    if (QFile::exists(protectedFile))
        QFile::setPermissions(protectedFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    f.prompts.clear();
    run();
    QVERIFY2(f.prompts.errors().isEmpty(), qPrintable(f.prompts.errors().join('\n')));
    if (operation == "help")
        QCOMPARE(readFile(help).left(4), QByteArray("ITSF"));
    else
        QVERIFY(readFile(protectedFile) != before);
    QDir::setCurrent(previousFolder);
}

void TestDiskFailures::readOnlyProgramFolderIsNotProposed()
{
    QTemporaryDir dir;
    QCOMPARE(platform::programDirectory(dir.path()), QDir::toNativeSeparators(dir.path()) + QDir::separator());
    if (geteuid() == 0)
        QSKIP("root ignores file permissions; the unprivileged run covers this");
    QFile::setPermissions(dir.path(), ReadOnly);
    const QString folder = platform::programDirectory(dir.path());
    QFile::setPermissions(dir.path(), Writable);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY2(folder == QDir::toNativeSeparators(documents) + QDir::separator() ||
                 folder == QDir::toNativeSeparators(QDir::homePath()) + QDir::separator(),
             qPrintable(folder));
}

// However little room is left, a save of the whole declaration leaves the
// old file byte for byte, no temporary file, and its changes still unsaved;
// with room for every byte it writes everything.
void TestDiskFailures::wholeSaveAtEveryFullDiskSize()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("申报.xml");
    int id = 0;
    DeclarationFile file([&id] { return QStringLiteral("00000000-0000-0000-0000-%1").arg(++id, 12, 10, QChar('0')); });
    auto declaration = [](const QString &name, int entries) {
        Declaration d{clearedBasicValues(QDate(2026, 12, 9)), {}};
        d.basic["W_name"] = name;
        for (int l = 0; l < ListCount; ++l)
            for (int n = 1; n <= entries; ++n)
                d.lists[size_t(l)] << lists::sample(ListId(l), n);
        return d;
    };
    const Declaration next = declaration("新的", 3);
    // Its size, written elsewhere.
    file.save(next, dir.filePath("size.xml"));
    const qint64 whole = QFileInfo(dir.filePath("size.xml")).size();
    QFile::remove(dir.filePath("size.xml"));
    file.save(declaration("旧的", 1), path);
    const QByteArray before = readFile(path);

    for (qint64 room = 0; room < whole; ++room) {
        {
            FileSizeLimit limit{rlim_t(room)};
            QVERIFY_THROWS_EXCEPTION(XmlError, file.save(next, path));
        }
        QCOMPARE(readFile(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"申报.xml"});
        QVERIFY(file.hasChanges(next));
    }
    qInfo("every size from 0 to %lld bytes refused", whole - 1);
    FileSizeLimit limit{rlim_t(whole)};
    file.save(next, path);
    QCOMPARE(DeclarationFile::read(path).lists, next.lists);
    QCOMPARE(DeclarationFile::read(path).basic.value("W_name"), QString("新的"));
    QVERIFY(!file.hasChanges(next));
}

QTEST_MAIN(TestDiskFailures)
#include "tst_diskfailures.moc"
