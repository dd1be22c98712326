#include "fulldeclaration.h"
#include "testfiles.h"

#include "declaration/declarationfile.h"
#include "document/layout.h"

#include <QClipboard>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace varnok;

namespace {

// The applicant of the expected file.
void fillApplicant(FormFixture &f)
{
    f.fillBasic(QString::fromUtf8("王堃"));
    f.set("W_work", "2007-07-01");
    f.set("W_qfrq", "2012-05-20");
    f.set("W_rzsj", "2013-01-01");
    f.set("W_bysj", "2007-06-30");
}

QByteArray expectedFile() { return readFile(VARNOK_SOURCE_DIR "/tests/data/basic-expected.xml"); }

}  // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void firstSaveAsksForAFileAndWritesTheExactLayout();
    void saveAfterNewWritesWithoutDialog();
    void cancelledDialogWritesNothing();
    void savedDocumentOpensWithEveryValue();
    void openThenSaveWritesTheSameBytes();
    void openLeavesRulesAsClearingLeftThem();
    void failedOpenLeavesEverythingAsItWas_data();
    void failedOpenLeavesEverythingAsItWas();
    void documentsFromElsewhere_data();
    void documentsFromElsewhere();
    void saveAsRebindsOrChangesNothing();
    void saveThatCannotWriteKeepsTheWindowAsItWas();
    void saveAsksBeforeWritingOverAnotherProgramsChange();
    void pastedCharactersAFileCannotHoldNeverReachIt_data();
    void pastedCharactersAFileCannotHoldNeverReachIt();
};

void TestDocuments::firstSaveAsksForAFileAndWritesTheExactLayout()
{
    QTemporaryDir dir;
    FormFixture f;
    fillApplicant(f);
    const QString path = dir.filePath("applicant.xml");
    f.prompts.files << path;
    f.get<QPushButton>("Button6")->click();

    const FakePrompts::Entry dialog = f.prompts.log.value(0);
    QCOMPARE(dialog.kind, QString("save"));
    QCOMPARE(dialog.text, QString("王堃申报资料保存"));
    QCOMPARE(dialog.folder, f.form->programDirectory());
    static const QRegularExpression proposed("^王堃(\\d{4}-\\d{2}-\\d{2})-\\d{4}\\.xml$");
    const auto match = proposed.match(dialog.proposed);
    QVERIFY2(match.hasMatch(), qPrintable(dialog.proposed));
    QCOMPARE(match.captured(1), QDate::currentDate().toString("yyyy-MM-dd"));

    QCOMPARE(readFile(path), expectedFile());
    QCOMPARE(f.prompts.messages(), QStringList({"文件保存成功！", "请接着填写工作简历后保存！"}));
    QCOMPARE(f.tabs()->currentIndex(), 1);
    QCOMPARE(f.form->currentDocumentPath(), path);
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + path);

    // Bound now: the next save writes without asking.
    f.prompts.clear();
    f.set("W_zgid", "ZG2012-0002");
    f.form->Button6Click();
    QCOMPARE(f.prompts.texts("save").size(), 0);
    QVERIFY(readFile(path).contains("ZG2012-0002"));
}

void TestDocuments::saveAfterNewWritesWithoutDialog()
{
    FormFixture f;
    f.form->Label1Click();
    const QString path = f.form->currentDocumentPath();
    fillApplicant(f);
    f.form->Button6Click();
    const bool written = QFile::exists(path);
    QFile::remove(path);
    if (!QFileInfo(f.form->programDirectory()).isWritable())
        QSKIP("the program's folder is not writable here");
    QVERIFY(written);
    QCOMPARE(f.prompts.texts("save").size(), 0);
    QCOMPARE(f.prompts.messages().value(0), QString("文件保存成功！"));
}

void TestDocuments::cancelledDialogWritesNothing()
{
    FormFixture f;
    fillApplicant(f);
    f.form->Button6Click();
    f.form->Button6Click();
    const QStringList proposals{f.prompts.log.value(0).proposed, f.prompts.log.value(1).proposed};
    QCOMPARE(f.prompts.log.size(), 2);  // two dialogs, nothing else said
    QVERIFY(f.form->currentDocumentPath().isEmpty());
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + f.form->programDirectory());
    QVERIFY(proposals[0].startsWith("王堃") && proposals[1].startsWith("王堃"));
}

void TestDocuments::savedDocumentOpensWithEveryValue()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("round.xml");
    FieldValues saved;
    {
        FormFixture f;
        fillApplicant(f);
        f.set("W_id", "护照");
        f.set("W_cer", "E12345678");
        f.set("W_birth", "1979-11-30");
        f.set("W_sex", "女");
        f.set("W_nation", "鄂伦春族");
        f.set("W_tel", "13912345678");
        f.set("W_zgqd", "考核");
        f.set("W_gznx", "12");
        f.set("W_xuewei", "未获学位");
        f.set("W_zhy", "  给排水 & <暖通> \"工程\"  ");
        saved = f.form->held().basic;
        f.saveTo(path);
    }
    FormFixture g;
    g.open(path);
    QCOMPARE(g.prompts.log.value(0).kind, QString("open"));
    QCOMPARE(g.prompts.log.value(0).folder, g.form->programDirectory());
    QCOMPARE(g.form->held().basic, saved);
    QCOMPARE(g.form->currentDocumentPath(), path);
    QCOMPARE(g.form->statusText(1), "当前文件保存路径：" + path);
    QVERIFY(g.get("Button6")->isEnabled());
    QCOMPARE(g.prompts.log.size(), 1);  // no message after opening
}

void TestDocuments::openThenSaveWritesTheSameBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("copy.xml");
    writeFile(path, expectedFile());
    FormFixture f;
    f.open(path);
    QCOMPARE(f.value("W_name"), QString("王堃"));
    QCOMPARE(f.value("W_tel"), QString("138        "));
    QCOMPARE(f.value("W_gznx"), QString("9 "));
    f.form->Button6Click();
    QCOMPARE(readFile(path), expectedFile());
}

void TestDocuments::openLeavesRulesAsClearingLeftThem()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("passport.xml");
    QByteArray bytes = expectedFile();
    bytes.replace("<\xC9\xED\xB7\xDD\xD6\xA4\xBC\xFE\xC0\xE0\xD0\xCD>28",
                  "<\xC9\xED\xB7\xDD\xD6\xA4\xBC\xFE\xC0\xE0\xD0\xCD>30");
    writeFile(path, bytes);
    FormFixture f;
    f.tabs()->setCurrentIndex(3);
    f.open(path);
    QCOMPARE(f.value("W_id"), QString("护照"));
    QVERIFY(!f.get("W_birth")->isEnabled());
    QVERIFY(!f.get("W_sex")->isEnabled());
    QCOMPARE(f.tabs()->currentIndex(), 3);
    auto *id = f.get<QComboBox>("W_id");
    id->setCurrentIndex(id->findText("军官证"));
    emit id->activated(id->currentIndex());
    QVERIFY(f.get("W_birth")->isEnabled() && f.get("W_sex")->isEnabled());
}

void TestDocuments::failedOpenLeavesEverythingAsItWas_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("inMessage");
    QTest::newRow("not well-formed") << QByteArray("<root><初始注册></root>") << "第 1 行";
    QTest::newRow("truncated") << expectedFile().left(300) << "broken.xml";
    QTest::newRow("empty date")
        << gb("<?xml version=\"1.0\" encoding=\"GB2312\"?><root><最高学历><毕业时间></毕业时间></最高学历></root>")
        << "毕业时间";
    QTest::newRow("impossible date")
        << gb("<?xml version=\"1.0\" encoding=\"GB2312\"?><root><初始注册><人员基本信息>"
              "<姓名>新</姓名><出生日期>1990-02-30</出生日期></人员基本信息></初始注册></root>")
        << "出生日期";
    QTest::newRow("empty file") << QByteArray() << "broken.xml";
}

void TestDocuments::failedOpenLeavesEverythingAsItWas()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, inMessage);
    QTemporaryDir dir;
    FormFixture f;
    fillApplicant(f);
    const QString bound = dir.filePath("bound.xml");
    f.saveTo(bound);
    const QByteArray boundBytes = readFile(bound);
    f.set("W_wkpart", "未保存的单位");
    f.set("W_wktms", "2001-01-01");
    f.form->Button15Click();
    const FieldValues before = f.form->held().basic;

    const QString broken = dir.filePath("broken.xml");
    writeFile(broken, bytes);
    f.prompts.clear();
    f.agreeToDiscard();
    f.prompts.files << broken;
    QTest::mouseClick(f.get("Label12"), Qt::LeftButton);

    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY2(f.prompts.errors()[0].contains(inMessage), qPrintable(f.prompts.errors()[0]));
    QCOMPARE(f.form->held().basic, before);
    QCOMPARE(f.get<RecordGrid>("W_wkgrid")->rowCount(), 2);
    QCOMPARE(f.form->currentDocumentPath(), bound);
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + bound);
    QCOMPARE(readFile(broken), bytes);
    // The next save still goes to the bound file, not to the broken one.
    f.form->Button6Click();
    QCOMPARE(readFile(broken), bytes);
    QVERIFY(readFile(bound) != boundBytes);
}

void TestDocuments::documentsFromElsewhere_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected");

    const QByteArray decl = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";
    QByteArray lf = expectedFile();
    lf.replace("\r\n", "\n");
    QTest::newRow("LF line ends") << lf << "W_zhy" << "土木工程";
    QByteArray flat = expectedFile();
    flat.replace("\r\n", "").replace("\t", "");
    QTest::newRow("no indentation") << flat << "W_school" << "同济大学";
    QTest::newRow("unknown code") << gb(decl + "<root><初始注册><人员基本信息><民族>99</民族></人员基本信息></初始注册></root>")
                                  << "W_nation" << "";
    QTest::newRow("missing element keeps the cleared value")
        << gb(decl + "<root><初始注册><人员基本信息><姓名>甲</姓名></人员基本信息></初始注册></root>") << "W_zgqd" << "考试";
    QTest::newRow("extra unknown element")
        << gb(decl + "<root><初始注册><人员基本信息><姓名>乙</姓名><爱好>读书</爱好></人员基本信息></初始注册><附录/></root>")
        << "W_name" << "乙";
    QTest::newRow("second copy of a part")
        << gb(decl + "<root><初始注册><人员基本信息><姓名>丙</姓名></人员基本信息></初始注册>"
                     "<初始注册><人员基本信息><姓名>丁</姓名></人员基本信息></初始注册></root>")
        << "W_name" << "丁";
    QTest::newRow("reference outside GB2312")
        << gb(decl + "<root><初始注册><人员基本信息><姓名>王&#22531;&#x5586;</姓名></人员基本信息></初始注册></root>")
        << "W_name" << "王堃喆";
    QTest::newRow("GBK bytes under the GB2312 label")
        << decl + "<root><\xB3\xF5\xCA\xBC\xD7\xA2\xB2\xE1><\xC8\xCB\xD4\xB1\xBB\xF9\xB1\xBE\xD0\xC5\xCF\xA2>"
                  "<\xD0\xD5\xC3\xFB>\xCD\xF5\x88\xD2</\xD0\xD5\xC3\xFB></\xC8\xCB\xD4\xB1\xBB\xF9\xB1\xBE\xD0\xC5\xCF\xA2>"
                  "</\xB3\xF5\xCA\xBC\xD7\xA2\xB2\xE1></root>"
        << "W_name" << "王堃";
    QTest::newRow("UTF-8 with byte order mark")
        << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>") +
               QString("<root><最高学历><毕业院校>北京大学</毕业院校><毕业时间>2000-07-01</毕业时间></最高学历></root>").toUtf8()
        << "W_school" << "北京大学";
    QTest::newRow("another document element") << QString("<申报><初始注册><人员基本信息><姓名>戊</姓名></人员基本信息></初始注册></申报>").toUtf8()
                                              << "W_name" << "戊";
    QTest::newRow("none of the parts") << QByteArray("<root><x/></root>") << "W_name" << "";
    // clang-format on
}

void TestDocuments::documentsFromElsewhere()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, control);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("other.xml");
    writeFile(path, bytes);
    FormFixture f;
    f.set("W_name", "之前的内容");
    f.open(path);
    QVERIFY2(f.prompts.errors().isEmpty(), qPrintable(f.prompts.errors().join('\n')));
    QCOMPARE(f.value(control), expected);
    QCOMPARE(f.form->currentDocumentPath(), path);
    QVERIFY(f.get("Button6")->isEnabled());
    QCOMPARE(readFile(path), bytes);
}

void TestDocuments::saveAsRebindsOrChangesNothing()
{
    QTemporaryDir dir;
    FormFixture f;
    fillApplicant(f);
    const QString first = dir.filePath("first.xml");
    f.saveTo(first);
    f.prompts.clear();

    f.form->Label44Click();  // cancelled
    QCOMPARE(f.prompts.log.size(), 1);
    QCOMPARE(f.prompts.log[0].text, QString("王堃申报资料另存为..."));
    QVERIFY(f.prompts.log[0].proposed.startsWith("王堃" + QDate::currentDate().toString("yyyy-MM-dd") + "-"));
    QCOMPARE(f.form->currentDocumentPath(), first);
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + first);

    const QString second = dir.filePath("second.xml");
    f.prompts.clear();
    f.prompts.files << second;
    f.get("Button6")->setEnabled(false);
    QTest::mouseClick(f.get("Label44"), Qt::LeftButton);
    QCOMPARE(f.form->currentDocumentPath(), second);
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + second);
    QCOMPARE(readFile(second), readFile(first));
    QCOMPARE(f.prompts.messages().value(0), QString("文件保存成功！"));

    FormFixture empty;
    empty.form->Label44Click();
    QCOMPARE(empty.prompts.log.value(0).text, QString("申报资料另存为..."));
    QVERIFY(empty.prompts.log.value(0).proposed.startsWith(QDate::currentDate().toString("yyyy-MM-dd")));
}

void TestDocuments::saveThatCannotWriteKeepsTheWindowAsItWas()
{
    // Nobody, not even root, creates files in /proc.
    FormFixture f;
    fillApplicant(f);
    f.prompts.files << "/proc/applicant.xml";
    f.get<QPushButton>("Button6")->click();
    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY(f.prompts.errors()[0].contains("/proc/applicant.xml"));
    QVERIFY(f.prompts.messages().isEmpty());
    QVERIFY(f.form->currentDocumentPath().isEmpty());
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + f.form->programDirectory());

    QTemporaryDir dir;
    const QString bound = dir.filePath("bound.xml");
    f.prompts.clear();
    f.saveTo(bound);
    f.prompts.clear();
    f.prompts.files << "/proc/copy.xml";
    QTest::mouseClick(f.get("Label44"), Qt::LeftButton);
    QCOMPARE(f.prompts.errors().size(), 1);
    QCOMPARE(f.form->currentDocumentPath(), bound);
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + bound);
}

void TestDocuments::saveAsksBeforeWritingOverAnotherProgramsChange()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    FormFixture f;
    f.bindTo(path);
    f.get<QPushButton>("Button6")->click();  // saved again, nothing asked
    QVERIFY(f.prompts.questions().isEmpty());

    // Another window bound to the same file writes another name.
    Declaration other = DeclarationFile::read(path);
    other.basic["W_name"] = "李四";
    DeclarationFile(&TForm1::NewRecordId).save(other, path);
    const QByteArray theirs = readFile(path);
    const QString question =
        "文件“" + QDir::toNativeSeparators(path) + "”在打开后已被其他程序修改。仍要保存并覆盖它吗?";

    f.prompts.clear();
    f.get<QPushButton>("Button6")->click();  // No
    QCOMPARE(f.prompts.questions(), QStringList{question});
    QCOMPARE(f.prompts.messages(), QStringList());
    QCOMPARE(readFile(path), theirs);

    f.prompts.clear();
    f.prompts.answers << true;
    f.get<QPushButton>("Button6")->click();
    QCOMPARE(f.prompts.questions(), QStringList{question});
    QCOMPARE(DeclarationFile::read(path).basic.value("W_name"), QString("王堃"));
    f.prompts.clear();
    f.get<QPushButton>("Button6")->click();  // ours again: nothing asked
    QVERIFY(f.prompts.questions().isEmpty());
}

enum PastedInto { Line, Memo, Digits };

void TestDocuments::pastedCharactersAFileCannotHoldNeverReachIt_data()
{
    // clang-format off
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("list");  // -1: the first tab
    QTest::addColumn<int>("kind");
    const QList<std::tuple<const char *, int, PastedInto>> fields{
        {"W_name", -1, Line},   {"W_cer", -1, Line},     {"W_tel", -1, Digits},   {"W_gznx", -1, Digits},
        {"W_zgid", -1, Line},   {"W_school", -1, Line},  {"W_zhy", -1, Line},     {"W_wkpart", WorkHistory, Line},
        {"W_wkmemo", WorkHistory, Memo}, {"W_yjname", Achievements, Line}, {"W_yjmemo1", Achievements, Memo},
        {"W_yjmemo2", Achievements, Memo}, {"W_jyjg", ContinuingEducation, Line},
        {"W_jyxs", ContinuingEducation, Digits}, {"W_jynr", ContinuingEducation, Memo},
        {"W_xymng", CreditRecord, Line}, {"W_xysn", CreditRecord, Line}, {"W_xymemo", CreditRecord, Memo},
    };
    for (const auto &[name, list, kind] : fields)
        QTest::newRow(name) << QString(name) << list << int(kind);
    // clang-format on
}

// Control characters, U+FFFF and halves of surrogate pairs pasted into any
// field are dropped; the value reaches the grid and the file as the field
// took it, and the file opens again.
void TestDocuments::pastedCharactersAFileCannotHoldNeverReachIt()
{
    QFETCH(QString, field);
    QFETCH(int, list);
    QFETCH(int, kind);
    const QString dirty = kind == Digits ? QString("1\x01"
                                                   "2\x1F") +
                                               QChar(0xFFFF) + "3"
                                         : QString("甲\x01乙\x0B丙\t丁\n戊\r\n己\x1F") + QChar(0xFFFF) + QChar(0xD800) +
                                               "庚" + QChar(0xDE00);
    // TABs and line breaks are text a file holds: they stay.
    QString expected = kind == Line ? "甲乙丙\t丁\n戊\r\n己庚" : kind == Memo ? "甲乙丙\t丁\n戊\n己庚" : "123";
    QTemporaryDir dir;
    const QString path = dir.filePath("pasted.xml");
    FormFixture f;
    full::fillBasic(f);
    if (list >= 0) {
        const QStringList values = full::entry(ListId(list), 1, 1);
        for (int i = 0; i < values.size(); ++i)
            setControlValue(f.list(ListId(list)).field(i), values[i]);
    }

    QWidget *target = f.get(field);
    if (auto *digits = qobject_cast<MaskEdit *>(target))
        expected.truncate(digits->positions());
    QApplication::clipboard()->setText(dirty);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    const QString taken = f.value(field);
    QCOMPARE(taken.trimmed(), expected);
    int column = -1;
    if (list >= 0) {
        ListControls rl = f.list(ListId(list));
        column = rl.def().fieldIndex(field);
        rl.addButton()->click();
        QCOMPARE(rl.grid()->cell(column, 1), taken);
    }

    f.saveTo(path);
    QCOMPARE(f.prompts.errors(), QStringList());
    QVERIFY(f.prompts.messages().contains("文件保存成功！"));
    FormFixture g;
    g.open(path);
    QCOMPARE(g.prompts.errors(), QStringList());
    QCOMPARE(list < 0 ? g.value(field) : g.list(ListId(list)).grid()->cell(column, 1), taken);
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
