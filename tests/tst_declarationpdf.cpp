// "打印": the preview, the PDF copy read back with pdftotext (poppler-utils).
#include "fulldeclaration.h"

#include "document/basicfields.h"
#include "report/declarationreport.h"
#include "report/printpreview.h"
#include "report/reportpages.h"
#include "rules/idnumber.h"

#include <QPrintPreviewWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

using namespace varnok;

namespace {

struct PdfText {
    QStringList pages;  // pdftotext -layout, page by page
    QString info;       // pdfinfo
};

// The PDF's text as pdftotext lays it out, and pdfinfo's report.
// Poppler's tools are the build machine's; a Windows build under Wine has
// no way to read their output.
#ifdef _WIN32
#define SKIP_WITHOUT_POPPLER() QSKIP("reads the PDF back with poppler's pdftotext and pdfinfo, Linux programs")
#else
#define SKIP_WITHOUT_POPPLER()
#endif

PdfText readPdf(const QString &pdf)
{
    PdfText out;
    for (const char *tool : {"pdftotext", "pdfinfo"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            qFatal("%s is missing: install poppler-utils (scripts/install-deps.sh)", tool);
    QProcess text;
    text.start("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
    text.waitForFinished(120000);
    out.pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f');
    if (!out.pages.isEmpty() && out.pages.last().trimmed().isEmpty())
        out.pages.removeLast();
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(60000);
    out.info = QString::fromUtf8(info.readAllStandardOutput());
    return out;
}

int infoPages(const QString &info)
{
    static const QRegularExpression pages("^Pages:\\s+(\\d+)$", QRegularExpression::MultilineOption);
    return pages.match(info).captured(1).toInt();
}

QRegularExpression footer(int page, int count)
{
    return QRegularExpression(QStringLiteral("第\\s*%1\\s*页\\s*共\\s*%2\\s*页").arg(page).arg(count));
}

// A list's heading row as one line of the laid-out text.
QRegularExpression headingRow(const RecordListDef &def)
{
    QStringList headers;
    for (const ListField &f : def.fields)
        headers << QRegularExpression::escape(f.header);
    return QRegularExpression(headers.join(QStringLiteral("[ \\t]+")));
}

// Open the preview with "打印", export the PDF through the scripted dialog,
// and close it. The preview's page count is returned.
int exportThroughPreview(FormFixture &f, const QString &pdf)
{
    int previewPages = -1;
    f.prompts.files << pdf;
    QTimer::singleShot(0, [&] {
        auto *preview = qobject_cast<PrintPreview *>(QApplication::activeModalWidget());
        if (!preview)
            return;
        previewPages = preview->pageCount();
        preview->findChild<QPushButton *>("PreviewPdf")->click();
        preview->findChild<QPushButton *>("PreviewClose")->click();
    });
    f.form->Label46Click();
    return previewPages;
}

}  // namespace

class TestDeclarationPdf : public QObject {
    Q_OBJECT
private slots:
    void fullDeclarationPrintsEveryValueOnNumberedPages();
    void emptyWindowPrintsTheEmptyForm();
    void proposedPdfFile_data();
    void proposedPdfFile();
    void cancelledDialogWritesNothing();
};

void TestDeclarationPdf::fullDeclarationPrintsEveryValueOnNumberedPages()
{
    SKIP_WITHOUT_POPPLER();
    QTemporaryDir dir;
    FormFixture f;
    full::fillBasic(f);
    // A school name long enough to wrap in its cell, with tags of its own.
    const QString schoolTags = full::tags(0, 99, 's', 40).replace("wk", "sc");
    f.set("W_school", QStringLiteral("东南大学 ") + schoolTags);
    for (int l = 0; l < ListCount; ++l)
        full::addEntries(f, ListId(l), 30, 40);
    // One memo far longer than a page.
    f.list(WorkHistory).grid()->setCell(3, 5, full::tags(WorkHistory, 4, 'd', 900, QStringLiteral("结构工程师")));
    QVERIFY(!QTest::currentTestFailed());

    const QString pdf = dir.filePath("full.pdf");
    const int previewPages = exportThroughPreview(f, pdf);
    QCOMPARE(f.prompts.messages(), QStringList{"PDF文件已保存：" + pdf});
    const PdfText text = readPdf(pdf);
    const int count = text.pages.size();
    QVERIFY2(count > 4, qPrintable(QString::number(count)));
    QCOMPARE(infoPages(text.info), count);
    QCOMPARE(previewPages, count);
    QVERIFY2(text.info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)")),
             qPrintable(text.info));

    // Footer on every page; the title first, the signature last.
    for (int p = 0; p < count; ++p)
        QVERIFY2(text.pages[p].contains(footer(p + 1, count)), qPrintable(QString("page %1").arg(p + 1)));
    QVERIFY(text.pages.first().contains(ReportTitle));
    QVERIFY(text.pages.last().contains(SignatureCaption));
    QVERIFY(text.pages.last().contains(SignatureDateCaption));

    // Every basic value, as the window shows it.
    const QString all = text.pages.join(u'\n');
    for (const BasicField &field : basicFields()) {
        const QString value = f.value(field.control).trimmed();
        QVERIFY2(!value.isEmpty(), qPrintable(field.control));
        if (field.control != "W_school")
            QVERIFY2(all.contains(field.words) && all.contains(value), qPrintable(field.control + ": " + value));
    }

    // Every tag of every entry exactly once: nothing cut off at a page
    // break, nothing printed twice.
    QMap<QString, int> expected, found;
    for (int l = 0; l < ListCount; ++l)
        for (const QStringList &row : f.list(ListId(l)).rows())
            for (const QString &cell : row)
                for (const auto &m : full::tagPattern().globalMatch(cell))
                    expected[m.captured()] = 1;
    for (const auto &m : full::tagPattern().globalMatch(all))
        ++found[m.captured()];
    QStringList wrong;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        if (found.value(it.key()) != 1)
            wrong << QString("%1 printed %2 times").arg(it.key()).arg(found.value(it.key()));
    for (auto it = found.cbegin(); it != found.cend(); ++it)
        if (!expected.contains(it.key()))
            wrong << it.key() + " printed but not in the window";
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 20).join("; ")));
    QVERIFY(expected.size() > 30 * 4 * 40);
    for (const QString &t : schoolTags.split(u' '))
        QVERIFY2(all.contains(t), qPrintable(t));

    // Each list's heading row on every page that holds its entries.
    for (const RecordListDef &def : recordListDefs()) {
        const QRegularExpression entries(
            QStringLiteral("(?<![A-Za-z0-9])%1\\d{2}[a-z]\\d{3}").arg(full::listPrefix[def.id]));
        int spanned = 0;
        for (int p = 0; p < count; ++p) {
            if (!text.pages[p].contains(entries))
                continue;
            ++spanned;
            QVERIFY2(text.pages[p].contains(headingRow(def)),
                     qPrintable(QString("%1 without its heading row on page %2").arg(def.tabCaption).arg(p + 1)));
        }
        QVERIFY2(spanned > 1, qPrintable(def.tabCaption));
    }
}

void TestDeclarationPdf::emptyWindowPrintsTheEmptyForm()
{
    SKIP_WITHOUT_POPPLER();
    QTemporaryDir dir;
    FormFixture f;
    const QString pdf = dir.filePath("empty.pdf");
    exportThroughPreview(f, pdf);
    const PdfText text = readPdf(pdf);
    QCOMPARE(text.pages.size(), 1);
    QCOMPARE(infoPages(text.info), 1);
    const QString page = text.pages.first();
    QVERIFY(page.contains(footer(1, 1)));
    for (const QString &words : {ReportTitle, SignatureCaption, SignatureDateCaption})
        QVERIFY2(page.contains(words), qPrintable(words));
    for (const QString &caption : basicGroupCaptions())
        QVERIFY(page.contains(caption));
    for (const BasicField &field : basicFields())
        QVERIFY2(page.contains(field.words), qPrintable(field.words));
    // The type and the way of qualification the form starts with.
    QVERIFY(page.contains(ResidentIdCard) && page.contains("考试"));
    // No list without entries.
    for (const RecordListDef &def : recordListDefs())
        QVERIFY2(!page.contains(headingRow(def)), qPrintable(def.tabCaption));
}

void TestDeclarationPdf::proposedPdfFile_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bound");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("unbound: the program folder") << "王堃" << false << "王堃申报表.pdf";
    QTest::newRow("bound: the document's folder") << "王堃" << true << "王堃申报表.pdf";
    QTest::newRow("no name yet") << "" << false << "申报表.pdf";
    QTest::newRow("characters a file name cannot hold") << " 李/四:? " << false << "李_四__申报表.pdf";
    // clang-format on
}

void TestDeclarationPdf::proposedPdfFile()
{
    QFETCH(QString, name);
    QFETCH(bool, bound);
    QFETCH(QString, proposed);
    QTemporaryDir dir;
    FormFixture f;
    if (bound) {
        f.fillBasic(name);
        f.saveTo(QDir::toNativeSeparators(dir.filePath("saved.xml")));
        QVERIFY(QFile::exists(dir.filePath("saved.xml")));
    } else {
        f.set("W_name", name);
    }
    f.prompts.clear();
    exportThroughPreview(f, QString());  // the dialog is cancelled
    QCOMPARE(f.prompts.log.size(), 1);
    const FakePrompts::Entry dialog = f.prompts.log.first();
    QCOMPARE(dialog.kind, QString("savepdf"));
    QCOMPARE(dialog.proposed, proposed);
    QCOMPARE(dialog.folder,
             bound ? QDir::toNativeSeparators(dir.path()) + QDir::separator() : f.form->programDirectory());
}

void TestDeclarationPdf::cancelledDialogWritesNothing()
{
    QTemporaryDir dir;
    FormFixture f;
    f.fillBasic();
    QDir::setCurrent(dir.path());
    exportThroughPreview(f, QString());
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    QCOMPARE(f.prompts.messages(), QStringList());
    QDir::setCurrent(QCoreApplication::applicationDirPath());
}

QTEST_MAIN(TestDeclarationPdf)
#include "tst_declarationpdf.moc"
