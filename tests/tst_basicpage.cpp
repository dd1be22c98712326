#include "formfixture.h"
#include "gbk.h"

#include "rules/idnumber.h"

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace varnok;

namespace {
QString today() { return QDate::currentDate().toString("yyyy-MM-dd"); }
}  // namespace

class TestBasicPage : public QObject {
    Q_OBJECT
private slots:
    void geometryAndKeyboardOrder();
    void identityTypeEnablesBirthAndSex();
    void leavingTheNumberField_data();
    void leavingTheNumberField();
    void otherDocumentTypesAreNotExamined();
    void losingActivationIsNotLeaving();
    void nonDigitSexPositionShowsTheConversionError();
    void typingTheNameEnablesSave();
    void maskFieldsKeepPositions();
    void maskFieldsTakeDigitsWhereClicked_data();
    void maskFieldsTakeDigitsWhereClicked();
    void saveChecksInOrder_data();
    void saveChecksInOrder();
    void passportWithoutNameSaves();
};

void TestBasicPage::geometryAndKeyboardOrder()
{
    FormFixture f;
    QCOMPARE(f.get("GroupBox1")->geometry(), QRect(16, 16, 897, 129));
    QCOMPARE(f.get("GroupBox2")->geometry(), QRect(16, 160, 897, 161));
    QCOMPARE(f.get("GroupBox3")->geometry(), QRect(16, 336, 897, 121));
    QCOMPARE(f.get("W_tel")->geometry(), QRect(616, 24, 145, 21));
    QCOMPARE(f.get("Button6")->geometry(), QRect(808, 24, 75, 25));
    QCOMPARE(f.get("W_school")->geometry(), QRect(176, 16, 433, 21));
    QStringList captions;
    for (const QLabel *label : f.get("TabSheet2")->findChildren<QLabel *>())
        if (!label->text().isEmpty() && label->objectName() != "W_cerHint")
            captions << label->text();
    captions.sort();
    QStringList expectedCaptions{
        "姓名：",     "身份证类型：",   "证件号码：",         "出生日期：",         "性别：",
        "民族：",     "个人联系电话：", "参加工作时间：",     "现任专业技术职务：", "工作年限：",
        "任职时间：", "资格取得方式：", "资格证书签发日期：", "资格证书编号：",     "毕业院校：",
        "学历：",     "学位：",         "毕业时间：",         "所学专业："};
    expectedCaptions.sort();
    QCOMPARE(captions, expectedCaptions);
    QCOMPARE(f.get<QGroupBox>("GroupBox2")->title(), QString("其他信息"));
    const QStringList expected{"W_name",  "W_id",     "W_cer",   "W_birth",  "W_sex",  "W_nation", "W_tel",
                               "Button6", "W_work",   "W_zyzw",  "W_rzsj",   "W_zgqd", "W_qfrq",   "W_zgid",
                               "W_gznx",  "W_school", "W_xueli", "W_xuewei", "W_bysj", "W_zhy"};
    // The focus chain also holds the editors inside date pickers; keep the named controls.
    QStringList order;
    for (QWidget *w = f.get("W_name"); order.size() < expected.size(); w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus &&
            (w->objectName().startsWith("W_") || w->objectName().startsWith("Button")))
            order << w->objectName();
    QCOMPARE(order, expected);
}

void TestBasicPage::identityTypeEnablesBirthAndSex()
{
    FormFixture f;
    auto *id = f.get<QComboBox>("W_id");
    f.set("W_birth", "1980-05-06");
    f.set("W_sex", "女");
    for (const QString &type : {"护照", "身份证", "军官证", "其他证件", "身份证"}) {
        id->setCurrentIndex(id->findText(type));
        emit id->activated(id->currentIndex());
        const bool editable = type != "身份证";
        QCOMPARE(f.get("W_birth")->isEnabled(), editable);
        QCOMPARE(f.get("W_sex")->isEnabled(), editable);
        QCOMPARE(f.value("W_birth"), QString("1980-05-06"));
        QCOMPARE(f.value("W_sex"), QString("女"));
    }
}

void TestBasicPage::leavingTheNumberField_data()
{
    // clang-format off
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("birth");
    QTest::addColumn<bool>("selected");
    QTest::newRow("15 characters") << "110105850307123" << "" << "男" << "1985-03-07" << false;
    QTest::newRow("18 characters") << "110105199202291224" << "" << "女" << "1992-02-29" << false;
    QTest::newRow("final X") << "11010519491231002X" << "" << "女" << "1949-12-31" << false;
    QTest::newRow("not a leap year") << "110105199002291234" << MsgIdDate << "男" << "1970-01-01" << true;
    QTest::newRow("wrong length") << "1101051990022912" << MsgIdLength << "" << "1970-01-01" << false;
    QTest::newRow("empty") << "" << MsgIdLength << "" << "1970-01-01" << false;
    // clang-format on
}

void TestBasicPage::leavingTheNumberField()
{
    QFETCH(QString, number);
    QFETCH(QString, message);
    QFETCH(QString, sex);
    QFETCH(QString, birth);
    QFETCH(bool, selected);
    FormFixture f;
    f.showActive();
    f.set("W_birth", "1970-01-01");
    auto *cer = f.get<QLineEdit>("W_cer");
    cer->setFocus();
    QTest::keyClicks(cer, number);
    f.get("W_nation")->setFocus(Qt::TabFocusReason);
    if (message.isEmpty()) {
        QTest::qWait(20);
        QVERIFY(f.prompts.log.isEmpty());
        QCOMPARE(f.focused(), f.get("W_nation"));
    } else {
        QTRY_COMPARE(f.prompts.messages(), QStringList{message});
        QCOMPARE(f.focused(), cer);
        QCOMPARE(cer->hasSelectedText() && cer->selectedText() == number, selected);
    }
    QCOMPARE(f.value("W_sex"), sex);
    QCOMPARE(f.value("W_birth"), birth);
}

void TestBasicPage::otherDocumentTypesAreNotExamined()
{
    FormFixture f;
    f.showActive();
    f.set("W_id", "护照");
    auto *cer = f.get<QLineEdit>("W_cer");
    for (const QString &text : {QString(), QString("E1234")}) {
        cer->setText(text);
        cer->setFocus();
        f.get("W_nation")->setFocus(Qt::TabFocusReason);
        QTest::qWait(20);
    }
    QVERIFY(f.prompts.log.isEmpty());
}

void TestBasicPage::losingActivationIsNotLeaving()
{
    FormFixture f;
    f.showActive();
    auto *cer = f.get<QLineEdit>("W_cer");
    cer->setFocus();
    cer->setText("123");
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(cer, &out);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(cer, &popup);
    QTest::qWait(20);
    QVERIFY(f.prompts.log.isEmpty());
}

void TestBasicPage::nonDigitSexPositionShowsTheConversionError()
{
    FormFixture f;
    f.showActive();
    auto *cer = f.get<QLineEdit>("W_cer");
    cer->setFocus();
    cer->setText("一二三四五六七八九");
    f.get("W_nation")->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(f.prompts.errors(), QStringList{"'九' is not a valid integer value"});
    QVERIFY(f.prompts.messages().isEmpty());
    QCOMPARE(f.value("W_sex"), QString());
    QCOMPARE(f.focused(), f.get("W_nation"));
}

void TestBasicPage::typingTheNameEnablesSave()
{
    FormFixture f;
    f.showActive();
    auto *name = f.get<QLineEdit>("W_name");
    name->setFocus();
    QVERIFY(!f.get("Button6")->isEnabled());
    QTest::keyClick(name, Qt::Key_A);
    QVERIFY(f.get("Button6")->isEnabled());
    QTest::keyClick(name, Qt::Key_Backspace);
    QVERIFY(f.get("Button6")->isEnabled());
}

void TestBasicPage::maskFieldsKeepPositions()
{
    FormFixture f;
    f.showActive();
    auto *tel = f.get<MaskEdit>("W_tel");
    tel->setFocus();
    tel->setCursorPosition(0);
    QTest::keyClicks(tel, "138");
    QCOMPARE(tel->maskText(), QString("138        "));
    QTest::keyClicks(tel, "abc");  // only digits go in
    QCOMPARE(tel->maskText(), QString("138        "));
    for (const QString &stored : {QString(" 5"), QString("9 "), QString("  "), QString("12")}) {
        f.get<MaskEdit>("W_gznx")->setMaskText(stored);
        QCOMPARE(f.value("W_gznx"), stored);
    }
    tel->setMaskText("1 3 5      ");
    QCOMPARE(tel->displayText(), QString("1_3_5______"));
}

void TestBasicPage::maskFieldsTakeDigitsWhereClicked_data()
{
    // clang-format off
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");  // after a click in the middle and typing 7
    QTest::newRow("telephone, empty") << 0 << "W_tel" << "" << "7          ";
    QTest::newRow("telephone, three digits") << 0 << "W_tel" << "138" << "1387       ";
    QTest::newRow("years of work, empty") << 0 << "W_gznx" << "" << "7 ";
    QTest::newRow("years of work, one digit") << 0 << "W_gznx" << "1" << "17";
    QTest::newRow("class hours, empty") << 3 << "W_jyxs" << "" << "7  ";
    QTest::newRow("class hours, full") << 3 << "W_jyxs" << "120" << "120";
    // clang-format on
}

// A click in the middle of the field (beyond the digits typed so far) and the
// digits typed next land right after those, as when the field is entered
// with Tab and typed into.
void TestBasicPage::maskFieldsTakeDigitsWhereClicked()
{
    QFETCH(int, tab);
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(QString, after);
    FormFixture f;
    f.get<QTabWidget>("PageControl1")->setCurrentIndex(tab);
    f.showActive();
    auto *edit = f.get<MaskEdit>(field);
    edit->setMaskText(before);
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    QVERIFY(edit->hasFocus());
    QTest::keyClicks(edit, "7");
    QCOMPARE(edit->maskText(), after);
}

void TestBasicPage::saveChecksInOrder_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("changes");  // name=value pairs applied after a complete fill
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("1 name") << QStringList{"W_name="} << "姓名或者证件号码必须填写！" << "W_name";
    QTest::newRow("1 number") << QStringList{"W_cer="} << "姓名或者证件号码必须填写！" << "W_name";
    QTest::newRow("2 number") << QStringList{"W_id=军官证", "W_cer="} << "非居民身份证人员证件号码、出生日期和性别都不能为空！"
                              << "W_cer";
    QTest::newRow("2 birth today") << QStringList{"W_id=军官证", "W_birth=" + today()}
                                   << "非居民身份证人员证件号码、出生日期和性别都不能为空！" << "W_cer";
    QTest::newRow("2 sex") << QStringList{"W_id=护照", "W_sex="} << "非居民身份证人员证件号码、出生日期和性别都不能为空！"
                           << "W_cer";
    QTest::newRow("3 telephone") << QStringList{"W_tel="} << "填写个人联系电话会方便很多！" << "W_tel";
    QTest::newRow("4 nation") << QStringList{"W_nation="} << "未填写民族信息！" << "W_nation";
    QTest::newRow("5 title") << QStringList{"W_zyzw="} << "必须填写相应级别的专业技术职务！" << "W_zyzw";
    QTest::newRow("6 years") << QStringList{"W_gznx="} << "请至少填写一位数值的工作年限！" << "W_gznx";
    QTest::newRow("7 certificate blank") << QStringList{"W_zgid=   "} << "资格证书编号为必填项！" << "W_zgid";
    QTest::newRow("8 school") << QStringList{"W_school="} << "请准确填写您的最高学历信息中的所有项！" << "W_school";
    QTest::newRow("8 education") << QStringList{"W_xueli="} << "请准确填写您的最高学历信息中的所有项！" << "W_school";
    QTest::newRow("8 degree") << QStringList{"W_xuewei="} << "请准确填写您的最高学历信息中的所有项！" << "W_school";
    QTest::newRow("8 major") << QStringList{"W_zhy="} << "请准确填写您的最高学历信息中的所有项！" << "W_school";
    QTest::newRow("first failure wins") << QStringList{"W_zhy=", "W_tel=", "W_nation="} << "填写个人联系电话会方便很多！"
                                        << "W_tel";
    QTest::newRow("blank school passes 8") << QStringList{"W_school=  "} << "" << "";
    // clang-format on
}

void TestBasicPage::saveChecksInOrder()
{
    QFETCH(QStringList, changes);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QTemporaryDir dir;
    FormFixture f;
    f.showActive();
    f.fillBasic();
    f.set("W_birth", "1980-01-01");
    f.set("W_sex", "男");
    for (const QString &change : changes)
        f.set(change.section('=', 0, 0), change.section('=', 1));
    f.tabs()->setCurrentIndex(2);
    f.prompts.files << dir.filePath("a.xml");
    f.get<QPushButton>("Button6")->click();
    if (message.isEmpty()) {
        QCOMPARE(f.prompts.messages().value(0), QString("文件保存成功！"));
        return;
    }
    QCOMPARE(f.prompts.messages(), QStringList{message});
    QCOMPARE(f.focused(), f.get(focus));
    QCOMPARE(f.tabs()->currentIndex(), 0);
    QVERIFY(f.form->currentDocumentPath().isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("a.xml")));
    QCOMPARE(f.prompts.log.size(), 1);  // no dialog either
}

void TestBasicPage::passportWithoutNameSaves()
{
    QTemporaryDir dir;
    FormFixture f;
    f.fillBasic();
    f.set("W_name", "");
    f.set("W_id", "护照");
    f.set("W_birth", "1980-01-01");
    f.set("W_sex", "女");
    f.saveTo(dir.filePath("p.xml"));
    const FakePrompts::Entry dialog = f.prompts.log.value(0);
    QCOMPARE(dialog.kind, QString("save"));
    QCOMPARE(dialog.text, QString("申报资料保存"));
    static const QRegularExpression proposed("^\\d{4}-\\d{2}-\\d{2}-\\d{4}\\.xml$");
    QVERIFY2(proposed.match(dialog.proposed).hasMatch(), qPrintable(dialog.proposed));
    QVERIFY(dialog.proposed.startsWith(today()));
    QCOMPARE(f.prompts.messages(), QStringList({"文件保存成功！", "请接着填写工作简历后保存！"}));
    QFile file(dir.filePath("p.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains(gbk("<姓名/>")));
}

QTEST_MAIN(TestBasicPage)
#include "tst_basicpage.moc"
