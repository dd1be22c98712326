// Checks of the help: the compiled resources/help.chm that the program
// embeds, and its sources in resources/help/ (GB2312 pages, contents, index,
// and the dictionary page generated from resources/sysdic.xml).
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

#ifndef VARNOK_SOURCE_DIR
#error "VARNOK_SOURCE_DIR must be defined as the path of the source tree"
#endif

namespace {

const QString HelpDir = QStringLiteral("resources/help");

QString sourcePath(const QString &relative) { return QDir(QStringLiteral(VARNOK_SOURCE_DIR)).filePath(relative); }

bool readSource(const QString &relative, QByteArray *bytes)
{
    QFile file(sourcePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

quint32 le32(const QByteArray &b, int at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint64 le64(const QByteArray &b, int at) { return quint64(le32(b, at)) | quint64(le32(b, at + 4)) << 32; }

// The help sources by file name, filtered by suffix.
QStringList helpFiles(const QStringList &patterns)
{
    return QDir(sourcePath(HelpDir)).entryList(patterns, QDir::Files, QDir::Name);
}

// "Local" targets of a contents or index file, without "#anchor".
QStringList sitemapTargets(const QString &text)
{
    static const QRegularExpression local(QStringLiteral(R"re(<param\s+name\s*=\s*"Local"\s+value\s*=\s*"([^"]*)")re"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList targets;
    for (auto it = local.globalMatch(text); it.hasNext();)
        targets << it.next().captured(1).section(QLatin1Char('#'), 0, 0);
    return targets;
}

QString unescapeHtml(QString s)
{
    static const QRegularExpression charRef(QStringLiteral("&#([xX]?)([0-9a-fA-F]+);"));
    QString out;
    qsizetype last = 0;
    for (auto it = charRef.globalMatch(s); it.hasNext();) {
        const auto m = it.next();
        out += s.mid(last, m.capturedStart() - last);
        const bool hex = !m.captured(1).isEmpty();
        const char32_t ucs = m.captured(2).toUInt(nullptr, hex ? 16 : 10);
        out += QString::fromUcs4(&ucs, 1);
        last = m.capturedEnd();
    }
    out += s.mid(last);
    out.replace(QLatin1String("&lt;"), QLatin1String("<"));
    out.replace(QLatin1String("&gt;"), QLatin1String(">"));
    out.replace(QLatin1String("&quot;"), QLatin1String("\""));
    out.replace(QLatin1String("&#39;"), QLatin1String("'"));
    out.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return out;
}

// Cell or heading content as plain text: tags dropped, entities resolved.
QString plainText(const QString &html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return unescapeHtml(QString(html).remove(tag)).trimmed();
}

// One dictionary type: its name and "code=text" per item, in order.
struct TypeCodes {
    QString name;
    QStringList items;
};

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT

private:
    QStringDecoder gb2312() const { return QStringDecoder("GB2312"); }
    bool decodeHelpFile(const QString &name, QString *text, QString *why) const;
    void addSitemapRows();

private slots:
    void chmHeader();
    void chmHoldsSource_data();
    void chmHoldsSource();
    void sourcesAreGb2312_data();
    void sourcesAreGb2312();
    void sitemapTargetsExist_data() { addSitemapRows(); }
    void sitemapTargetsExist();
    void sitemapCoversEveryPage_data() { addSitemapRows(); }
    void sitemapCoversEveryPage();
    void dictionaryPageMatchesSysdic();
};

bool TestHelp::decodeHelpFile(const QString &name, QString *text, QString *why) const
{
    QByteArray bytes;
    if (!readSource(HelpDir + QLatin1Char('/') + name, &bytes)) {
        *why = name + QStringLiteral(" cannot be read");
        return false;
    }
    QStringDecoder decoder = gb2312();
    *text = QString(decoder(bytes));
    if (decoder.hasError()) {
        *why = name + QStringLiteral(" is not valid GB2312 (saved as UTF-8?)");
        return false;
    }
    return true;
}

void TestHelp::chmHeader()
{
    QByteArray chm;
    QVERIFY2(readSource(QStringLiteral("resources/help.chm"), &chm),
             "resources/help.chm is missing; run scripts/build-help.sh");
    QVERIFY(chm.size() >= 0x60 + 4);
    QCOMPARE(chm.left(4), QByteArray("ITSF"));
    QCOMPARE(le32(chm, 4), 3u);         // version
    QCOMPARE(le32(chm, 8), 0x60u);      // header length
    QCOMPARE(le32(chm, 0x14), 0x804u);  // Chinese (PRC): the viewer's code page 936

    // Header sections lie inside the file; the second is the directory ("ITSP").
    const quint64 size = quint64(chm.size());
    const quint64 sect0 = le64(chm, 0x38), sect0Len = le64(chm, 0x40);
    const quint64 sect1 = le64(chm, 0x48), sect1Len = le64(chm, 0x50);
    QVERIFY(sect0 >= 0x60 && sect0 + sect0Len <= size);
    QVERIFY(sect1 >= sect0 + sect0Len && sect1 + sect1Len <= size);
    QVERIFY(le64(chm, 0x58) <= size);  // content offset
    QCOMPARE(chm.mid(int(sect1), 4), QByteArray("ITSP"));
}

void TestHelp::chmHoldsSource_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = helpFiles(
        {QStringLiteral("*.html"), QStringLiteral("*.css"), QStringLiteral("*.hhc"), QStringLiteral("*.hhk")});
    QVERIFY(!files.isEmpty());
    for (const QString &f : files)
        QTest::newRow(qPrintable(f)) << f;
}

// A page added or renamed without rebuilding the help is missing from the
// compiled file's directory, where names are stored uncompressed.
void TestHelp::chmHoldsSource()
{
    QFETCH(QString, file);
    QByteArray chm;
    QVERIFY(readSource(QStringLiteral("resources/help.chm"), &chm));
    QVERIFY2(chm.contains('/' + file.toLatin1()),
             qPrintable(file + QStringLiteral(" is not in resources/help.chm; run scripts/build-help.sh")));
}

void TestHelp::sourcesAreGb2312_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &f : helpFiles(
             {QStringLiteral("*.html"), QStringLiteral("*.hhc"), QStringLiteral("*.hhk"), QStringLiteral("*.hhp")}))
        QTest::newRow(qPrintable(f)) << f;
}

void TestHelp::sourcesAreGb2312()
{
    QFETCH(QString, file);
    if (!gb2312().isValid())
        QSKIP("this Qt has no GB2312 decoder");
    QString text, why;
    QVERIFY2(decodeHelpFile(file, &text, &why), qPrintable(why));
    if (file.endsWith(QLatin1String(".hhp"))) {
        QVERIFY2(text.contains(QLatin1String("Language=0x804")), "the project must be Chinese (PRC)");
    } else {
        QVERIFY2(text.contains(QLatin1String("charset=gb2312"), Qt::CaseInsensitive),
                 qPrintable(file + QStringLiteral(" does not declare charset=gb2312")));
    }
    // The text really is Chinese, i.e. not GB2312 bytes of some other text.
    if (file.endsWith(QLatin1String(".html")))
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))));
}

void TestHelp::addSitemapRows()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("contents") << QStringLiteral("toc.hhc");
    QTest::newRow("index") << QStringLiteral("index.hhk");
}

void TestHelp::sitemapTargetsExist()
{
    QFETCH(QString, file);
    QByteArray bytes;
    QVERIFY(readSource(HelpDir + QLatin1Char('/') + file, &bytes));
    const QStringList targets = sitemapTargets(QString::fromLatin1(bytes));
    QVERIFY2(!targets.isEmpty(), qPrintable(file + QStringLiteral(" names no pages")));
    const QDir dir(sourcePath(HelpDir));
    for (const QString &t : targets) {
        QVERIFY2(!t.isEmpty() && !t.contains(QLatin1Char('/')) && !t.contains(QLatin1Char('\\')),
                 qPrintable(file + QStringLiteral(" names \"") + t + QStringLiteral("\"")));
        QVERIFY2(dir.exists(t), qPrintable(file + QStringLiteral(" names missing page ") + t));
    }
}

void TestHelp::sitemapCoversEveryPage()
{
    QFETCH(QString, file);
    QByteArray bytes;
    QVERIFY(readSource(HelpDir + QLatin1Char('/') + file, &bytes));
    const QStringList targets = sitemapTargets(QString::fromLatin1(bytes));
    const QStringList pages = helpFiles({QStringLiteral("*.html")});
    QVERIFY(!pages.isEmpty());
    for (const QString &page : pages)
        QVERIFY2(targets.contains(page), qPrintable(file + QStringLiteral(" does not lead to ") + page));
}

void TestHelp::dictionaryPageMatchesSysdic()
{
    if (!gb2312().isValid())
        QSKIP("this Qt has no GB2312 decoder");

    // What the program stores.
    QByteArray xml;
    QVERIFY(readSource(QStringLiteral("resources/sysdic.xml"), &xml));
    QList<TypeCodes> expected;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("DictType")) {
            expected.append({reader.attributes().value(QLatin1String("name")).toString().trimmed(), {}});
        } else if (reader.name() == QLatin1String("DictItem")) {
            QVERIFY(!expected.isEmpty());
            const QString code = reader.attributes().value(QLatin1String("value")).toString().trimmed();
            expected.last().items << code + QLatin1Char('=') + reader.readElementText().trimmed();
        }
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QVERIFY(!expected.isEmpty());

    // What the help shows: an <h2> per type, then rows of code and text cells.
    QString page, why;
    QVERIFY2(decodeHelpFile(QStringLiteral("dictionary.html"), &page, &why), qPrintable(why));
    static const QRegularExpression part(
        QStringLiteral(R"re(<h2[^>]*>(.*?)</h2>|<tr[^>]*>\s*<td[^>]*>(.*?)</td>\s*<td[^>]*>(.*?)</td>\s*</tr>)re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QList<TypeCodes> shown;
    for (auto it = part.globalMatch(page); it.hasNext();) {
        const auto m = it.next();
        if (m.capturedStart(1) >= 0) {
            shown.append({plainText(m.captured(1)), {}});
        } else {
            QVERIFY2(!shown.isEmpty(), "a code row before the first type heading");
            shown.last().items << plainText(m.captured(2)) + QLatin1Char('=') + plainText(m.captured(3));
        }
    }

    QStringList expectedNames, shownNames;
    for (const auto &t : expected)
        expectedNames << t.name;
    for (const auto &t : shown)
        shownNames << t.name;
    QCOMPARE(shownNames, expectedNames);
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (shown[i].items != expected[i].items)
            qWarning() << "type" << expected[i].name << "differs; run scripts/build-help.sh";
        QCOMPARE(shown[i].items, expected[i].items);
    }
}

QTEST_APPLESS_MAIN(TestHelp)
#include "tst_help.moc"
