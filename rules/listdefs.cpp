#include "listdefs.h"

#include "dictionary/dictionary.h"
#include "document/values.h"

namespace varnok {

QStringList RecordListDef::headers() const
{
    QStringList out;
    for (const ListField &f : fields)
        out << f.header;
    out << QStringLiteral("修改") << QStringLiteral("删除");
    return out;
}

QList<int> RecordListDef::columnWidths() const
{
    QList<int> out;
    for (const ListField &f : fields)
        out << f.width;
    out << editColumnWidth << deleteColumnWidth;
    return out;
}

int RecordListDef::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name)
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

ListField field(const char *name, FieldKind kind, const char *caption, QPoint captionAt, QRect geometry, int tab,
                const char *header, int width, const QString &dictType = {}, int maskPositions = 0)
{
    return {QString::fromLatin1(name), kind, QString::fromUtf8(caption), captionAt, geometry, tab,
            QString::fromUtf8(header), width, dictType, maskPositions};
}

PlacedControl placed(const char *name, QRect geometry, int tab) { return {QString::fromLatin1(name), geometry, tab}; }

}  // namespace

const std::array<RecordListDef, ListCount> &recordListDefs()
{
    using K = FieldKind;
    static const std::array<RecordListDef, ListCount> defs{{
        {WorkHistory, QStringLiteral("TabSheet3"), QStringLiteral("工作简历"), QStringLiteral("工作简历"),
         QRect(16, 16, 897, 329),
         placed("W_wkgrid", QRect(16, 120, 865, 193), 4),
         placed("Button15", QRect(728, 24, 75, 25), 5),
         placed("Button16", QRect(808, 24, 75, 25), 6),
         {field("W_wkpart", K::Edit, "工作单位：", {13, 32}, QRect(80, 24, 617, 21), 0, "工作单位", 298),
          field("W_wktms", K::Date, "起始时间：", {13, 64}, QRect(80, 56, 121, 21), 1, "起始时间", 86),
          field("W_wktme", K::Date, "结束时间：", {13, 96}, QRect(80, 88, 121, 21), 2, "结束时间", 81),
          field("W_wkmemo", K::Memo, "备注：", {232, 64}, QRect(272, 56, 425, 49), 3, "备注", 293)},
         52, 44, false,
         {blank("W_wkpart", "工作单位必须填写！"), dateOrder("W_wktms", "W_wktme")}},

        {Achievements, QStringLiteral("TabSheet7"), QStringLiteral("主要业绩"), QStringLiteral("主要业绩"),
         QRect(16, 16, 897, 329),
         placed("W_yjgrid", QRect(16, 184, 865, 129), 5),
         placed("Button17", QRect(728, 24, 75, 25), 6),
         placed("Button18", QRect(808, 24, 75, 25), 7),
         {field("W_yjname", K::Edit, "项目名称：", {48, 32}, QRect(120, 24, 121, 21), 0, "项目名称", 159),
          field("W_yjtms", K::Date, "起始时间：", {248, 32}, QRect(320, 24, 121, 21), 1, "起始时间", 64),
          field("W_yjtme", K::Date, "结束时间：", {456, 32}, QRect(536, 24, 113, 21), 2, "结束时间", 64),
          field("W_yjmemo1", K::Memo, "本人作用：", {50, 59}, QRect(120, 56, 761, 49), 3, "本人作用", 116),
          field("W_yjmemo2", K::Memo, "完成情况及效果：", {8, 124}, QRect(120, 120, 761, 49), 4, "完成情况及效果", 353)},
         51, 46, false,
         {blank("W_yjname", "项目名称必须填写！"), dateOrder("W_yjtms", "W_yjtme"),
          blank("W_yjmemo1", "本人作用必须填写！"), blank("W_yjmemo2", "完成情况及效果必须填写！")}},

        {ContinuingEducation, QStringLiteral("TabSheet5"), QStringLiteral("继续教育"), QStringLiteral("继续教育信息"),
         QRect(16, 16, 897, 497),
         placed("StringGrid2", QRect(16, 168, 865, 313), 5),
         placed("Button9", QRect(728, 24, 75, 25), 6),
         placed("Button11", QRect(808, 24, 75, 25), 7),
         {field("W_jyjg", K::Edit, "培训机构：", {60, 48}, QRect(128, 40, 289, 21), 0, "培训机构", 156),
          field("W_jylx", K::Combo, "课程类型：", {435, 48}, QRect(512, 40, 145, 21), 1, "课程类型", 65, dict::CourseType),
          field("W_jyrq", K::Date, "培训日期：", {60, 80}, QRect(128, 72, 153, 21), 2, "培训日期", 74),
          field("W_jyxs", K::Mask, "学时：", {465, 80}, QRect(512, 72, 144, 21), 3, "学时", 66, {}, 3),
          field("W_jynr", K::Memo, "培训内容：", {60, 112}, QRect(128, 104, 529, 49), 4, "培训内容", 386)},
         56, 50, true,
         {blank("W_jyjg", "教育机构必须填写！"), noSelection("W_jylx", "课程类型必须填写！"),
          blank("W_jynr", "培训内容必须填写！")}},

        {CreditRecord, QStringLiteral("TabSheet1"), QStringLiteral("信用档案"),
         QStringLiteral("何时何地何原因受过何种奖励或处罚"), QRect(16, 16, 897, 497),
         placed("W_xygrid", QRect(16, 192, 865, 289), 0),
         placed("Button1", QRect(727, 24, 76, 25), 5),
         placed("Button3", QRect(807, 24, 76, 25), 6),
         {field("W_xysj", K::Date, "奖惩时间：", {31, 40}, QRect(97, 32, 153, 21), 3, "奖惩时间", 80),
          field("W_xymng", K::LabeledEdit, "授奖部门或处罚单位：", {}, QRect(400, 32, 257, 21), 1, "奖惩部门单位", 126),
          field("W_xycls", K::Combo, "奖励或处罚：", {10, 71}, QRect(97, 64, 153, 21), 7, "奖励或处罚", 63,
                dict::RewardPenalty),
          field("W_xysn", K::LabeledEdit, "奖惩原因：", {}, QRect(400, 64, 257, 21), 2, "奖惩原因", 92),
          field("W_xymemo", K::Memo, "奖惩结果：", {31, 99}, QRect(96, 96, 561, 81), 4, "奖惩结果", 386)},
         56, 50, true,
         {blank("W_xymng", "授奖部门或处罚单位必须填写！"), noSelection("W_xycls", "奖励与处罚类型必须选择！"),
          blank("W_xysn", "奖惩原因必须填写！"), blank("W_xymemo", "奖惩结果必须填写！")}},
    }};
    return defs;
}

std::optional<ListCheck> firstFailingCheck(const RecordListDef &def, const QStringList &values)
{
    auto value = [&](const QString &name) { return values.value(def.fieldIndex(name)); };
    for (const ListCheck &check : def.checks) {
        switch (check.kind) {
        case ListCheck::Blank:
            if (isBlank(value(check.field)))
                return check;
            break;
        case ListCheck::NoSelection:
            if (value(check.field).isEmpty())
                return check;
            break;
        case ListCheck::DateOrder:
            // "yyyy-MM-dd" texts order as the dates do.
            if (value(check.field) >= value(check.endField))
                return check;
            break;
        }
    }
    return std::nullopt;
}

QStringList entryRow(const QStringList &values) { return QStringList(values) << EditAction << DeleteAction; }

}  // namespace varnok
