#include "basicfields.h"

#include "dictionary/dictionary.h"

#include <algorithm>

namespace varnok {

const QStringList &basicGroupCaptions()
{
    static const QStringList captions{QStringLiteral("基本信息"), QStringLiteral("其他信息"),
                                      QStringLiteral("学历信息")};
    return captions;
}

const std::vector<BasicField> &basicFields()
{
    using K = ValueKind;
    auto f = [](const char *control, const char *words, int group, const char *element, int written, K kind,
                const QString &dictType = {}, int items = 0, const char *initial = "", int maskPositions = 0) {
        return BasicField{QString::fromLatin1(control),
                          QString::fromUtf8(words),
                          group,
                          QString::fromUtf8(element),
                          written,
                          kind,
                          dictType,
                          items,
                          QString::fromUtf8(initial),
                          maskPositions};
    };
    static const std::vector<BasicField> fields{
        f("W_name", "姓名", 0, "姓名", 0, K::Text),
        f("W_id", "身份证类型", 0, "身份证件类型", 4, K::Code, dict::IdType, 4, "身份证"),
        f("W_cer", "证件号码", 0, "证件号码", 5, K::Text),
        f("W_birth", "出生日期", 0, "出生日期", 2, K::Date),
        f("W_sex", "性别", 0, "性别", 1, K::Code, dict::Sex, 2),
        f("W_nation", "民族", 0, "民族", 3, K::Code, dict::Nation, 56),
        f("W_tel", "个人联系电话", 0, "个人联系电话", 6, K::Mask, {}, 0, "", 11),
        f("W_work", "参加工作时间", 1, "参加工作时间", 7, K::Date),
        f("W_zyzw", "现任专业技术职务", 1, "现任专业技术职务", 8, K::Code, dict::Title, 5),
        f("W_gznx", "工作年限", 1, "工作年限", 10, K::Mask, {}, 0, "", 2),
        f("W_rzsj", "任职时间", 1, "任职时间", 11, K::Date),
        f("W_zgqd", "资格取得方式", 1, "资格取得方式", 12, K::Code, dict::Qualification, 2, "考试"),
        f("W_qfrq", "资格证书签发日期", 1, "资格证书签发日期", 9, K::Date),
        f("W_zgid", "资格证书编号", 1, "资格证书编号", 13, K::Text),
        f("W_school", "毕业院校", 2, "毕业院校", 14, K::Text),
        f("W_xueli", "学历", 2, "学历", 15, K::Code, dict::Education, 7),
        f("W_xuewei", "学位", 2, "学位", 16, K::Code, dict::Degree, 4),
        f("W_bysj", "毕业时间", 2, "毕业时间", 17, K::Date),
        f("W_zhy", "所学专业", 2, "所学专业", 18, K::Text),
    };
    return fields;
}

const std::vector<const BasicField *> &writtenBasicFields()
{
    static const std::vector<const BasicField *> written = [] {
        std::vector<const BasicField *> out;
        for (const BasicField &field : basicFields())
            out.push_back(&field);
        std::sort(out.begin(), out.end(), [](auto *a, auto *b) { return a->written < b->written; });
        return out;
    }();
    return written;
}

const BasicField *basicField(const QString &control)
{
    for (const BasicField &field : basicFields())
        if (field.control == control)
            return &field;
    return nullptr;
}

QString basicWords(const QString &control)
{
    const BasicField *field = basicField(control);
    return field ? field->words : QString();
}

}  // namespace varnok
