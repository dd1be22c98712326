#include "formfixture.h"

#include "app/splash.h"
#include "platform/userlocale.h"
#include "widgets/commandlabel.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

using namespace varnok;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void windowAndTabs();
    void pickLists_data();
    void pickLists();
    void datesAreTodayAndSaveButtonsDisabled();
    void statusBar();
    void gridHeadingsAndWidths_data();
    void gridHeadingsAndWidths();
    void everyNamedControlExists();
    void hoverColours();
    void newDiscardsEverythingAndNamesAFile();
    void randomDigitsAreFourDigits();
    void leaving_data();
    void leaving();
    void newAndOpenAskBeforeDiscarding_data();
    void newAndOpenAskBeforeDiscarding();
    void shutDownRunsOnceAndWritesOnlyWhatItRead();
    void helpIsExtractedToTheWorkingFolder();
    void helpThatCannotBeWrittenShowsTheError();
    void onlineDeclarationFailureIsReported();
    void splashShowsThePictureAndGivesWayOnce();
};

void TestMainWindow::windowAndTabs()
{
    FormFixture f;
    QCOMPARE(f.form->objectName(), QString("Form1"));
    QCOMPARE(f.form->windowTitle(), QString("Varnok——Version 1.0"));
    QCOMPARE(f.form->size(), QSize(1000, 662));
    QTabWidget *tabs = f.tabs();
    QStringList captions, names;
    for (int i = 0; i < tabs->count(); ++i) {
        captions << tabs->tabText(i);
        names << tabs->widget(i)->objectName();
    }
    QCOMPARE(captions, QStringList({"基本信息", "工作简历", "主要业绩", "继续教育", "信用档案"}));
    QCOMPARE(names, QStringList({"TabSheet2", "TabSheet3", "TabSheet7", "TabSheet5", "TabSheet1"}));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->geometry(), QRect(32, 64, 937, 553));
    QStringList commands;
    for (const char *name : {"Label1", "Label12", "Label44", "Label31", "Label45"})
        commands << f.get<QLabel>(name)->text();
    QCOMPARE(commands, QStringList({"新建", "打开", "另存为...", "网上申报", "帮助"}));
    QCOMPARE(f.get<QPushButton>("Button2")->text(), QString("退出"));
}

void TestMainWindow::pickLists_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("sex") << "W_sex" << 2 << "男" << "女" << "" << false;
    QTest::newRow("nation") << "W_nation" << 56 << "汉族" << "基诺族" << "" << true;
    QTest::newRow("id type") << "W_id" << 4 << "身份证" << "其他证件" << "身份证" << true;
    QTest::newRow("title") << "W_zyzw" << 5 << "技术员" << "教授级高级工程师" << "" << true;
    QTest::newRow("qualification") << "W_zgqd" << 2 << "考试" << "考核" << "考试" << true;
    QTest::newRow("education") << "W_xueli" << 7 << "研究生毕业" << "其他" << "" << true;
    QTest::newRow("degree") << "W_xuewei" << 4 << "博士" << "未获学位" << "" << true;
    QTest::newRow("course type") << "W_jylx" << 2 << "选修课" << "必修课" << "" << true;
    QTest::newRow("reward or penalty") << "W_xycls" << 2 << "奖励" << "处罚" << "" << true;
    // clang-format on
}

void TestMainWindow::pickLists()
{
    QFETCH(QString, name);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, selected);
    QFETCH(bool, enabled);
    FormFixture f;
    auto *combo = f.get<QComboBox>(name);
    QCOMPARE(combo->count(), count);
    QCOMPARE(combo->itemText(0), first);
    QCOMPARE(combo->itemText(count - 1), last);
    QCOMPARE(f.value(name), selected);
    QCOMPARE(combo->isEnabled(), enabled);
    QVERIFY(!combo->isEditable());
}

void TestMainWindow::datesAreTodayAndSaveButtonsDisabled()
{
    FormFixture f;
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    for (const char *name : {"W_birth", "W_work", "W_rzsj", "W_bysj", "W_qfrq", "W_wktms", "W_wktme", "W_yjtms",
                             "W_yjtme", "W_jyrq", "W_xysj"}) {
        auto *date = f.get<QDateEdit>(name);
        QCOMPARE(date->text(), today);
        QVERIFY(date->calendarPopup());
    }
    QVERIFY(!f.get("W_birth")->isEnabled());
    for (const char *name : {"Button6", "Button16", "Button18", "Button11", "Button3"})
        QVERIFY2(!f.get(name)->isEnabled(), name);
    QCOMPARE(f.value("W_tel"), QString(11, ' '));
    QCOMPARE(f.value("W_gznx"), QString(2, ' '));
    QCOMPARE(f.value("W_jyxs"), QString(3, ' '));
    QVERIFY(f.prompts.log.isEmpty());
}

void TestMainWindow::statusBar()
{
    FormFixture f;
    QCOMPARE(f.form->statusText(0), QString("Kestavel监制"));
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + f.form->programDirectory());
    QVERIFY(f.form->programDirectory().endsWith(QDir::separator()));
    QCOMPARE(QDir(f.form->programDirectory()).canonicalPath(),
             QDir(QCoreApplication::applicationDirPath()).canonicalPath());
    QCOMPARE(f.get("StatusBar1")->height(), 18);
    QCOMPARE(f.get<QLabel>("StatusPanel1")->width(), 290);
    QCOMPARE(f.get<QLabel>("StatusPanel2")->width(), 500);
    QVERIFY(f.form->currentDocumentPath().isEmpty());
}

void TestMainWindow::gridHeadingsAndWidths_data()
{
    // clang-format off
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("work history") << "W_wkgrid" << QStringList{"工作单位", "起始时间", "结束时间", "备注", "修改", "删除"}
                                  << QList<int>{298, 86, 81, 293, 52, 44};
    QTest::newRow("achievements") << "W_yjgrid"
                                  << QStringList{"项目名称", "起始时间", "结束时间", "本人作用", "完成情况及效果", "修改", "删除"}
                                  << QList<int>{159, 64, 64, 116, 353, 51, 46};
    QTest::newRow("education") << "StringGrid2"
                               << QStringList{"培训机构", "课程类型", "培训日期", "学时", "培训内容", "修改", "删除"}
                               << QList<int>{156, 65, 74, 66, 386, 56, 50};
    QTest::newRow("credit") << "W_xygrid"
                            << QStringList{"奖惩时间", "奖惩部门单位", "奖励或处罚", "奖惩原因", "奖惩结果", "修改", "删除"}
                            << QList<int>{80, 126, 63, 92, 386, 56, 50};
    // clang-format on
}

void TestMainWindow::gridHeadingsAndWidths()
{
    QFETCH(QString, grid);
    QFETCH(QStringList, headings);
    QFETCH(QList<int>, widths);
    FormFixture f;
    auto *g = f.get<RecordGrid>(grid);
    QCOMPARE(g->rowCount(), 1);
    QCOMPARE(g->fixedRows(), 0);
    QCOMPARE(g->rowCells(0), headings);
    for (int c = 0; c < widths.size(); ++c)
        QCOMPARE(g->columnWidth(c), widths[c]);
}

void TestMainWindow::everyNamedControlExists()
{
    FormFixture f;
    const char *names[] = {
        "Form1",    "PageControl1", "TabSheet2",   "TabSheet3", "TabSheet7", "TabSheet5", "TabSheet1", "StatusBar1",
        "W_name",   "W_id",         "W_cer",       "W_birth",   "W_sex",     "W_nation",  "W_tel",     "Button6",
        "W_work",   "W_zyzw",       "W_gznx",      "W_rzsj",    "W_zgqd",    "W_qfrq",    "W_zgid",    "W_school",
        "W_xueli",  "W_xuewei",     "W_bysj",      "W_zhy",     "W_wkpart",  "W_wktms",   "W_wktme",   "W_wkmemo",
        "Button15", "Button16",     "W_wkgrid",    "W_yjname",  "W_yjtms",   "W_yjtme",   "W_yjmemo1", "W_yjmemo2",
        "Button17", "Button18",     "W_yjgrid",    "W_jyjg",    "W_jylx",    "W_jyrq",    "W_jyxs",    "W_jynr",
        "Button9",  "Button11",     "StringGrid2", "W_xysj",    "W_xymng",   "W_xycls",   "W_xysn",    "W_xymemo",
        "Button1",  "Button3",      "W_xygrid"};
    for (const char *name : names)
        QVERIFY2(QString(name) == "Form1" || f.form->findChild<QWidget *>(name), name);
}

void TestMainWindow::hoverColours()
{
    FormFixture f;
    f.form->show();
    for (const char *name : {"Label1", "Label12", "Label44", "Label31", "Label45"}) {
        auto *label = f.get<QLabel>(name);
        const QColor face = label->palette().color(QPalette::Window);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), label->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &move);
        QCOMPARE(label->palette().color(QPalette::Window), QColor(166, 202, 240));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label, &leave);
        QCOMPARE(label->palette().color(QPalette::Window), face);
        QVERIFY(label->autoFillBackground());
    }
}

void TestMainWindow::newDiscardsEverythingAndNamesAFile()
{
    FormFixture f;
    f.showActive();
    f.fillBasic();
    f.set("W_wkpart", "某单位");
    f.set("W_wktms", "2001-01-01");
    f.form->Button15Click();
    f.set("W_jylx", "必修课");
    f.get<QComboBox>("W_id")->setCurrentIndex(2);
    f.form->W_idChange();
    f.tabs()->setCurrentIndex(3);
    QVERIFY(f.get("Button6")->isEnabled() && f.get("Button16")->isEnabled());

    f.prompts.answers << true;
    f.form->Label1Click();
    QCOMPARE(f.prompts.questions(), QStringList{"填写的文件还没有保存！确认要新建吗?"});
    f.prompts.clear();
    static const QRegularExpression shape("^Tamsor(\\d{4}-\\d{2}-\\d{2})-\\d{4}\\.xml$");
    const QString path = f.form->currentDocumentPath();
    QVERIFY(path.startsWith(f.form->programDirectory()));
    const auto match = shape.match(path.mid(f.form->programDirectory().size()));
    QVERIFY2(match.hasMatch(), qPrintable(path));
    QCOMPARE(match.captured(1), QDate::currentDate().toString("yyyy-MM-dd"));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + path);
    QCOMPARE(f.tabs()->currentIndex(), 0);
    for (const char *name : {"W_name", "W_cer", "W_nation", "W_sex", "W_zyzw", "W_zgid", "W_school", "W_xueli",
                             "W_xuewei", "W_zhy", "W_wkpart", "W_jylx"})
        QCOMPARE(f.value(name), QString());
    QCOMPARE(f.value("W_id"), QString("身份证"));
    QCOMPARE(f.value("W_zgqd"), QString("考试"));
    QCOMPARE(f.value("W_tel"), QString(11, ' '));
    QCOMPARE(f.value("W_wktms"), QDate::currentDate().toString("yyyy-MM-dd"));
    QVERIFY(!f.get("W_birth")->isEnabled() && !f.get("W_sex")->isEnabled());
    for (const char *grid : {"W_wkgrid", "W_yjgrid", "StringGrid2", "W_xygrid"}) {
        QCOMPARE(f.get<RecordGrid>(grid)->rowCount(), 1);
        QCOMPARE(f.get<RecordGrid>(grid)->fixedRows(), 0);
    }
    for (const char *name : {"Button6", "Button16", "Button18", "Button11", "Button3"})
        QVERIFY2(!f.get(name)->isEnabled(), name);
    QCOMPARE(f.focused(), f.get("W_name"));
    QVERIFY(f.prompts.log.isEmpty());
}

void TestMainWindow::randomDigitsAreFourDigits()
{
    static const QRegularExpression four("^\\d{4}$");
    for (int i = 0; i < 50; ++i)
        QVERIFY(four.match(TForm1::RandomDigits()).hasMatch());
}

namespace {

enum Held {
    Nothing,
    Typed,
    NewThenTyped,
    Saved,
    SavedThenChanged,
    EditPending,
    RowAdded,
    RowSaved,
    Opened,
    OpenedThenFileDeleted
};

void addWorkEntry(FormFixture &f)
{
    f.set("W_wkpart", "某单位");
    f.set("W_wktms", "2001-01-01");
    f.form->Button15Click();
}

// The window in one of the states that decide whether a command asks first.
void prepareHeld(FormFixture &f, Held held, const QString &dir)
{
    const QString path = dir + "/saved.xml";
    if (held == Nothing)
        return;
    if (held == NewThenTyped)
        f.form->Label1Click();
    f.fillBasic();
    if (held == Typed || held == NewThenTyped)
        return;
    f.saveTo(path);
    QVERIFY(QFile::exists(path));
    switch (held) {
    case SavedThenChanged:
        f.set("W_zgid", "ZG2012-0002");
        break;
    case EditPending:
        addWorkEntry(f);
        f.form->Button16Click();
        f.list(WorkHistory).grid()->setCurrentCell(4, 1);
        f.form->W_wkgridClick();
        QCOMPARE(f.list(WorkHistory).addButton()->text(), QString("保存修改"));
        break;
    case RowAdded:
    case RowSaved:
        addWorkEntry(f);
        if (held == RowSaved)
            f.form->Button16Click();
        break;
    case Opened:
    case OpenedThenFileDeleted:
        addWorkEntry(f);
        f.form->Button16Click();
        f.form->Label1Click();  // nothing unsaved: no question
        f.open(path);
        QCOMPARE(f.list(WorkHistory).entryCount(), 1);
        if (held == OpenedThenFileDeleted)
            QVERIFY(QFile::remove(path));
        break;
    default:
        break;
    }
    QVERIFY(f.prompts.errors().isEmpty());
}

// Runs the step inside the application's own event loop and returns how the
// loop ended: 0 when the program ended it, 2 when it was still running once
// the step and everything it set off had run, 3 when it hung.
int inEventLoop(const std::function<void()> &step)
{
    QObject context;  // its timers go with it
    QTimer::singleShot(0, &context, [&] {
        step();
        QTimer::singleShot(200, &context, [] { QCoreApplication::exit(2); });
    });
    QTimer::singleShot(20000, &context, [] { QCoreApplication::exit(3); });
    return QCoreApplication::exec();
}

}  // namespace

void TestMainWindow::leaving_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<int>("held");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("question");
    const QString a = "确认要退出本系统吗?";
    const QString b = "填写的文件还没有保存！确认要退出本系统吗?";
    const QList<std::tuple<const char *, Held, QString>> states{
        {"nothing typed", Nothing, b},
        {"typed, no file", Typed, b},
        {"saved", Saved, a},
        {"saved, then changed", SavedThenChanged, b},
        {"saved, edit pending", EditPending, b},
        {"new file not written yet", NewThenTyped, b},
        {"row added after saving", RowAdded, b},
        {"opened", Opened, a},
    };
    for (bool closeBox : {false, true})
        for (const auto &[name, held, question] : states)
            for (bool answer : {false, true})
                QTest::addRow("%s, %s, %s", closeBox ? "close box" : "退出", name, answer ? "yes" : "no")
                    << closeBox << int(held) << answer << question;
}

// Through the application's real event loop: one question, and after Yes the
// program ends without asking again.
void TestMainWindow::leaving()
{
    QFETCH(bool, closeBox);
    QFETCH(int, held);
    QFETCH(bool, answer);
    QFETCH(QString, question);
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        QFile help("help.chm");
        QVERIFY(help.open(QIODevice::WriteOnly));
    }
    platform::writeUserShortDate("d/M/yyyy");
    FormFixture f;
    f.form->show();
    prepareHeld(f, Held(held), dir.path());
    f.prompts.clear();
    f.prompts.answers << answer << answer;

    const int ended = inEventLoop([&] {
        if (closeBox)
            f.form->close();
        else
            f.get<QPushButton>("Button2")->click();
    });

    QCOMPARE(f.prompts.questions(), QStringList{question});
    QCOMPARE(ended, answer ? 0 : 2);
    QCOMPARE(f.form->hasShutDown(), answer);
    QCOMPARE(QFile::exists("help.chm"), !answer);
    QCOMPARE(QString::fromStdString(platform::readUserShortDate()),
             answer ? QString("d/M/yyyy") : QString("yyyy-MM-dd"));
    QDir::setCurrent(previous);
}

void TestMainWindow::newAndOpenAskBeforeDiscarding_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("held");
    QTest::addColumn<bool>("asks");
    const QList<std::tuple<const char *, Held, bool>> states{
        {"nothing typed", Nothing, false},
        {"typed, no file", Typed, true},
        {"new file not written yet", NewThenTyped, true},
        {"saved", Saved, false},
        {"saved, then changed", SavedThenChanged, true},
        {"edit pending", EditPending, true},
        {"row added", RowAdded, true},
        {"row added and saved", RowSaved, false},
        {"opened", Opened, false},
        {"opened, file deleted", OpenedThenFileDeleted, true},
    };
    for (bool open : {false, true})
        for (const auto &[name, held, asks] : states)
            QTest::addRow("%s, %s", open ? "打开" : "新建", name) << open << int(held) << asks;
}

// A command that would throw typed work away asks first; No changes nothing,
// Yes runs the command; with nothing to lose nothing is asked.
void TestMainWindow::newAndOpenAskBeforeDiscarding()
{
    QFETCH(bool, open);
    QFETCH(int, held);
    QFETCH(bool, asks);
    QTemporaryDir dir;
    FormFixture f;
    prepareHeld(f, Held(held), dir.path());
    f.prompts.clear();
    const QString question =
        open ? "填写的文件还没有保存！确认要打开其他文件吗?" : "填写的文件还没有保存！确认要新建吗?";
    const QString path = f.form->currentDocumentPath();
    const QString name = f.value("W_name");
    auto run = [&] { open ? f.form->Label12Click() : f.form->Label1Click(); };

    if (asks) {
        run();  // answered No
        QCOMPARE(f.prompts.questions(), QStringList{question});
        QCOMPARE(f.prompts.log.size(), 1);
        QCOMPARE(f.form->currentDocumentPath(), path);
        QCOMPARE(f.value("W_name"), name);
        QCOMPARE(f.form->hasUnsavedChanges(), true);
        f.prompts.clear();
        f.prompts.answers << true;
    }
    run();
    QCOMPARE(f.prompts.questions(), asks ? QStringList{question} : QStringList());
    // Yes runs the command: 新建 empties the window, 打开 shows its dialog.
    if (open)
        QCOMPARE(f.prompts.texts("open").size(), 1);
    else
        QCOMPARE(f.value("W_name"), QString());
}

// The user's format, in the stand-in or (on Windows) in the user's settings.
void TestMainWindow::shutDownRunsOnceAndWritesOnlyWhatItRead()
{
    platform::writeUserShortDate("d/M/yyyy");
#ifndef _WIN32
    const int broadcasts = platform::standInBroadcastCount();
#endif
    FormFixture f;
    QCOMPARE(QString::fromStdString(platform::readUserShortDate()), QString("yyyy-MM-dd"));
    QCOMPARE(f.form->savedShortDate().value(), std::string("d/M/yyyy"));
    f.form->ShutDown();
    QCOMPARE(QString::fromStdString(platform::readUserShortDate()), QString("d/M/yyyy"));
    // A second run has nothing to put back and writes nothing.
    platform::writeUserShortDate("dd.MM.yyyy");
    f.form->ShutDown();
    QCOMPARE(QString::fromStdString(platform::readUserShortDate()), QString("dd.MM.yyyy"));
#ifndef _WIN32
    // One broadcast at the switch, one at the restore, none for nothing.
    QCOMPARE(platform::standInBroadcastCount(), broadcasts + 2);

    // A format that could not be read is never written back as empty. (The
    // stand-in can hold an empty format; Windows always has one.)
    platform::writeUserShortDate("");
    FormFixture unread;
    unread.form->ShutDown();
    QCOMPARE(QString::fromStdString(platform::readUserShortDate()), QString("yyyy-MM-dd"));
#endif
}

void TestMainWindow::helpIsExtractedToTheWorkingFolder()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    FormFixture f;
    QFile resource(":/MYHELP");
    QVERIFY(resource.open(QIODevice::ReadOnly));
    const QByteArray bytes = resource.readAll();
    QVERIFY(bytes.startsWith("ITSF"));
    for (int click = 0; click < 2; ++click) {
        f.get<QLabel>("Label45");
        f.form->Label45Click();
        QFile written(dir.filePath("help.chm"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), bytes);
    }
    // Offscreen there is no program to open it with.
    QCOMPARE(f.prompts.messages(), QStringList({"帮助文件未找到或打开错误！", "帮助文件未找到或打开错误！"}));
    QDir::setCurrent(previous);
}

void TestMainWindow::helpThatCannotBeWrittenShowsTheError()
{
    const QString previous = QDir::currentPath();
    // A folder of that name is in the way, for root as for anyone, on every
    // system.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("help.chm"));
    QVERIFY(QDir::setCurrent(dir.path()));
    FormFixture f;
    QTest::mouseClick(f.get("Label45"), Qt::LeftButton);
    QDir::setCurrent(previous);
    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY(f.prompts.errors().constFirst().contains("help.chm"));
    QVERIFY(f.prompts.messages().isEmpty());
}

void TestMainWindow::onlineDeclarationFailureIsReported()
{
    FormFixture f;
    QTest::mouseClick(f.get("Label31"), Qt::LeftButton);
    QCOMPARE(f.prompts.messages(), QStringList{"网页打开错误,请确保网络联接！"});
}

void TestMainWindow::splashShowsThePictureAndGivesWayOnce()
{
    FakePrompts prompts;
    QWidget mainWindow;
    QPointer<TForm2> splash = new TForm2(prompts);
    splash->setMainWindow(&mainWindow);
    QCOMPARE(splash->objectName(), QString("Form2"));
    QCOMPARE(splash->size(), QSize(430, 250));
    QVERIFY(splash->isVisible());
    QCOMPARE(splash->Image1->pixmap().size(), QSize(430, 250));
    QCOMPARE(splash->Timer1->interval(), 3000);
    QVERIFY(splash->Timer1->isActive());
    QVERIFY(!mainWindow.isVisible());
    QVERIFY(prompts.log.isEmpty());
    splash->Timer1Timer();
    QVERIFY(mainWindow.isVisible());
    QTRY_VERIFY(splash.isNull());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
