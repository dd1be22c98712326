#include "listdefs.h"

#include "dictionary/dictionary.h"

namespace varnok {

QStringList RecordListDef::headers() const
{
    QStringList out;
    for (const ListField &f : fields)
        out << f.header;
    out << QStringLiteral("修改") << QStringLiteral("删除");
    return out;
}

int RecordListDef::fieldIndex(const QString &control) const
{
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].control == control)
            return int(i);
    return -1;
}

namespace {

const QString DateOrderMessage = QStringLiteral("起始时间和结束时间不能相同且起始时间不得大于结束时间！");

ListCheck blank(const char *field, const char *message)
{
    return {ListCheck::Blank, QString::fromLatin1(field), {}, QString::fromUtf8(message)};
}

ListCheck noSelection(const char *field, const char *message)
{
    return {ListCheck::NoSelection, QString::fromLatin1(field), {}, QString::fromUtf8(message)};
}

ListCheck dateOrder(const char *start, const char *end)
{
    return {ListCheck::DateOrder, QString::fromLatin1(start), QString::fromLatin1(end), DateOrderMessage};
}

ListField field(const char *control, FieldKind kind, const char *caption, const char *element, const char *header,
                const QString &dictType = {}, int items = 0, int maskPositions = 0)
{
    return {QString::fromLatin1(control),
            kind,
            QString::fromUtf8(caption),
            QString::fromUtf8(element),
            QString::fromUtf8(header),
            dictType,
            items,
            maskPositions};
}

QString latin(const char *text) { return QString::fromLatin1(text); }
QString utf8(const char *text) { return QString::fromUtf8(text); }

}  // namespace

const std::array<RecordListDef, ListCount> &recordListDefs()
{
    using K = FieldKind;
    static const std::array<RecordListDef, ListCount> defs{{
        {WorkHistory,
         latin("TabSheet3"),
         utf8("工作简历"),
         utf8("工作简历"),
         latin("W_wkgrid"),
         latin("Button15"),
         latin("Button16"),
         utf8("工作简历"),
         utf8("简历列表"),
         {field("W_wkpart", K::Edit, "工作单位：", "工作单位", "工作单位"),
          field("W_wktms", K::Date, "起始时间：", "起始时间", "起始时间"),
          field("W_wktme", K::Date, "结束时间：", "结束时间", "结束时间"),
          field("W_wkmemo", K::Memo, "备注：", "备注", "备注")},
         {blank("W_wkpart", "工作单位必须填写！"), dateOrder("W_wktms", "W_wktme")}},

        {Achievements,
         latin("TabSheet7"),
         utf8("主要业绩"),
         utf8("主要业绩"),
         latin("W_yjgrid"),
         latin("Button17"),
         latin("Button18"),
         utf8("主要业绩"),
         utf8("业绩列表"),
         {field("W_yjname", K::Edit, "项目名称：", "项目名称", "项目名称"),
          field("W_yjtms", K::Date, "起始时间：", "起始时间", "起始时间"),
          field("W_yjtme", K::Date, "结束时间：", "结束时间", "结束时间"),
          field("W_yjmemo1", K::Memo, "本人作用：", "本人作用", "本人作用"),
          field("W_yjmemo2", K::Memo, "完成情况及效果：", "完成情况及效果", "完成情况及效果")},
         {blank("W_yjname", "项目名称必须填写！"), dateOrder("W_yjtms", "W_yjtme"),
          blank("W_yjmemo1", "本人作用必须填写！"), blank("W_yjmemo2", "完成情况及效果必须填写！")}},

        {ContinuingEducation,
         latin("TabSheet5"),
         utf8("继续教育"),
         utf8("继续教育信息"),
         latin("StringGrid2"),
         latin("Button9"),
         latin("Button11"),
         utf8("继续教育情况"),
         utf8("培训列表"),
         {field("W_jyjg", K::Edit, "培训机构：", "培训机构", "培训机构"),
          field("W_jylx", K::Combo, "课程类型：", "课程类型", "课程类型", dict::CourseType, 2),
          field("W_jyrq", K::Date, "培训日期：", "培训日期", "培训日期"),
          field("W_jyxs", K::Mask, "学时：", "学时", "学时", {}, 0, 3),
          field("W_jynr", K::Memo, "培训内容：", "培训内容", "培训内容")},
         {blank("W_jyjg", "教育机构必须填写！"), noSelection("W_jylx", "课程类型必须填写！"),
          blank("W_jynr", "培训内容必须填写！")}},

        {CreditRecord,
         latin("TabSheet1"),
         utf8("信用档案"),
         utf8("何时何地何原因受过何种奖励或处罚"),
         latin("W_xygrid"),
         latin("Button1"),
         latin("Button3"),
         utf8("信用档案"),
         utf8("信用档案列表"),
         {field("W_xysj", K::Date, "奖惩时间：", "奖惩时间", "奖惩时间"),
          field("W_xymng", K::LabeledEdit, "授奖部门或处罚单位：", "授奖部门或处罚单位", "奖惩部门单位"),
          field("W_xycls", K::Combo, "奖励或处罚：", "奖励或处罚", "奖励或处罚", dict::RewardPenalty, 2),
          field("W_xysn", K::LabeledEdit, "奖惩原因：", "奖惩原因", "奖惩原因"),
          field("W_xymemo", K::Memo, "奖惩结果：", "奖惩结果", "奖惩结果")},
         {blank("W_xymng", "授奖部门或处罚单位必须填写！"), noSelection("W_xycls", "奖励与处罚类型必须选择！"),
          blank("W_xysn", "奖惩原因必须填写！"), blank("W_xymemo", "奖惩结果必须填写！")}},
    }};
    return defs;
}

}  // namespace varnok
