// "检查": every problem of the declaration at once, the report dialog, and the
// identity number's check-character hint; "打印" and "检查" on the command bar.
#include "fulldeclaration.h"

#include "rules/declarationcheck.h"
#include "rules/idnumber.h"
#include "widgets/checkdialog.h"
#include "widgets/commandlabel.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace varnok;

namespace {

enum Window { Empty, HalfFilled, CompleteSaved, CompleteReopened, SavedThenChanged, WrittenElsewhere };

const QStringList emptyWindowProblems{
    "基本信息|姓名|姓名或者证件号码必须填写！",
    "基本信息|个人联系电话|填写个人联系电话会方便很多！",
    "基本信息|民族|未填写民族信息！",
    "基本信息|现任专业技术职务|必须填写相应级别的专业技术职务！",
    "基本信息|工作年限|请至少填写一位数值的工作年限！",
    "基本信息|资格证书编号|资格证书编号为必填项！",
    "基本信息|学历信息|请准确填写您的最高学历信息中的所有项！",
    "基本信息|保存|申报资料还没有保存到文件，请点击“保存”",
    "工作简历|工作单位|还没有填写任何工作简历",
};

const QStringList halfFilledProblems{
    "基本信息|证件号码|校验码不符，请核对证件号码",
    "基本信息|资格证书编号|资格证书编号为必填项！",
    "基本信息|学历信息|请准确填写您的最高学历信息中的所有项！",
    "基本信息|保存|有修改还没有保存到文件，请点击“保存”",
    "工作简历|工作单位|还没有填写任何工作简历",
    "主要业绩|保存修改|有一条记录正在修改，请点击“保存修改”",
};

void save(FormFixture &f, const QString &path)
{
    f.saveTo(path);
    QVERIFY(QFile::exists(path));
    f.prompts.clear();
}

// The window in one of the states the tests look at; files go to dir.
void prepare(FormFixture &f, Window window, const QString &dir)
{
    const QString path = QDir(dir).filePath("declaration.xml");
    switch (window) {
    case Empty:
        break;
    case HalfFilled:
        // A mistyped check character, an achievement being edited, the
        // qualification and education emptied after saving.
        f.fillBasic();
        full::addEntries(f, Achievements, 1, 3);
        save(f, path);
        f.set("W_zgid", "");
        f.set("W_school", "");
        f.list(Achievements).grid()->setCurrentCell(f.list(Achievements).def().editColumn(), 1);
        f.form->W_yjgridClick();
        QCOMPARE(f.list(Achievements).addButton()->text(), QString("保存修改"));
        break;
    case CompleteSaved:
    case CompleteReopened:
    case SavedThenChanged:
    case WrittenElsewhere:
        full::fillBasic(f);
        for (int l = 0; l < ListCount; ++l)
            full::addEntries(f, ListId(l), 2, 3);
        save(f, path);
        if (window == CompleteReopened) {
            f.form->Label1Click();
            f.open(path);
            QCOMPARE(f.list(CreditRecord).entryCount(), 2);
        } else if (window == SavedThenChanged) {
            auto *grid = f.list(CreditRecord).grid();
            grid->setCurrentCell(f.list(CreditRecord).def().deleteColumn(), 2);
            f.form->W_xygridClick();
            QCOMPARE(f.list(CreditRecord).entryCount(), 1);
        } else if (window == WrittenElsewhere) {
            // Another window bound to the same file saves another name into it.
            Declaration other = DeclarationFile::read(path);
            other.basic["W_name"] = QStringLiteral("林志远的同事");
            DeclarationFile(&TForm1::NewRecordId).save(other, path);
        }
        break;
    }
    f.prompts.clear();
}

QStringList reportedLines(const FakePrompts &prompts)
{
    QStringList out;
    for (const auto &lines : prompts.reports)
        for (const ReportLine &line : lines)
            out << line.tab + "|" + line.field + "|" + line.problem;
    return out;
}

// Names, sizes, times and contents of every file below a folder.
QStringList folderState(const QString &dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QFile file(info.filePath());
        QByteArray hash;
        if (info.isFile() && file.open(QIODevice::ReadOnly))
            hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        out << QString("%1 %2 %3 %4")
                   .arg(info.filePath())
                   .arg(info.size())
                   .arg(info.lastModified().toMSecsSinceEpoch())
                   .arg(QString::fromLatin1(hash));
    }
    out.sort();
    return out;
}

}  // namespace

class TestDeclarationCheck : public QObject {
    Q_OBJECT
private slots:
    void commandBarHasPrintAndCheck();
    void problemsInTabOrder_data();
    void problemsInTabOrder();
    void chosenProblemShowsItsField_data();
    void chosenProblemShowsItsField();
    void checkingWritesNothingAndChangesNothing();
    void doubleClickClosesTheReportWithTheLine();
    void identityHint_data();
    void identityHint();
    void hintGoesWithTheTypeAndWithNew();
};

void TestDeclarationCheck::commandBarHasPrintAndCheck()
{
    FormFixture f;
    f.form->show();
    auto *help = f.get<QLabel>("Label45");
    const QList<std::tuple<const char *, QString, int>> labels{{"Label46", "打印", 548}, {"Label47", "检查", 644}};
    for (const auto &[name, text, left] : labels) {
        auto *label = f.get<CommandLabel>(name);
        QCOMPARE(label->parentWidget(), f.get("Panel1"));
        QCOMPARE(label->text(), text);
        QCOMPARE(label->x(), left);
        QCOMPARE(label->y(), help->y());
        QCOMPARE(label->font(), help->font());
        QVERIFY(label->x() + label->width() < f.get("Button2")->x());
        const QColor face = label->palette().color(QPalette::Window);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), label->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &move);
        QCOMPARE(label->palette().color(QPalette::Window), HoverColour);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label, &leave);
        QCOMPARE(label->palette().color(QPalette::Window), face);
    }
}

void TestDeclarationCheck::problemsInTabOrder_data()
{
    // clang-format off
    QTest::addColumn<int>("window");
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("empty window") << int(Empty) << emptyWindowProblems;
    QTest::newRow("half filled") << int(HalfFilled) << halfFilledProblems;
    QTest::newRow("complete and saved") << int(CompleteSaved) << QStringList();
    QTest::newRow("complete, saved and opened again") << int(CompleteReopened) << QStringList();
    QTest::newRow("saved, then an entry deleted")
        << int(SavedThenChanged) << QStringList{"基本信息|保存|有修改还没有保存到文件，请点击“保存”"};
    QTest::newRow("saved, then written by another window") << int(WrittenElsewhere)
        << QStringList{"基本信息|保存|文件已被其他程序修改，与窗口中的申报资料不同，请点击“保存”"};
    // clang-format on
}

void TestDeclarationCheck::problemsInTabOrder()
{
    QFETCH(int, window);
    QFETCH(QStringList, problems);
    QTemporaryDir dir;
    FormFixture f;
    prepare(f, Window(window), dir.path());
    QVERIFY(!QTest::currentTestFailed());

    QTest::mouseClick(f.get("Label47"), Qt::LeftButton);
    QCOMPARE(reportedLines(f.prompts), problems);
    if (problems.isEmpty()) {
        QCOMPARE(f.prompts.messages(), QStringList{MsgCheckPassed});
        QVERIFY(f.prompts.reports.isEmpty());
    } else {
        QCOMPARE(f.prompts.reports.size(), 1);
        QCOMPARE(f.prompts.messages(), QStringList());
    }
    QCOMPARE(f.prompts.errors(), QStringList());
}

void TestDeclarationCheck::chosenProblemShowsItsField_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("focus");
    QTest::newRow("empty: name") << int(Empty) << 0 << 0 << "W_name";
    QTest::newRow("empty: qualification number") << int(Empty) << 5 << 0 << "W_zgid";
    QTest::newRow("empty: education group") << int(Empty) << 6 << 0 << "W_school";
    QTest::newRow("empty: save not possible yet, the name") << int(Empty) << 7 << 0 << "W_name";
    QTest::newRow("empty: work history") << int(Empty) << 8 << 1 << "W_wkpart";
    QTest::newRow("half: identity number") << int(HalfFilled) << 0 << 0 << "W_cer";
    QTest::newRow("half: save") << int(HalfFilled) << 3 << 0 << "Button6";
    QTest::newRow("half: pending edit") << int(HalfFilled) << 5 << 2 << "Button17";
}

void TestDeclarationCheck::chosenProblemShowsItsField()
{
    QFETCH(int, window);
    QFETCH(int, line);
    QFETCH(int, tab);
    QFETCH(QString, focus);
    QTemporaryDir dir;
    FormFixture f;
    f.showActive();
    prepare(f, Window(window), dir.path());
    f.tabs()->setCurrentIndex(4);
    f.prompts.choices << line;
    f.form->Label47Click();
    QCOMPARE(f.tabs()->currentIndex(), tab);
    QTRY_COMPARE(f.focused() ? f.focused()->objectName() : QString(), focus);
}

void TestDeclarationCheck::checkingWritesNothingAndChangesNothing()
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());  // where a relative write would land
    for (Window window : {Empty, HalfFilled, CompleteSaved}) {
        FormFixture f;
        prepare(f, window, dir.path());
        const QStringList files = folderState(dir.path());
        const FieldValues values = f.form->held().basic;
        std::array<ListRows, ListCount> rows;
        for (int l = 0; l < ListCount; ++l)
            rows[size_t(l)] = f.list(ListId(l)).rows();
        const QString status = f.form->statusText(1);
        const int tab = f.tabs()->currentIndex();

        f.form->Label47Click();
        f.form->Label47Click();

        QCOMPARE(folderState(dir.path()), files);
        QCOMPARE(f.form->held().basic, values);
        for (int l = 0; l < ListCount; ++l)
            QCOMPARE(f.list(ListId(l)).rows(), rows[size_t(l)]);
        QCOMPARE(f.form->statusText(1), status);
        QCOMPARE(f.tabs()->currentIndex(), tab);
    }
    QDir::setCurrent(before);
}

void TestDeclarationCheck::doubleClickClosesTheReportWithTheLine()
{
    const QList<ReportLine> lines{{"基本信息", "姓名", "姓名或者证件号码必须填写！"},
                                  {"基本信息", "资格证书编号", "资格证书编号为必填项！"},
                                  {"工作简历", "工作单位", "还没有填写任何工作简历"}};
    CheckDialog dialog(lines);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTreeWidget *tree = dialog.lines();
    QCOMPARE(tree->topLevelItemCount(), 3);
    for (int line = 0; line < lines.size(); ++line)
        QCOMPARE(QStringList({tree->topLevelItem(line)->text(1), tree->topLevelItem(line)->text(2),
                              tree->topLevelItem(line)->text(3)}),
                 QStringList({lines[line].tab, lines[line].field, lines[line].problem}));
    // As a mouse does it: a click, then the second press that makes it double.
    const QRect rect = tree->visualItemRect(tree->topLevelItem(1));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosen(), 1);

    CheckDialog closed(lines);
    closed.show();
    closed.findChild<QPushButton *>("CheckClose")->click();
    QVERIFY(!closed.isVisible());
    QCOMPARE(closed.chosen(), -1);
}

void TestDeclarationCheck::identityHint_data()
{
    // clang-format off
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("hint");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("birth");
    QTest::newRow("valid, final X") << "11010519491231002X" << false << QStringList() << "1949-12-31";
    QTest::newRow("valid, lower-case x") << "33010219200403064x" << false << QStringList() << "1920-04-03";
    QTest::newRow("valid") << "360426199101010071" << false << QStringList() << "1991-01-01";
    QTest::newRow("wrong check character") << "340524198001010013" << true << QStringList() << "1980-01-01";
    QTest::newRow("wrong check character, X") << "36042619910102009X" << true << QStringList() << "1991-01-02";
    QTest::newRow("right check character, impossible date")
        << "11010519900229123X" << false << QStringList{MsgIdDate} << "1970-01-01";
    QTest::newRow("wrong check character, impossible date")
        << "110105199002291231" << true << QStringList{MsgIdDate} << "1970-01-01";
    QTest::newRow("15 characters are not examined") << "110105850307123" << false << QStringList() << "1985-03-07";
    QTest::newRow("wrong length") << "34052419800101001" << false << QStringList{MsgIdLength} << "1970-01-01";
    // clang-format on
}

void TestDeclarationCheck::identityHint()
{
    QFETCH(QString, number);
    QFETCH(bool, hint);
    QFETCH(QStringList, messages);
    QFETCH(QString, birth);
    FormFixture f;
    f.showActive();
    f.set("W_birth", "1970-01-01");
    auto *cer = f.get<QLineEdit>("W_cer");
    auto *label = f.get<QLabel>("W_cerHint");
    cer->setFocus();
    QTest::keyClicks(cer, number);
    f.get("W_nation")->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(!label->isHidden(), hint);
    QTest::qWait(20);
    // The hint adds no message: the rule says what it always said.
    QCOMPARE(f.prompts.messages(), messages);
    QCOMPARE(f.prompts.log.size(), messages.size());
    QCOMPARE(f.value("W_birth"), birth);
    QCOMPARE(label->text(), MsgIdCheckCharacter);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0xd0, 0, 0));
    QVERIFY(label->geometry().intersects(cer->geometry()) == false);
    QVERIFY(label->parentWidget()->rect().contains(label->geometry()));

    // Corrected and left again: the hint goes.
    if (hint) {
        f.prompts.clear();
        const QString right = number.left(17) + idCheckCharacter(QStringView(number).left(17));
        cer->setFocus();
        cer->setText(right);
        f.get("W_nation")->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(label->isHidden());
    }
}

void TestDeclarationCheck::hintGoesWithTheTypeAndWithNew()
{
    FormFixture f;
    auto *label = f.get<QLabel>("W_cerHint");
    auto *type = f.get<QComboBox>("W_id");
    auto choose = [&](const QString &text) {
        type->setCurrentIndex(type->findText(text));
        emit type->activated(type->currentIndex());
    };
    f.typeIdNumber("340524198001010013");
    QVERIFY(!label->isHidden());
    choose("护照");
    QVERIFY(label->isHidden());
    f.form->W_cerExit();
    QVERIFY(label->isHidden());
    choose("身份证");
    QVERIFY(!label->isHidden());
    f.agreeToDiscard();
    f.form->Label1Click();
    QVERIFY(label->isHidden());
    QCOMPARE(f.prompts.messages().size(), 0);
}

QTEST_MAIN(TestDeclarationCheck)
#include "tst_declarationcheck.moc"
