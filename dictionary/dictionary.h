// The data dictionary of coded choices (sex, nationality, identity document
// type, ...): drop-down lists show its texts, the application document stores
// its codes. The embedded copy is parsed once per process.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace varnok {

struct DictItem {
    QString code;
    QString text;
};

struct DictType {
    QString name;
    std::vector<DictItem> items;
};

class Dictionary {
public:
    // Parse dictionary XML; throws XmlError when it is not a dictionary.
    static Dictionary parse(const QByteArray &bytes, const QString &sourceName);
    // The embedded dictionary (resource ":/SYSDIC"), parsed on first use.
    static const Dictionary &embedded();
    // Parse the embedded resource afresh (what a lookup without the cache costs).
    static Dictionary loadEmbedded();

    // Text at a 1-based position; empty for an unknown type or a position of
    // 0 or less; a position beyond the type's items throws ListIndexError.
    QString itemText(const QString &type, int position) const;
    // Code of the item with exactly this text; empty when none.
    QString codeOf(const QString &type, const QString &text) const;
    // Text of the item with exactly this code; empty when none.
    QString textOf(const QString &type, const QString &code) const;

    const std::vector<DictType> &types() const { return types_; }

private:
    std::vector<DictType> types_;
};

// The three lookups of the embedded dictionary.
QString DictItemText(const QString &type, int position);
QString DictCodeOf(const QString &type, const QString &text);
QString DictTextOf(const QString &type, const QString &code);

namespace dict {
// Dictionary type names used by the program.
inline const QString Sex = QStringLiteral("性别");
inline const QString Nation = QStringLiteral("民族");
inline const QString IdType = QStringLiteral("身份证件类型");
inline const QString Title = QStringLiteral("现任专业技术职务");
inline const QString Qualification = QStringLiteral("资格取得方式");
inline const QString Education = QStringLiteral("学历");
inline const QString Degree = QStringLiteral("学位");
inline const QString CourseType = QStringLiteral("课程类型");
inline const QString RewardPenalty = QStringLiteral("奖励或处罚");
}  // namespace dict

}  // namespace varnok
