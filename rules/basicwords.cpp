#include "basicwords.h"

namespace varnok {

const std::vector<CaptionedGroup> &basicGroups()
{
    auto f = [](const char *control, const char *words) {
        return CaptionedControl{QString::fromLatin1(control), QString::fromUtf8(words)};
    };
    static const std::vector<CaptionedGroup> groups{
        {QStringLiteral("基本信息"),
         {f("W_name", "姓名"), f("W_id", "身份证类型"), f("W_cer", "证件号码"), f("W_birth", "出生日期"),
          f("W_sex", "性别"), f("W_nation", "民族"), f("W_tel", "个人联系电话")}},
        {QStringLiteral("其他信息"),
         {f("W_work", "参加工作时间"), f("W_zyzw", "现任专业技术职务"), f("W_gznx", "工作年限"),
          f("W_rzsj", "任职时间"), f("W_zgqd", "资格取得方式"), f("W_qfrq", "资格证书签发日期"),
          f("W_zgid", "资格证书编号")}},
        {QStringLiteral("学历信息"),
         {f("W_school", "毕业院校"), f("W_xueli", "学历"), f("W_xuewei", "学位"), f("W_bysj", "毕业时间"),
          f("W_zhy", "所学专业")}},
    };
    return groups;
}

QString basicWords(const QString &control)
{
    for (const CaptionedGroup &group : basicGroups())
        for (const CaptionedControl &field : group.fields)
            if (field.control == control)
                return field.words;
    return {};
}

}  // namespace varnok
