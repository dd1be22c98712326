// The keyboard shortcuts of the main window, pressed as a person presses
// them, with the focus in each kind of entry field: each must do what a click
// on its command does, only that, and nothing while the command is disabled.
#include "formfixture.h"

#include "app/shortcuts.h"
#include "report/printpreview.h"
#include "rules/idnumber.h"
#include "testfiles.h"
#include "widgets/commandlabel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <map>

using namespace varnok;

namespace {

// Every command a shortcut may press: the command bar by name, the 保存 of
// a list by its tab's name.
std::map<QString, QObject *> commands(const FormFixture &f)
{
    std::map<QString, QObject *> out;
    for (const char *name : {"Label1", "Label12", "Label44", "Label31", "Label45", "Label46", "Label47", "Label48"})
        out[name] = f.get(name);
    out["Button6"] = f.get<QPushButton>("Button6");
    for (int l = 0; l < ListCount; ++l) {
        QPushButton *save = f.list(ListId(l)).saveButton();
        for (int tab = 1; tab < f.tabs()->count(); ++tab)
            if (f.tabs()->widget(tab)->isAncestorOf(save))
                out[f.tabs()->widget(tab)->objectName()] = save;
    }
    if (out.size() != 13)
        qFatal("a 保存 is not on its list's tab");
    return out;
}

// Clicks of every command while body runs; none is left out.
using Clicks = std::map<QString, int>;

Clicks clicksDuring(const FormFixture &f, const std::function<void()> &body)
{
    std::map<QString, std::unique_ptr<QSignalSpy>> spies;
    for (const auto &[name, command] : commands(f)) {
        if (auto *label = qobject_cast<CommandLabel *>(command))
            spies[name] = std::make_unique<QSignalSpy>(label, &CommandLabel::clicked);
        else
            spies[name] = std::make_unique<QSignalSpy>(qobject_cast<QPushButton *>(command), &QPushButton::clicked);
    }
    body();
    Clicks clicks;
    for (const auto &[name, spy] : spies)
        if (spy->count())
            clicks[name] = int(spy->count());
    return clicks;
}

// Close any window "打印" opens, as a person closes the preview.
struct PreviewCloser {
    QTimer poll;
    int closed = 0;
    PreviewCloser()
    {
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (auto *preview = qobject_cast<PrintPreview *>(QApplication::activeModalWidget())) {
                ++closed;
                preview->reject();
            }
        });
        poll.start();
    }
};

void press(QWidget *focus, const QKeySequence &keys)
{
    const QKeyCombination key = keys[0];
    QTest::keyClick(focus, key.key(), key.keyboardModifiers());
}

}  // namespace

class TestShortcuts : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void commandKeys_data();
    void commandKeys();
    void disabledCommandIgnoresItsKeys_data();
    void disabledCommandIgnoresItsKeys();
    void saveKeyPressesTheFrontTabsSave_data();
    void saveKeyPressesTheFrontTabsSave();
    void keysLeaveTheNumberFirst_data();
    void keysLeaveTheNumberFirst();

private:
    QTemporaryDir workDir_;
    QString previousDir_;
};

void TestShortcuts::init()
{
    // "帮助" writes help.chm into the working folder.
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(workDir_.path());
}

void TestShortcuts::cleanup() { QDir::setCurrent(previousDir_); }

void TestShortcuts::commandKeys_data()
{
    // clang-format off
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("prompt");  // what the click's handler asks or says, "" for nothing
    QTest::newRow("Ctrl+N 新建") << QKeySequence("Ctrl+N") << "Label1" << "新建 (Ctrl+N)" << "";
    QTest::newRow("Ctrl+O 打开") << QKeySequence("Ctrl+O") << "Label12" << "打开 (Ctrl+O)" << "open";
    QTest::newRow("Ctrl+Shift+S 另存为") << QKeySequence("Ctrl+Shift+S") << "Label44" << "另存为... (Ctrl+Shift+S)"
                                       << "save";
    QTest::newRow("Ctrl+P 打印") << QKeySequence("Ctrl+P") << "Label46" << "打印 (Ctrl+P)" << "";
    QTest::newRow("F1 帮助") << QKeySequence("F1") << "Label45" << "帮助 (F1)" << "message";
    QTest::newRow("F7 检查") << QKeySequence("F7") << "Label47" << "检查 (F7)" << "report";
    QTest::newRow("Ctrl+L 网上申报") << QKeySequence("Ctrl+L") << "Label31" << "网上申报 (Ctrl+L)" << "message";
    QTest::newRow("Ctrl+B 批量检查") << QKeySequence("Ctrl+B") << "Label48" << "批量检查... (Ctrl+B)" << "";
    // clang-format on
}

void TestShortcuts::commandKeys()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, command);
    QFETCH(QString, tooltip);
    QFETCH(QString, prompt);
    FormFixture f;
    f.showActive();
    QCOMPARE(f.get(command)->toolTip(), tooltip);

    PreviewCloser closer;
    // One field of each kind on the first tab, then two on a list's tab.
    const QList<std::pair<int, QString>> focusIn{{0, "W_name"},   {0, "W_tel"},    {0, "W_work"},
                                                 {0, "W_nation"}, {1, "W_wkmemo"}, {1, "W_wkgrid"}};
    for (const auto &[tab, name] : focusIn) {
        f.tabs()->setCurrentIndex(tab);
        QApplication::setActiveWindow(f.form.get());  // back from the preview
        QWidget *field = f.get(name);
        field->setFocus();
        QTRY_COMPARE(f.focused(), field);
        f.prompts.clear();
        const auto clicks = clicksDuring(f, [&] { press(field, keys); });
        QCOMPARE(clicks, (Clicks{{command, 1}}));
        QStringList kinds;
        for (const FakePrompts::Entry &e : f.prompts.log)
            kinds << e.kind;
        QCOMPARE(kinds, prompt.isEmpty() ? QStringList() : QStringList{prompt});
    }
    // The click's own effects.
    if (command == "Label1")
        QVERIFY(f.form->statusText(1).contains("Tamsor"));
    if (command == "Label46")
        QCOMPARE(closer.closed, focusIn.size());
    if (command == "Label45")
        QVERIFY(QFile::exists(workDir_.filePath("help.chm")));
}

void TestShortcuts::disabledCommandIgnoresItsKeys_data() { commandKeys_data(); }

void TestShortcuts::disabledCommandIgnoresItsKeys()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, command);
    FormFixture f;
    f.showActive();
    f.get(command)->setEnabled(false);
    QWidget *field = f.get("W_name");
    field->setFocus();
    PreviewCloser closer;
    const auto clicks = clicksDuring(f, [&] { press(field, keys); });
    QCOMPARE(clicks, Clicks());
    QVERIFY(f.prompts.log.isEmpty());
    QCOMPARE(closer.closed, 0);
}

void TestShortcuts::saveKeyPressesTheFrontTabsSave_data()
{
    // clang-format off
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("pressed");  // "" when nothing is
    QTest::newRow("基本信息") << 0 << "W_name" << true << "Button6";
    QTest::newRow("基本信息, 保存 disabled") << 0 << "W_name" << false << "";
    QTest::newRow("工作简历, in a memo") << 1 << "W_wkmemo" << true << "TabSheet3";
    QTest::newRow("工作简历, in the grid") << 1 << "W_wkgrid" << true << "TabSheet3";
    QTest::newRow("工作简历, 保存 disabled") << 1 << "W_wkpart" << false << "";
    QTest::newRow("主要业绩, in a date") << 2 << "W_yjtms" << true << "TabSheet7";
    QTest::newRow("继续教育, in digits") << 3 << "W_jyxs" << true << "TabSheet5";
    QTest::newRow("继续教育, in a drop-down") << 3 << "W_jylx" << true << "TabSheet5";
    QTest::newRow("信用档案") << 4 << "W_xymng" << true << "TabSheet1";
    QTest::newRow("信用档案, 保存 disabled") << 4 << "W_xymemo" << false << "";
    // clang-format on
}

void TestShortcuts::saveKeyPressesTheFrontTabsSave()
{
    QFETCH(int, tab);
    QFETCH(QString, focus);
    QFETCH(bool, enabled);
    QFETCH(QString, pressed);
    FormFixture f;
    f.showActive();
    // Every 保存 but the front one is enabled: only the front one may answer.
    for (const auto &[name, command] : commands(f))
        if (qobject_cast<QPushButton *>(command))
            qobject_cast<QPushButton *>(command)->setEnabled(true);
    f.tabs()->setCurrentIndex(tab);
    QPushButton *front = frontSaveButton(*f.form);
    QVERIFY(front);
    QCOMPARE(front->text(), QString("保存"));
    QCOMPARE(front->toolTip(), QString("保存 (Ctrl+S)"));
    front->setEnabled(enabled);
    QWidget *field = f.get(focus);
    field->setFocus();
    QTRY_COMPARE(f.focused(), field);

    const auto clicks = clicksDuring(f, [&] { press(field, QKeySequence("Ctrl+S")); });
    QCOMPARE(clicks, (pressed.isEmpty() ? Clicks() : Clicks{{pressed, 1}}));
    // The click's handler ran: a save asks or says something, even if only
    // that the first tab is incomplete.
    QCOMPARE(f.prompts.log.isEmpty(), pressed.isEmpty());
}

void TestShortcuts::keysLeaveTheNumberFirst_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("refusal");  // "" when the number is accepted
    const QList<std::pair<const char *, const char *>> keys{{"Ctrl+S", "Button6"},
                                                            {"Ctrl+Shift+S", "Label44"},
                                                            {"Ctrl+P", "Label46"},
                                                            {"Ctrl+N", "Label1"},
                                                            {"Ctrl+O", "Label12"}};
    for (const auto &[k, command] : keys) {
        QTest::addRow("%s, a new number", k) << QKeySequence(k) << command << "110105199002144321"
                                             << "";
        QTest::addRow("%s, too short", k) << QKeySequence(k) << command << "11010519900214" << MsgIdLength;
        QTest::addRow("%s, no such date", k) << QKeySequence(k) << command << "110105199002304321" << MsgIdDate;
    }
}

// A key presses its command as a click does: the cursor leaves the number
// first, so sex and birth date follow the number the command reads, and a
// refused number stops the command.
void TestShortcuts::keysLeaveTheNumberFirst()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, command);
    QFETCH(QString, number);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    FormFixture f;
    f.showActive();
    f.bindTo(path);
    f.tabs()->setCurrentIndex(0);  // the save went on to the work history
    const QByteArray saved = readFile(path);
    PreviewCloser closer;

    QLineEdit *field = f.get<QLineEdit>("W_cer");
    field->setFocus();
    QTRY_COMPARE(f.focused(), field);
    field->setText(number);
    // What the window holds when the command's handler has run.
    QString birthSeen;
    QObject *sender = f.get(command);
    auto seen = [&] { birthSeen = f.value("W_birth"); };
    if (auto *label = qobject_cast<CommandLabel *>(sender))
        QObject::connect(label, &CommandLabel::clicked, seen);
    else
        QObject::connect(qobject_cast<QPushButton *>(sender), &QPushButton::clicked, seen);
    press(field, keys);
    QTest::qWait(10);  // nothing may be left to run afterwards

    if (refusal.isEmpty()) {
        QCOMPARE(birthSeen, QString("1990-02-14"));
        QCOMPARE(f.value("W_sex"), QString("女"));
        QVERIFY(!f.prompts.messages().contains(MsgIdLength));
        if (command == "Button6")
            QVERIFY(readFile(path).contains("1990-02-14"));
        else
            QVERIFY(!f.prompts.log.isEmpty() || closer.closed == 1);
    } else {
        QCOMPARE(f.prompts.messages(), QStringList{refusal});
        QCOMPARE(f.prompts.log.size(), 1);  // no question, dialog or save
        QCOMPARE(closer.closed, 0);
        QCOMPARE(readFile(path), saved);
        QCOMPARE(f.focused(), field);
        QCOMPARE(f.value("W_birth"), QString("1985-03-07"));
    }
}

QTEST_MAIN(TestShortcuts)
#include "tst_shortcuts.moc"
