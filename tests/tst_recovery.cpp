// The recovery copy as a user meets it: kept while the window holds unsaved
// work and only then, offered at the next start after a run that did not end
// normally, given back whole and bound to its file, kept aside when declined
// or unreadable, and never taken from a run that is still going.
#include "fulldeclaration.h"
#include "hostiledocuments.h"
#include "listsfixture.h"

#include "app/recoverykeeper.h"

#include <QCryptographicHash>
#include <QLockFile>
#include <QProcess>

using namespace varnok;

namespace {

// One run of the program: a window and its keeper. Destroyed without
// ShutDown, it is a run that did not end normally: its copy stays.
struct Run {
    FormFixture f;
    std::unique_ptr<RecoveryKeeper> keeper;
    explicit Run(const QString &folder) : keeper(std::make_unique<RecoveryKeeper>(*f.form, f.prompts, folder)) {}
};

QStringList files(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden);
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return f.open(QIODevice::ReadOnly) && hash.addData(&f) ? hash.result() : QByteArray();
}

// What a window holds when nothing has been typed, dates and all.
WindowState blankState()
{
    FormFixture blank;
    return blank.form->windowState();
}

enum Held { FirstTab, EveryList, Editing, OtherIdDocument, OddTexts, SavedThenChanged, NewFile, FileGoneSince };

// The window holding unsaved work of one kind; doc is where it saves.
void prepare(FormFixture &f, Held held, const QString &doc)
{
    lists::Lists l{f};
    switch (held) {
    case FirstTab:
        f.fillBasic();
        break;
    case EveryList:
        full::fillBasic(f);
        for (int list = 0; list < ListCount; ++list)
            full::addEntries(f, ListId(list), 3, 2);
        f.tabs()->setCurrentIndex(3);
        break;
    case Editing:
        for (int n = 0; n < 3; ++n)
            l.add(WorkHistory, lists::sample(WorkHistory, n));
        l.grid(WorkHistory)->setCurrentCell(4, 2);
        f.form->W_wkgridClick();
        f.set("W_wkpart", "改过的单位");
        l.grid(WorkHistory)->setCurrentCell(0, 3);             // clicked elsewhere while editing
        l.fill(CreditRecord, lists::sample(CreditRecord, 1));  // typed, not added
        f.tabs()->setCurrentIndex(1);
        break;
    case OtherIdDocument:
        f.set("W_name", "Anna");
        f.set("W_id", "护照");
        f.form->W_idChange();
        f.set("W_birth", "1990-02-03");
        f.set("W_sex", "女");
        break;
    case OddTexts:
        f.set("W_name", "  <王&堃> \"'\t" + QString::fromUcs4(U"\U00020000") + "  ");
        l.add(Achievements, {"a&b<c>", "2001-01-01", "2002-01-01", "一\n\n二\t", " 尾 "});
        break;
    case SavedThenChanged:
    case FileGoneSince:
        f.bindTo(doc);
        l.add(WorkHistory, lists::sample(WorkHistory, 1));
        if (held == SavedThenChanged)
            f.form->Button16Click();  // in the file: its 保存 stays disabled
        l.add(Achievements, lists::sample(Achievements, 1));
        f.set("W_zgid", "ZG2012-0002");
        if (held == FileGoneSince)
            QFile::remove(doc);
        break;
    case NewFile:
        f.form->Label1Click();
        f.set("W_name", "新的");
        break;
    }
    QVERIFY(f.form->hasUnsavedChanges());
}

}  // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void givesTheWindowBack_data();
    void givesTheWindowBack();
    void theNextSaveWritesWhatWasGivenBack();
    void ofSeveralTheNewestIsGivenBack();
    void keptWhileSomethingIsUnsaved_data();
    void keptWhileSomethingIsUnsaved();
    void writtenOnlyWhenSomethingChanged();
    void declinedIsKeptAsideNewestThree_data();
    void declinedIsKeptAsideNewestThree();
    void unreadableIsKeptAsideWithAMessage_data();
    void unreadableIsKeptAsideWithAMessage();
    void aRunningOwnersCopyIsLeftAlone();
    void aStaleLockOfThisNumberAndUnfinishedWrites();
};

void TestRecovery::givesTheWindowBack_data()
{
    QTest::addColumn<int>("held");
    QTest::newRow("first tab, no file") << int(FirstTab);
    QTest::newRow("every list, on a list tab") << int(EveryList);
    QTest::newRow("entry being edited, another typed") << int(Editing);
    QTest::newRow("another identity document") << int(OtherIdDocument);
    QTest::newRow("markup, blanks, outside GB2312") << int(OddTexts);
    QTest::newRow("saved, then changed") << int(SavedThenChanged);
    QTest::newRow("新建, not written yet") << int(NewFile);
    QTest::newRow("saved, file deleted since") << int(FileGoneSince);
}

void TestRecovery::givesTheWindowBack()
{
    QFETCH(int, held);
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery"), doc = dir.filePath("张三申报资料.xml");
    WindowState before;
    QMap<QString, bool> enabled;
    {
        Run crashed(folder);
        prepare(crashed.f, Held(held), doc);
        crashed.keeper->check();
        before = crashed.f.form->windowState();
        for (const char *name : {"W_birth", "W_sex", "Button16", "Button18", "Button11", "Button3"})
            enabled[name] = crashed.f.get(name)->isEnabled();
    }
    const QByteArray docBefore = readFile(doc);
    QCOMPARE(files(folder, "recovery-*.xml").size(), 1);

    Run next(folder);
    next.f.prompts.answers << true;
    next.keeper->offer();
    QCOMPARE(next.f.prompts.log.size(), 1);
    QCOMPARE(next.f.form->windowState(), before);
    QVERIFY(next.f.form->hasUnsavedChanges());
    QCOMPARE(next.f.form->currentDocumentPath(), before.path);
    QCOMPARE(next.f.form->statusText(1),
             "当前文件保存路径：" + (before.path.isEmpty() ? next.f.form->programDirectory() : before.path));
    for (auto it = enabled.cbegin(); it != enabled.cend(); ++it)
        QVERIFY2(next.f.get(it.key())->isEnabled() == it.value(), qPrintable(it.key()));
    QCOMPARE(readFile(doc), docBefore);
    // The new run's copy has taken the place of the old one.
    const QFileInfo copy(next.keeper->folder().copyPath());
    QCOMPARE(files(folder, "recovery-*"), QStringList({copy.baseName() + ".lock", copy.fileName()}));
    QCOMPARE(readRecoveryFile(next.keeper->folder().copyPath()).state, before);
}

void TestRecovery::theNextSaveWritesWhatWasGivenBack()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery"), doc = dir.filePath("申报.xml");
    Declaration typed;
    {
        Run crashed(folder);
        prepare(crashed.f, SavedThenChanged, doc);
        crashed.keeper->check();
        typed = crashed.f.form->held();
    }
    Run next(folder);
    next.f.prompts.answers << true;
    next.keeper->offer();
    next.f.prompts.clear();
    next.f.form->Button6Click();
    QCOMPARE(next.f.prompts.texts("save").size(), 0);  // bound: no file dialog
    QCOMPARE(DeclarationFile::read(doc).lists, typed.lists);
    QCOMPARE(DeclarationFile::read(doc).basic.value("W_zgid"), "ZG2012-0002");
    QVERIFY(!next.f.form->hasUnsavedChanges());
    QCOMPARE(files(folder, "*"), QStringList());  // the save removed the copy
}

// Two windows that both crashed (a power cut): the newer copy is offered
// first; taken back, the other is kept aside without a question.
void TestRecovery::ofSeveralTheNewestIsGivenBack()
{
    QTemporaryDir dir;
    WindowState newer;
    for (const char *name : {"旧的", "新的"}) {
        Run crashed(dir.path());
        crashed.f.set("W_name", name);
        crashed.keeper->check();
        newer = crashed.f.form->windowState();
        QFile copy(crashed.keeper->folder().copyPath());
        QVERIFY(copy.open(QIODevice::ReadWrite));
        copy.setFileTime(QDateTime::currentDateTime().addSecs(name == QString("旧的") ? -60 : 0),
                         QFileDevice::FileModificationTime);
    }
    Run next(dir.path());
    next.f.prompts.answers << true << true;
    next.keeper->offer();
    QCOMPARE(next.f.prompts.questions().size(), 1);
    QCOMPARE(next.f.form->windowState(), newer);
    QCOMPARE(next.keeper->folder().keptCopies().size(), 1);
    QCOMPARE(readRecoveryFile(next.keeper->folder().keptCopies()[0]).state.held.basic.value("W_name"), "旧的");
}

void TestRecovery::keptWhileSomethingIsUnsaved_data()
{
    QTest::addColumn<QString>("after");  // what follows a tick that wrote the copy
    QTest::addColumn<bool>("keptAtOnce");
    QTest::addColumn<bool>("keptAfterTick");
    QTest::newRow("nothing") << "" << true << true;
    QTest::newRow("first tab saved") << "save" << false << false;
    QTest::newRow("list saved, first tab still changed") << "list save" << true << true;
    QTest::newRow("新建 confirmed") << "new" << false << false;
    QTest::newRow("another file opened") << "open" << false << false;
    QTest::newRow("normal exit") << "exit" << false << false;
    QTest::newRow("saved, then an entry edited") << "save, edit" << false << true;
}

void TestRecovery::keptWhileSomethingIsUnsaved()
{
    QFETCH(QString, after);
    QFETCH(bool, keptAtOnce);
    QFETCH(bool, keptAfterTick);
    QTemporaryDir dir, docs;
    const QString doc = docs.filePath("申报.xml");
    Run run(dir.path());
    run.keeper->check();
    QVERIFY(!run.keeper->folder().hasCopy());  // nothing typed, nothing written
    run.f.bindTo(doc);
    lists::Lists l{run.f};
    l.add(WorkHistory, lists::sample(WorkHistory, 1));
    run.f.set("W_tel", "13900000000");
    run.keeper->check();
    QVERIFY(run.keeper->folder().hasCopy());

    if (after == "save") {
        run.f.form->Button6Click();
    } else if (after == "list save") {
        run.f.form->Button16Click();
    } else if (after == "new" || after == "open") {
        run.f.prompts.answers << true;
        if (after == "open")
            run.f.prompts.files << doc;
        after == "open" ? run.f.form->Label12Click() : run.f.form->Label1Click();
    } else if (after == "exit") {
        run.f.form->ShutDown();
    } else if (after == "save, edit") {
        run.f.form->Button6Click();
        l.grid(WorkHistory)->setCurrentCell(4, 1);
        run.f.form->W_wkgridClick();
    }
    QCOMPARE(run.keeper->folder().hasCopy(), keptAtOnce);
    run.keeper->check();
    QCOMPARE(run.keeper->folder().hasCopy(), keptAfterTick);
    QCOMPARE(files(dir.path(), "*").size(), keptAfterTick ? 2 : 0);  // the copy and its lock
    QCOMPARE(files(docs.path(), "*"), QStringList{"申报.xml"});      // never beside the document
}

void TestRecovery::writtenOnlyWhenSomethingChanged()
{
    QTemporaryDir dir;
    Run run(dir.path());
    QCOMPARE(run.keeper->interval(), std::chrono::milliseconds(10000));
    QSignalSpy writes(run.keeper.get(), &RecoveryKeeper::written);
    run.f.set("W_name", "张三");
    run.keeper->check();
    const QString copy = run.keeper->folder().copyPath();
    const QDateTime first = QFileInfo(copy).lastModified();
    run.keeper->check();
    run.f.set("W_name", "张三丰");
    run.f.set("W_name", "张三");  // back to what the copy holds
    run.keeper->check();
    QCOMPARE(writes.size(), 1);
    QCOMPARE(QFileInfo(copy).lastModified(), first);
    run.f.tabs()->setCurrentIndex(2);
    run.keeper->check();
    QCOMPARE(writes.size(), 2);
    QCOMPARE(readRecoveryFile(copy).state.tab, 2);

    // The timer does it by itself.
    run.keeper->setInterval(std::chrono::milliseconds(20));
    run.f.set("W_name", "李四");
    QTRY_COMPARE(writes.size(), 3);
    QCOMPARE(readRecoveryFile(copy).state.held.basic.value("W_name"), "李四");
}

void TestRecovery::declinedIsKeptAsideNewestThree_data()
{
    QTest::addColumn<QString>("name");  // empty: never saved
    QTest::addColumn<QString>("question");
    QTest::newRow("saved file")
        << "张三申报资料.xml"
        << "上次未正常退出，发现 2026-12-08 14:32 的未保存内容（文件：张三申报资料.xml）。是否恢复？";
    QTest::newRow("never saved") << ""
                                 << "上次未正常退出，发现 2026-12-08 14:32 的未保存内容（尚未保存为文件）。是否恢复？";
}

void TestRecovery::declinedIsKeptAsideNewestThree()
{
    QFETCH(QString, name);
    QFETCH(QString, question);
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    QDir().mkpath(folder);
    const QDateTime now = QDateTime::currentDateTime();
    for (int days = 1; days <= 3; ++days) {  // kept aside before
        QFile old(QDir(folder).filePath(QString("kept-old-%1.xml").arg(days)));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.setFileTime(now.addDays(-days), QFileDevice::FileModificationTime);
    }
    QByteArray bytes;
    {
        RecoveryFolder crashed(folder);
        WindowState state = blankState();
        state.path = name.isEmpty() ? QString() : dir.filePath(name);
        state.held.basic["W_name"] = "张三";
        crashed.write(state, QDateTime(QDate(2026, 12, 8), QTime(14, 32, 5)));
        bytes = readFile(crashed.copyPath());
    }
    Run next(folder);
    next.keeper->offer();  // answered No
    QCOMPARE(next.f.prompts.questions(), QStringList{question});
    QCOMPARE(next.f.form->windowState(), blankState());
    QVERIFY(!next.f.form->hasUnsavedChanges());
    const QStringList kept = next.keeper->folder().keptCopies();
    QCOMPARE(kept.size(), RecoveryFolder::KeptCopies);
    QCOMPARE(readFile(kept[0]), bytes);
    QCOMPARE(DeclarationFile::read(kept[0]).basic.value("W_name"), "张三");  // 打开 reads it
    QVERIFY(QFileInfo(kept[0]).fileName().startsWith("kept-" + now.date().toString("yyyy-MM-dd")));
    QCOMPARE(QFileInfo(kept[2]).fileName(), "kept-old-2.xml");
    QCOMPARE(files(folder, "recovery-*"), QStringList());
    // Declined once: not asked again.
    Run later(folder);
    later.keeper->offer();
    QVERIFY(later.f.prompts.log.isEmpty());
}

void TestRecovery::unreadableIsKeptAsideWithAMessage_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("inMessage");
    QTest::newRow("entity expansion bomb") << "bomb"
                                           << "DOCTYPE";
    QTest::newRow("external entity") << "external-entity"
                                     << "DOCTYPE";
    QTest::newRow("100,000-deep nesting") << "deep"
                                          << "depth";
    QTest::newRow("100 MB file") << "huge-file"
                                 << "64 MB";
    QTest::newRow("binary garbage") << "garbage"
                                    << "文件";
    QTest::newRow("cut in half") << "cut"
                                 << "第";
    QTest::newRow("a document, not a copy") << "document"
                                            << "不是恢复副本";
    QTest::newRow("impossible date in an entry") << "entry date"
                                                 << "不是有效的日期";
    QTest::newRow("impossible date on the first tab") << "basic date"
                                                      << "不是有效的日期";
    QTest::newRow("entry fields missing") << "no entries"
                                          << "录入内容缺失";
}

void TestRecovery::unreadableIsKeptAsideWithAMessage()
{
    QFETCH(QString, kind);
    QFETCH(QString, inMessage);
    QTemporaryDir dir;
    const QString path = dir.filePath("recovery-20261208-143205-1.xml");
    if (hostile::Kinds.contains(kind)) {
        QVERIFY(hostile::writeDocument(kind, path));
    } else {
        XmlDocument doc;
        WindowState state = blankState();
        state.held.basic["W_birth"] = "2001-01-01";
        state.entries[WorkHistory].values[1] = "2001-01-01";
        buildRecoveryDocument(doc, state, QDateTime::currentDateTime());
        QByteArray bytes = doc.toBytes();
        if (kind == "cut")
            bytes.truncate(bytes.size() / 2);
        else if (kind == "document")
            bytes = bytes.left(bytes.indexOf(gb("<恢复信息>"))) + "</root>";
        else if (kind == "entry date")
            bytes.replace(gb("<起始时间>2001-01-01"), gb("<起始时间>2001-02-29"));
        else if (kind == "basic date")
            bytes.replace(gb("<出生日期>2001-01-01"), gb("<出生日期>2001-02-29"));
        else if (kind == "no entries")
            bytes = bytes.left(bytes.indexOf(gb("<录入"))) + gb("</恢复信息></root>");
        writeFile(path, bytes);
    }
    const QByteArray bytes = digest(path);

    Run next(dir.path());
    next.keeper->offer();
    QVERIFY(next.f.prompts.questions().isEmpty());
    QCOMPARE(next.f.prompts.errors().size(), 1);
    const QString message = next.f.prompts.errors()[0];
    QVERIFY2(message.contains(inMessage), qPrintable(message));
    const QStringList kept = next.keeper->folder().keptCopies();
    QCOMPARE(kept.size(), 1);
    QVERIFY2(message.contains(QDir::toNativeSeparators(kept[0])), qPrintable(message));
    QCOMPARE(digest(kept[0]), bytes);
    QVERIFY(!next.f.form->hasUnsavedChanges());
    QCOMPARE(files(dir.path(), "recovery-*"), QStringList());
}

void TestRecovery::aRunningOwnersCopyIsLeftAlone()
{
    QTemporaryDir dir;
    // Two windows of one process.
    Run first(dir.path()), second(dir.path());
    first.f.set("W_name", "第一个");
    first.keeper->check();
    const QString copy = first.keeper->folder().copyPath();
    const QByteArray bytes = readFile(copy);
    second.keeper->offer();
    second.f.set("W_name", "第二个");
    second.keeper->check();
    QVERIFY(second.f.prompts.log.isEmpty());
    QCOMPARE(readFile(copy), bytes);
    QVERIFY(second.keeper->folder().copyPath() != copy);
    second.f.form->ShutDown();
    QCOMPARE(readFile(copy), bytes);

    // A window of another process, alive, then killed; both windows open
    // for an hour.
    QProcess other;
    other.start(QCoreApplication::applicationDirPath() + "/varnok_recoverytool", {"hold", dir.path()});
    QVERIFY(other.waitForReadyRead(30000));
#ifndef Q_OS_WIN  // there a live owner holds its lock file open, unshared: it cannot even be aged
    for (const QString &name : files(dir.path(), "*.lock")) {
        QFile lock(dir.filePath(name));
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
#endif
    Run next(dir.path());
    next.keeper->offer();
    QVERIFY(next.f.prompts.log.isEmpty());
    QCOMPARE(files(dir.path(), "recovery-*.xml").size(), 2);
    other.kill();
    QVERIFY(other.waitForFinished(30000));
    next.keeper->offer();
    QCOMPARE(next.f.prompts.questions().size(), 1);  // the killed one's; the first window's is still its own
    QCOMPARE(readFile(copy), bytes);
}

// Process numbers come round again (after a restart; in Wine at once): a
// copy whose lock names this very process but was left by an earlier run is
// offered, not taken for a copy of this run.
void TestRecovery::aStaleLockOfThisNumberAndUnfinishedWrites()
{
    QTemporaryDir dir;
    WindowState state = blankState();
    state.held.basic["W_name"] = "同一进程号";
    XmlDocument doc;
    buildRecoveryDocument(doc, state, QDateTime::currentDateTime());
    const QString base = dir.filePath(QString("recovery-20261201-080000-%1").arg(QCoreApplication::applicationPid()));
    writeFile(base + ".xml", doc.toBytes());
    QByteArray earlierLock;  // a lock of this process, as the earlier run's was
    {
        QLockFile lock(dir.filePath("probe.lock"));
        QVERIFY(lock.tryLock(0));
        earlierLock = readFile(dir.filePath("probe.lock"));
    }
    writeFile(base + ".lock", earlierLock);
    Run next(dir.path());
    next.f.prompts.answers << true;
    next.keeper->offer();
    QCOMPARE(next.f.prompts.questions().size(), 1);
    QCOMPARE(next.f.form->windowState().held.basic.value("W_name"), "同一进程号");

    // Killed while writing, where a safe write leaves its temporary file
    // (Windows): the first copy never finished, or a later one.
    next.f.set("W_name", "再写一次");
    next.keeper->check();
    const QString newer = next.keeper->folder().copyPath();
    const QString never = base + "-2.xml";
    writeFile(newer + ".Ab12Cd", "<root><半");
    writeFile(never + ".Ef34Gh", "<ro");
    writeFile(base + "-2.lock", earlierLock);
    next.keeper.reset();  // crashed
    Run last(dir.path());
    last.f.prompts.answers << true;
    last.keeper->offer();
    QCOMPARE(last.f.form->windowState().held.basic.value("W_name"), "再写一次");
    const QFileInfo copy(last.keeper->folder().copyPath());
    QCOMPARE(files(dir.path(), "recovery-*"), QStringList({copy.completeBaseName() + ".lock", copy.fileName()}));
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
