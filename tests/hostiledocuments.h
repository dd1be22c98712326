// Hostile and broken documents, shared by the tests that check they are
// refused and the benchmarks that time the refusal. No Qt Test here: the
// benchmarks include it too.
#pragma once

#include "gbk.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

namespace hostile {

using ::gbk;

inline const QString Basic = QString::fromUtf8(
    "<初始注册><人员基本信息><姓名>李四</姓名><民族>1</民族><出生日期>1980-01-02</出生日期></人员基本信息></初始注册>"
    "<最高学历><毕业院校>某大学</毕业院校><毕业时间>2002-07-01</毕业时间></最高学历>");

// Every kind writeDocument knows, in the order the tests list them.
inline const QStringList Kinds{
    "bomb",           "external-entity",  "external-dtd",  "deep",    "huge-file", "huge-text", "huge-text-utf8",
    "wrong-encoding", "unknown-encoding", "invalid-bytes", "gbk",     "utf16-bom", "utf16",     "utf8-bom",
    "utf8",           "other-root",       "duplicated",    "missing", "garbage",
};

// Write a document of one of the kinds above to path; false when the file
// could not be written or the kind is unknown.
inline bool writeDocument(const QString &kind, const QString &path)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray decl = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n";
    const QString body = "<root>" + Basic + "</root>";
    if (kind == "bomb") {
        QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE root [\n<!ENTITY a \"aaaaaaaaaa\">\n";
        for (char c = 'b'; c <= 'l'; ++c)
            bomb += QByteArray("<!ENTITY ") + c + " \"" + QByteArray("&") + char(c - 1) + ";" + QByteArray("&") +
                    char(c - 1) + ";" + QByteArray("&") + char(c - 1) + ";" + QByteArray("&") + char(c - 1) + ";" +
                    "\">\n";
        out.write(bomb + "]>\n<root>&l;</root>\n");
    } else if (kind == "external-entity") {
        out.write("<?xml version=\"1.0\"?><!DOCTYPE root [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><root>&x;</root>");
    } else if (kind == "external-dtd") {
        out.write("<?xml version=\"1.0\"?><!DOCTYPE root SYSTEM \"file:///etc/passwd\"><root/>");
    } else if (kind == "deep") {
        out.write(QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000));
    } else if (kind == "huge-file") {
        out.write(decl + gbk(body));
        if (!out.resize(100 * 1024 * 1024))
            return false;
    } else if (kind == "huge-text") {
        out.write(decl + gbk("<root><初始注册><人员基本信息><姓名>"));
        out.write(QByteArray(20 * 1024 * 1024, 'x'));
        out.write(gbk("</姓名></人员基本信息></初始注册></root>"));
    } else if (kind == "huge-text-utf8") {
        out.write(QString("<root><初始注册><人员基本信息><姓名>").toUtf8());
        out.write(QByteArray(20 * 1024 * 1024, 'x'));
        out.write(QString("</姓名></人员基本信息></初始注册></root>").toUtf8());
    } else if (kind == "wrong-encoding") {
        out.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + gbk(body));
    } else if (kind == "unknown-encoding") {
        out.write("<?xml version=\"1.0\" encoding=\"X-NO-SUCH\"?>\r\n" + gbk(body));
    } else if (kind == "invalid-bytes") {
        out.write(decl + gbk("<root><初始注册><人员基本信息><姓名>") + "\xFF\xFF\x80" +
                  gbk("</姓名></人员基本信息></初始注册></root>"));
    } else if (kind == "gbk") {
        QByteArray bytes = decl + gbk(body);
        bytes.replace(gbk("李四"), gbk("李") + "\x88\xD2");
        out.write(bytes);
    } else if (kind == "utf16-bom" || kind == "utf16") {
        const QString text = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body;
        if (kind == "utf16-bom")
            out.write("\xFF\xFE", 2);
        out.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    } else if (kind == "utf8-bom" || kind == "utf8") {
        if (kind == "utf8-bom")
            out.write("\xEF\xBB\xBF");
        out.write(("<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body).toUtf8());
    } else if (kind == "other-root") {
        out.write(decl + gbk("<申报>" + Basic + "</申报>"));
    } else if (kind == "duplicated") {
        out.write(decl + gbk("<root>" + Basic + Basic +
                             "<工作简历><简历列表><工作单位>甲</工作单位></简历列表></工作简历>"
                             "<工作简历><简历列表><工作单位>乙</工作单位></简历列表></工作简历></root>"));
    } else if (kind == "missing") {
        out.write(decl + gbk("<root><工作简历/></root>"));
    } else if (kind == "garbage") {
        QByteArray junk(4096, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 7919) % 251);
        out.write(junk);
    } else {
        return false;
    }
    return out.error() == QFile::NoError;
}

// A real document of the program, some tens of kilobytes.
inline QByteArray realDocument()
{
    QString lists = "<工作简历>";
    for (int i = 0; i < 60; ++i)
        lists += QString("<简历列表 id=\"%1\"><工作单位>第%1单位</工作单位><起始时间>2001-01-01</起始时间>"
                         "<结束时间>2002-01-01</结束时间><备注>%2</备注></简历列表>")
                     .arg(i)
                     .arg(QString(200, u'注'));
    lists += "</工作简历>";
    return gbk("<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<root>" + Basic + lists + "</root>\r\n");
}

// The cuts of a real document the tests open: every kilobyte from nothing
// up to, not including, the whole.
inline QList<qsizetype> truncationSizes(const QByteArray &whole)
{
    QList<qsizetype> sizes;
    for (qsizetype size = 0; size < whole.size(); size += 1024)
        sizes.append(size);
    return sizes;
}

// Bytes the XML layer refuses before they build anything: markup that would
// expand, reach outside the file or nest without end.
struct Markup {
    QString name;  // as a test row
    QString slug;  // as a benchmark row
    QByteArray bytes;
};

inline QList<Markup> refusedMarkup()
{
    QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE root [\n<!ENTITY a \"aaaaaaaaaa\">\n";
    for (int i = 1; i < 12; ++i)
        bomb += QString("<!ENTITY %1 \"&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;\">\n")
                    .arg(QChar('a' + i))
                    .arg(QChar('a' + i - 1))
                    .toLatin1();
    bomb += "]>\n<root>&l;</root>\n";
    return {
        {"entity expansion bomb", "bomb", bomb},
        {"external entity to a local file", "external-entity",
         QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE root [<!ENTITY x SYSTEM \"file:///etc/hostname\">]>\n"
                    "<root>&x;</root>")},
        {"external DTD", "external-dtd", QByteArray("<!DOCTYPE root SYSTEM \"file:///etc/passwd\"><root/>")},
        {"deep nesting", "deep", QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000)},
    };
}

}  // namespace hostile
