// A declaration with every field filled, made through the window's own
// controls and buttons. Every text of a list entry carries tags such as
// "wk07d012" (list, entry, field letter, number), so that a printed copy can
// be checked tag by tag.
#pragma once

#include "formfixture.h"

#include "document/layout.h"

#include <QMap>
#include <QRegularExpression>

namespace full {

inline const char *listPrefix[varnok::ListCount] = {"wk", "yj", "jy", "xy"};

inline QString tag(int list, int entry, char field, int n)
{
    return QStringLiteral("%1%2%3%4")
        .arg(QLatin1String(listPrefix[list]))
        .arg(entry, 2, 10, QLatin1Char('0'))
        .arg(QLatin1Char(field))
        .arg(n, 3, 10, QLatin1Char('0'));
}

// Words and count tags, as a memo holds them.
inline QString tags(int list, int entry, char field, int count, const QString &words = {})
{
    QStringList out;
    if (!words.isEmpty())
        out << words;
    for (int n = 0; n < count; ++n)
        out << tag(list, entry, field, n);
    return out.join(u' ');
}

inline const QRegularExpression &tagPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("(?<![A-Za-z0-9])(?:wk|yj|jy|xy)\\d{2}[a-z]\\d{3}(?![A-Za-z0-9])"));
    return pattern;
}

// Entry n of a list with memos of memoTags tags.
inline QStringList entry(varnok::ListId list, int n, int memoTags)
{
    const QString year = QString::number(1990 + n);
    switch (list) {
    case varnok::WorkHistory:
        return {tags(list, n, 'a', 1, QStringLiteral("南京市政设计研究院")), year + "-01-01", year + "-12-31",
                tags(list, n, 'd', memoTags, QStringLiteral("结构工程师"))};
    case varnok::Achievements:
        return {tags(list, n, 'a', 1, QStringLiteral("滨江大道")), year + "-01-01", year + "-12-31",
                tags(list, n, 'd', memoTags, QStringLiteral("专业负责人")),
                tags(list, n, 'e', memoTags, QStringLiteral("按期建成"))};
    case varnok::ContinuingEducation:
        return {tags(list, n, 'a', 1, QStringLiteral("建设教育协会")), n % 2 ? "选修课" : "必修课", year + "-03-04",
                QString::number(10 + n), tags(list, n, 'e', memoTags, QStringLiteral("法律法规"))};
    case varnok::CreditRecord:
        return {year + "-05-06", tags(list, n, 'b', 1, QStringLiteral("住房和城乡建设厅")), n % 2 ? "奖励" : "处罚",
                tags(list, n, 'd', 1, QStringLiteral("优秀设计")),
                tags(list, n, 'e', memoTags, QStringLiteral("通报"))};
    default:
        return {};
    }
}

// The first tab complete, with a valid identity number.
inline void fillBasic(FormFixture &f, const QString &name = QStringLiteral("林志远"))
{
    f.set("W_name", name);
    f.typeIdNumber("320106198604120535");
    f.set("W_nation", QStringLiteral("回族"));
    f.set("W_tel", "13951802467");
    f.set("W_work", "2008-07-01");
    f.set("W_zyzw", QStringLiteral("高级工程师"));
    f.set("W_gznx", "18");
    f.set("W_rzsj", "2014-09-01");
    f.set("W_zgqd", QStringLiteral("考核"));
    f.set("W_qfrq", "2015-10-20");
    f.set("W_zgid", "JZ32-2025-004127");
    f.set("W_school", QStringLiteral("东南大学"));
    f.set("W_xueli", QStringLiteral("大学本科毕业"));
    f.set("W_xuewei", QStringLiteral("学士"));
    f.set("W_bysj", "2008-06-30");
    f.set("W_zhy", QStringLiteral("土木工程"));
}

// Add entries through the list's add button; every one must be taken.
inline void addEntries(FormFixture &f, varnok::ListId list, int count, int memoTags)
{
    ListControls rl = f.list(list);
    for (int n = 0; n < count; ++n) {
        const QStringList values = entry(list, n, memoTags);
        for (int i = 0; i < values.size(); ++i)
            varnok::setControlValue(rl.field(i), values[i]);
        rl.addButton()->click();
    }
    QCOMPARE(rl.entryCount(), count);
}

}  // namespace full
