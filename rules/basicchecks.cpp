#include "basicchecks.h"

#include "document/values.h"
#include "rules/idnumber.h"

namespace varnok {

std::vector<CheckFailure> basicSaveFailures(const FieldValues &v, const QDate &today)
{
    std::vector<CheckFailure> failures;
    auto fail = [&](const char *message, const char *focus, bool showTab = false) {
        failures.push_back({QString::fromUtf8(message), QString::fromLatin1(focus), showTab});
    };
    auto empty = [&](const char *control) { return v.value(QString::fromLatin1(control)).isEmpty(); };
    auto blank = [&](const char *control) { return isBlank(v.value(QString::fromLatin1(control))); };

    if (v.value(QStringLiteral("W_id")) == ResidentIdCard) {
        if (empty("W_name") || empty("W_cer"))
            fail("姓名或者证件号码必须填写！", "W_name", true);
    } else if (empty("W_cer") || v.value(QStringLiteral("W_birth")) == formatDate(today) || empty("W_sex")) {
        fail("非居民身份证人员证件号码、出生日期和性别都不能为空！", "W_cer");
    }
    if (blank("W_tel"))
        fail("填写个人联系电话会方便很多！", "W_tel");
    if (empty("W_nation"))
        fail("未填写民族信息！", "W_nation");
    if (empty("W_zyzw"))
        fail("必须填写相应级别的专业技术职务！", "W_zyzw");
    if (blank("W_gznx"))
        fail("请至少填写一位数值的工作年限！", "W_gznx");
    if (blank("W_zgid"))
        fail("资格证书编号为必填项！", "W_zgid");
    if (empty("W_school") || empty("W_xueli") || empty("W_xuewei") || empty("W_zhy"))
        fail("请准确填写您的最高学历信息中的所有项！", "W_school");
    return failures;
}

}  // namespace varnok
