// Declarations for the desk's tests, written by the program's own writer: a
// complete one, or one with the fields given changed.
#pragma once

#include "declaration/declarationfile.h"
#include "rules/idnumber.h"

#include <QtTest>

namespace desk {

using namespace varnok;

inline const QDate Today(2026, 12, 9);

inline QString withCheck(const QString &first17) { return first17 + idCheckCharacter(first17); }

// A complete declaration, but for what is changed.
inline void writeDeclaration(const QString &path, const FieldValues &changes = {}, bool workHistory = true)
{
    FieldValues v = clearedBasicValues(Today);
    const FieldValues complete{{"W_name", "林志远"},        {"W_cer", withCheck("32010619860412053")},
                               {"W_nation", "汉族"},        {"W_tel", "13812345678"},
                               {"W_zyzw", "工程师"},        {"W_gznx", "12"},
                               {"W_zgid", "ZG2012-0001"},   {"W_school", "东南大学"},
                               {"W_xueli", "大学本科毕业"}, {"W_xuewei", "学士"},
                               {"W_zhy", "土木工程"},       {"W_sex", "男"},
                               {"W_birth", "1986-04-12"}};
    for (auto it = complete.cbegin(); it != complete.cend(); ++it)
        v[it.key()] = it.value();
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        v[it.key()] = it.value();
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    DeclarationFile file([] { return QStringLiteral("00000000-0000-0000-0000-000000000000"); });
    Declaration declaration{v, {}};
    if (workHistory)
        declaration.lists[WorkHistory] = {{"南京市政设计研究院", "2008-07-01", "2020-12-31", "结构工程师"}};
    file.save(declaration, path);
}

}  // namespace desk
