// Qt's own texts in Chinese whatever the locale the tests run under (C.UTF-8):
// every standard dialog and menu the program shows is opened the way the
// program opens it, and each of its texts must be Chinese.
#include "formfixture.h"

#include "app/language.h"
#include "report/printpreview.h"
#include "widgets/prompts.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>
#include <functional>

using namespace varnok;

namespace {

bool hasHan(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}

bool hasLatinLetter(const QString &text)
{
    for (QChar c : text)
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
            return true;
    return false;
}

// The words of a text as shown: without the mnemonic marker or the shortcut
// a menu adds after a tab.
QString shown(QString text)
{
    text = text.section(u'\t', 0, 0);
    text.remove(u'&');
    return text.trimmed();
}

// Paper sizes and pages per sheet, which a Chinese desktop writes the same
// way: "A4", "JIS B5", "ANSI C", "7 x 9 in", "4 (2x2)".
bool designation(const QString &text)
{
    static const QRegularExpression re(R"(^((JIS|ANSI) )?[A-E]\d{0,2}$|^\d+ x \d+ in$|^\d+ \(\d+x\d+\)$)");
    return re.match(text).hasMatch();
}

// The texts left in English: with Latin letters and no Chinese character.
// Texts without letters (numbers, "...") say nothing either way.
QStringList english(const QStringList &texts)
{
    QStringList out;
    for (const QString &t : texts)
        if (hasLatinLetter(shown(t)) && !hasHan(t) && !designation(shown(t)))
            out << t;
    return out;
}

// Run inspect on the next modal dialog shown other than except, from within
// the event loop that shows it; inspect closes it. Arm it before the call
// that opens the dialog.
void onNextModal(std::function<void(QDialog *)> inspect, QWidget *except = nullptr)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, inspect, except] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog == except || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        inspect(dialog);
    });
    poll->start();
}

// The texts of a widget and everything in it: labels, buttons, group boxes,
// tabs, tooltips of tool buttons, drop-down items, actions.
QStringList textsIn(QWidget *root)
{
    QStringList texts{root->windowTitle()};
    for (QLabel *l : root->findChildren<QLabel *>())
        if (l->textFormat() != Qt::RichText)
            texts << l->text();
    for (QAbstractButton *b : root->findChildren<QAbstractButton *>()) {
        texts << b->text();
        if (qobject_cast<QToolButton *>(b))
            texts << b->toolTip();
    }
    for (QGroupBox *g : root->findChildren<QGroupBox *>())
        texts << g->title();
    for (QTabWidget *t : root->findChildren<QTabWidget *>())
        for (int i = 0; i < t->count(); ++i)
            texts << t->tabText(i);
    for (QComboBox *c : root->findChildren<QComboBox *>())
        for (int i = 0; i < c->count(); ++i)
            if (!QFileInfo::exists(c->itemText(i)))  // a folder's name is no word to translate
                texts << c->itemText(i);
    for (QAction *a : root->findChildren<QAction *>())
        texts << a->text();
    texts.removeIf([](const QString &t) { return shown(t).isEmpty(); });
    return texts;
}

// Right-click a control as a person does and read the menu that opens.
QStringList contextMenuOf(QWidget *control)
{
    QWidget *receiver = control;
    if (auto *area = qobject_cast<QAbstractScrollArea *>(control))
        receiver = area->viewport();
    QStringList texts;
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                texts << a->text();
        seen = true;
        menu->close();
    });
    poll.start();
    const QPoint at(4, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, receiver->mapToGlobal(at));
    QApplication::sendEvent(receiver, &event);
    // A hang guard only.
    for (int i = 0; i < 2000 && !seen; ++i)
        QTest::qWait(10);
    return texts;
}

}  // namespace

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void catalogueComesFromTheProgramThenFromQt();
    void fileDialogs_data();
    void fileDialogs();
    void replacingAFileIsAskedInChinese();
    void fileDialogsStillChooseFiles();
    void printDialog();
    void entryFieldMenus_data();
    void entryFieldMenus();
    void calendarPopupAndDates();
};

void TestLanguage::initTestCase()
{
    // As main() does, before any window.
    QCOMPARE(applyChineseLanguage(), EmbeddedCatalogueFolder + "/qtbase_zh_CN.qm");
    QCOMPARE(applyChineseLanguage(), EmbeddedCatalogueFolder + "/qtbase_zh_CN.qm");  // once only
    QVERIFY(QLocale::system().language() != QLocale::Chinese);                       // the tests run under C.UTF-8
    QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
}

void TestLanguage::catalogueComesFromTheProgramThenFromQt()
{
    // The embedded catalogue is Qt's own, whole: it carries the words of the
    // dialogs itself rather than pointing to other files.
    QTranslator embedded;
    QCOMPARE(loadQtCatalogue(embedded, qtCatalogueFolders()), EmbeddedCatalogueFolder + "/qtbase_zh_CN.qm");
    QVERIFY(hasHan(embedded.translate("QFileDialog", "Look in:")));
    QCOMPARE(embedded.language(), QString("zh_CN"));

    // Without it, the copy in the next folder (Qt's installed one); without
    // either, none.
    QTranslator installed;
    QTemporaryDir qtFolder;
    QVERIFY(QFile::copy(EmbeddedCatalogueFolder + "/qtbase_zh_CN.qm", qtFolder.filePath("qtbase_zh_CN.qm")));
    QCOMPARE(loadQtCatalogue(installed, {":/no-such-folder", qtFolder.path()}), qtFolder.filePath("qtbase_zh_CN.qm"));
    QTranslator none;
    QCOMPARE(loadQtCatalogue(none, {":/no-such-folder", QString()}), QString());
    QVERIFY(none.isEmpty());
}

void TestLanguage::fileDialogs_data()
{
    // clang-format off
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("acceptButton");
    QTest::newRow("open") << "open" << "打开";
    QTest::newRow("save") << "save" << "保存";
    QTest::newRow("save PDF") << "pdf" << "保存";
    // clang-format on
}

void TestLanguage::fileDialogs()
{
    QFETCH(QString, kind);
    QFETCH(QString, acceptButton);
    QTemporaryDir dir;
    QFile file(dir.filePath("甲.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(120, 'x')) == 120);
    file.close();
    QVERIFY(QDir(dir.path()).mkdir("乙"));
    QStringList texts, buttons, headings, cells;
    bool native = true;
    onNextModal([&](QDialog *d) {
        auto *dialog = qobject_cast<QFileDialog *>(d);
        QVERIFY(dialog);
        native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
        texts = textsIn(dialog);
        for (QAbstractButton *b : dialog->findChild<QDialogButtonBox *>("buttonBox")->buttons())
            buttons << shown(b->text());
        // The detail view's headings and rows: the file and the folder
        // (the list is filled in the background).
        auto *view = dialog->findChild<QTreeView *>("treeView");
        const QAbstractItemModel *model = view->model();
        for (int column = 0; column < model->columnCount(); ++column)
            headings << model->headerData(column, Qt::Horizontal).toString();
        for (int i = 0; i < 2000 && model->rowCount(view->rootIndex()) < (kind == "pdf" ? 1 : 2); ++i)
            QTest::qWait(10);
        for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
            QStringList line;
            for (int column = 0; column < model->columnCount(); ++column)
                line << model->index(row, column, view->rootIndex()).data().toString();
            cells << line.join(" | ");
        }
        cells.sort();
        dialog->reject();
    });
    Prompts &prompts = desktopPrompts();
    const QString chosen = kind == "open"   ? prompts.openFileName(nullptr, dir.path())
                           : kind == "save" ? prompts.saveFileName(nullptr, "另存为", dir.path(), "乙.xml")
                                            : prompts.savePdfFileName(nullptr, dir.path(), "乙.pdf");
    QVERIFY(chosen.isEmpty());
    QVERIFY2(!native, "a native dialog would follow the desktop's language");
    QVERIFY2(texts.size() >= 15, qPrintable(texts.join(" | ")));
    QVERIFY2(english(texts).isEmpty(), qPrintable(english(texts).join(" | ")));
    QVERIFY2(buttons.filter(QRegularExpression("^" + acceptButton)).size() == 1, qPrintable(buttons.join(" | ")));
    QVERIFY(buttons.contains("取消"));
    QCOMPARE(headings.size(), 4);  // name, size, type, date
    QVERIFY2(english(headings).isEmpty(), qPrintable(headings.join(" | ")));

    // A PDF dialog lists the folder only; the others the XML file too.
    const QString modified = QFileInfo(dir.filePath("乙")).lastModified().toString("yyyy-MM-dd HH:mm");
    QStringList expected{"乙 |  | 文件夹 | " + modified};
    if (kind != "pdf")
        expected << "甲.xml | 120 字节 | XML 文档 | " + QFileInfo(file).lastModified().toString("yyyy-MM-dd HH:mm");
    expected.sort();
    QCOMPARE(cells, expected);
}

void TestLanguage::replacingAFileIsAskedInChinese()
{
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath("甲.xml")).open(QIODevice::WriteOnly));
    QStringList texts;
    onNextModal([&](QDialog *fileDialog) {
        onNextModal(
            [&](QDialog *box) {
                QVERIFY(qobject_cast<QMessageBox *>(box));
                texts = textsIn(box) << qobject_cast<QMessageBox *>(box)->text();
                qobject_cast<QMessageBox *>(box)->button(QMessageBox::No)->click();
            },
            fileDialog);
        fileDialog->accept();  // the proposed name exists
        fileDialog->reject();
    });
    QVERIFY(desktopPrompts().saveFileName(nullptr, "另存为", dir.path(), "甲.xml").isEmpty());
    QVERIFY2(texts.size() >= 3, qPrintable(texts.join(" | ")));
    QVERIFY2(english(texts).isEmpty(), qPrintable(english(texts).join(" | ")));
}

void TestLanguage::fileDialogsStillChooseFiles()
{
    // The file list's formats change what is shown, not what is chosen.
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath("甲.xml")).open(QIODevice::WriteOnly));
    onNextModal([&](QDialog *d) {
        auto *view = d->findChild<QTreeView *>("treeView");
        for (int i = 0; i < 2000 && view->model()->rowCount(view->rootIndex()) < 1; ++i)
            QTest::qWait(10);
        view->setCurrentIndex(view->model()->index(0, 0, view->rootIndex()));
        d->accept();
    });
    QCOMPARE(QDir::fromNativeSeparators(desktopPrompts().openFileName(nullptr, dir.path())), dir.filePath("甲.xml"));
    onNextModal([&](QDialog *d) { d->accept(); });  // the proposed name
    QCOMPARE(QDir::fromNativeSeparators(desktopPrompts().saveFileName(nullptr, "另存为", dir.path(), "乙")),
             dir.filePath("乙.xml"));
}

void TestLanguage::printDialog()
{
#ifdef _WIN32
    QSKIP("Windows shows its own print dialog, in the language of the system");
#endif
    FormFixture f;
    f.form->show();
    // 打印 shows the preview, its 打印... the print dialog, and that its
    // printer's properties and a chooser for the output file.
    QStringList texts, properties, chooser;
    bool chooserFormats = false;
    QString title;
    onNextModal([&](QDialog *preview) {
        QVERIFY(qobject_cast<PrintPreview *>(preview));
        onNextModal(
            [&](QDialog *dialog) {
                title = dialog->windowTitle();
                // Print to a file, Qt's own printer: a real one would show
                // its driver's words. Printers' names are no words to translate.
                auto *printers = dialog->findChild<QComboBox *>("printers");
                printers->setCurrentIndex(printers->count() - 1);
                texts = textsIn(dialog);
                for (const QString &name : QPrinterInfo::availablePrinterNames())
                    texts.removeAll(name);
                onNextModal(
                    [&](QDialog *d) {
                        properties = textsIn(d);
                        d->reject();
                    },
                    dialog);
                dialog->findChild<QPushButton *>("properties")->click();
                onNextModal(
                    [&](QDialog *d) {
                        chooser = textsIn(d);
                        chooserFormats = qobject_cast<QFileDialog *>(d)->proxyModel() != nullptr;
                        d->reject();
                    },
                    dialog);
                dialog->findChild<QToolButton *>("fileBrowser")->click();
                dialog->reject();
            },
            preview);
        preview->findChild<QPushButton *>("PreviewPrint")->click();
        preview->reject();
    });
    QTest::mouseClick(f.get("Label46"), Qt::LeftButton);
    QCOMPARE(title, QString("打印初始注册申报表"));
    QVERIFY2(texts.size() >= 20, qPrintable(texts.join(" | ")));
    QVERIFY2(english(texts).isEmpty(), qPrintable(english(texts).join(" | ")));
    QVERIFY2(properties.size() >= 10, qPrintable(properties.join(" | ")));
    QVERIFY2(english(properties).isEmpty(), qPrintable(english(properties).join(" | ")));
    QVERIFY2(chooser.size() >= 15, qPrintable(chooser.join(" | ")));
    QVERIFY2(english(chooser).isEmpty(), qPrintable(english(chooser).join(" | ")));
    QVERIFY2(chooserFormats, "Qt's own file dialogs list sizes and dates as the program's do");
    QVERIFY(f.prompts.log.isEmpty());
}

void TestLanguage::entryFieldMenus_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("actions");
    // Undo, redo, cut, copy, paste, delete, select all; a date adds step up
    // and step down.
    QTest::newRow("text") << "W_name" << 7;
    QTest::newRow("digits") << "W_tel" << 7;
    QTest::newRow("text in a list") << "W_wkpart" << 7;
    QTest::newRow("memo") << "W_wkmemo" << 7;
    QTest::newRow("date") << "W_work" << 9;
    QTest::newRow("date in a list") << "W_wktms" << 9;
    // clang-format on
}

void TestLanguage::entryFieldMenus()
{
    QFETCH(QString, name);
    QFETCH(int, actions);
    FormFixture f;
    f.form->show();
    QWidget *control = f.get(name);
    control->setFocus();
    const QStringList texts = contextMenuOf(control);
    QCOMPARE(texts.size(), actions);
    QVERIFY2(english(texts).isEmpty(), qPrintable(english(texts).join(" | ")));
    QVERIFY2(texts.filter(QRegularExpression("^复制")).size() == 1, qPrintable(texts.join(" | ")));
}

void TestLanguage::calendarPopupAndDates()
{
    const QLocale locale;
    QCOMPARE(locale.language(), QLocale::Chinese);
    QCOMPARE(locale.script(), QLocale::SimplifiedHanScript);
    QCOMPARE(locale.territory(), QLocale::China);

    FormFixture f;
    f.showActive();
    auto *date = f.get<QDateEdit>("W_work");
    f.set("W_work", "2026-03-05");
    QCOMPARE(date->text(), QString("2026-03-05"));  // the pickers keep their format
    // The arrow at the right end opens the calendar.
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 6, date->height() / 2));
    QCalendarWidget *calendar = date->calendarWidget();
    QTRY_VERIFY(calendar->isVisible());

    QCOMPARE(calendar->locale().language(), QLocale::Chinese);
    QCOMPARE(calendar->firstDayOfWeek(), Qt::Sunday);  // as calendars in China are printed
    auto *month = calendar->findChild<QToolButton *>("qt_calendar_monthbutton");
    QVERIFY(month);
    QCOMPARE(month->text(), QString("三月"));
    QStringList texts = textsIn(calendar);
    // The heading row of the days.
    const QAbstractItemModel *days = calendar->findChild<QTableView *>("qt_calendar_calendarview")->model();
    QStringList heading;
    for (int column = 0; column < days->columnCount(); ++column)
        heading << days->data(days->index(0, column)).toString();
    heading.removeAll(QString());
    QCOMPARE(heading, QStringList({"周日", "周一", "周二", "周三", "周四", "周五", "周六"}));
    texts << heading;
    QVERIFY2(texts.size() >= 12 + 7, qPrintable(texts.join(" | ")));  // the months' menu, the days
    QVERIFY2(english(texts).isEmpty(), qPrintable(english(texts).join(" | ")));

    // Picking a day still writes yyyy-MM-dd.
    calendar->setSelectedDate(QDate(2026, 3, 17));
    emit calendar->activated(QDate(2026, 3, 17));
    QCOMPARE(date->text(), QString("2026-03-17"));
    QTRY_VERIFY(!calendar->isVisible());
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
