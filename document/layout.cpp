#include "layout.h"

#include "dictionary/dictionary.h"
#include "document/values.h"

namespace varnok {

const std::vector<BasicField> &basicFields()
{
    static const std::vector<BasicField> fields{
        {QStringLiteral("姓名"), ValueKind::Text, {}, QStringLiteral("W_name"), false},
        {QStringLiteral("性别"), ValueKind::Code, dict::Sex, QStringLiteral("W_sex"), false},
        {QStringLiteral("出生日期"), ValueKind::Date, {}, QStringLiteral("W_birth"), false},
        {QStringLiteral("民族"), ValueKind::Code, dict::Nation, QStringLiteral("W_nation"), false},
        {QStringLiteral("身份证件类型"), ValueKind::Code, dict::IdType, QStringLiteral("W_id"), false},
        {QStringLiteral("证件号码"), ValueKind::Text, {}, QStringLiteral("W_cer"), false},
        {QStringLiteral("个人联系电话"), ValueKind::Mask, {}, QStringLiteral("W_tel"), false, 11},
        {QStringLiteral("参加工作时间"), ValueKind::Date, {}, QStringLiteral("W_work"), false},
        {QStringLiteral("现任专业技术职务"), ValueKind::Code, dict::Title, QStringLiteral("W_zyzw"), false},
        {QStringLiteral("资格证书签发日期"), ValueKind::Date, {}, QStringLiteral("W_qfrq"), false},
        {QStringLiteral("工作年限"), ValueKind::Mask, {}, QStringLiteral("W_gznx"), false, 2},
        {QStringLiteral("任职时间"), ValueKind::Date, {}, QStringLiteral("W_rzsj"), false},
        {QStringLiteral("资格取得方式"), ValueKind::Code, dict::Qualification, QStringLiteral("W_zgqd"), false},
        {QStringLiteral("资格证书编号"), ValueKind::Text, {}, QStringLiteral("W_zgid"), false},
        {QStringLiteral("毕业院校"), ValueKind::Text, {}, QStringLiteral("W_school"), true},
        {QStringLiteral("学历"), ValueKind::Code, dict::Education, QStringLiteral("W_xueli"), true},
        {QStringLiteral("学位"), ValueKind::Code, dict::Degree, QStringLiteral("W_xuewei"), true},
        {QStringLiteral("毕业时间"), ValueKind::Date, {}, QStringLiteral("W_bysj"), true},
        {QStringLiteral("所学专业"), ValueKind::Text, {}, QStringLiteral("W_zhy"), true},
    };
    return fields;
}

const std::array<ListLayout, ListCount> &listLayouts()
{
    static const std::array<ListLayout, ListCount> layouts{{
        {QStringLiteral("工作简历"), QStringLiteral("简历列表"),
         {QStringLiteral("工作单位"), QStringLiteral("起始时间"), QStringLiteral("结束时间"), QStringLiteral("备注")},
         {{}, {}, {}, {}}},
        {QStringLiteral("主要业绩"), QStringLiteral("业绩列表"),
         {QStringLiteral("项目名称"), QStringLiteral("起始时间"), QStringLiteral("结束时间"), QStringLiteral("本人作用"),
          QStringLiteral("完成情况及效果")},
         {{}, {}, {}, {}, {}}},
        {QStringLiteral("继续教育情况"), QStringLiteral("培训列表"),
         {QStringLiteral("培训机构"), QStringLiteral("课程类型"), QStringLiteral("培训日期"), QStringLiteral("学时"),
          QStringLiteral("培训内容")},
         {{}, dict::CourseType, {}, {}, {}}},
        {QStringLiteral("信用档案"), QStringLiteral("信用档案列表"),
         {QStringLiteral("奖惩时间"), QStringLiteral("授奖部门或处罚单位"), QStringLiteral("奖励或处罚"),
          QStringLiteral("奖惩原因"), QStringLiteral("奖惩结果")},
         {{}, {}, dict::RewardPenalty, {}, {}}},
    }};
    return layouts;
}

void buildBasicDocument(XmlDocument &doc, const FieldValues &values)
{
    doc.startAfresh(DocumentVersion, DocumentEncoding, el::Root);
    XmlElement root = doc.documentElement();
    XmlElement person = root.addChild(el::Registration).addChild(el::Person);
    XmlElement education;
    for (const BasicField &field : basicFields()) {
        if (field.education && education.isNull())
            education = root.addChild(el::Education);
        const QString value = values.value(field.control);
        XmlElement target = (field.education ? education : person).addChild(field.element);
        target.setText(field.kind == ValueKind::Code ? DictCodeOf(field.dictType, value) : value);
    }
}

void writeListSection(XmlDocument &doc, const ListLayout &layout, const ListRows &rows,
                      const std::function<QString()> &newRecordId)
{
    XmlElement root = doc.documentElement();
    while (root.removeFirstChild(layout.section)) {
    }
    XmlElement section = root.addChild(layout.section);
    for (const QStringList &row : rows) {
        XmlElement item = section.addChild(layout.item);
        item.setAttribute(el::RecordId, newRecordId());
        for (int c = 0; c < layout.fields.size(); ++c) {
            const QString cell = row.value(c);
            const QString &dictType = layout.dictTypes[c];
            item.addChild(layout.fields[c]).setText(dictType.isEmpty() ? cell : DictCodeOf(dictType, cell));
        }
    }
}

namespace {

void readBasicField(const XmlElement &from, const BasicField &field, FieldValues &into)
{
    const XmlElement element = from.firstChild(field.element);
    if (element.isNull())
        return;  // the control keeps the value clearing gave it
    const QString text = element.text();
    switch (field.kind) {
    case ValueKind::Text:
    case ValueKind::Mask:
        into[field.control] = text;
        break;
    case ValueKind::Date:
        try {
            into[field.control] = formatDate(StrToDate(text));
        } catch (const ConversionError &e) {
            throw ConversionError(QStringLiteral("“%1”不是有效的日期（%2）").arg(field.element, QString::fromStdString(e.what())));
        }
        break;
    case ValueKind::Code:
        into[field.control] = DictTextOf(field.dictType, text.trimmed());
        break;
    }
}

// The parts of a document are found by a marker child: 人员基本信息,
// 毕业时间, or a list's item name.
enum Marker { PersonMarker, EducationMarker, FirstItemMarker };
constexpr int MarkerCount = FirstItemMarker + ListCount;

struct Part {
    XmlElement element;
    unsigned markers = 0;  // bit per Marker
    bool holds(int marker) const { return markers & (1u << marker); }
};

// Each child of root with the markers it holds, in one pass over the document.
std::vector<Part> partsOf(const XmlElement &root)
{
    std::array<QByteArray, MarkerCount> names;
    names[PersonMarker] = el::Person.toUtf8();
    names[EducationMarker] = el::EducationMarker.toUtf8();
    for (int l = 0; l < ListCount; ++l)
        names[size_t(FirstItemMarker + l)] = listLayouts()[size_t(l)].item.toUtf8();
    std::vector<Part> parts;
    for (const XmlElement &element : root.children()) {
        Part part{element};
        for (const XmlElement &child : element.children())
            for (int m = 0; m < MarkerCount; ++m)
                if (!part.holds(m) && child.hasName(names[size_t(m)]))
                    part.markers |= 1u << m;
        parts.push_back(part);
    }
    return parts;
}

ListRows readItems(const XmlElement &section, const ListLayout &layout)
{
    QList<QByteArray> names;
    for (const QString &field : layout.fields)
        names << field.toUtf8();
    ListRows rows;
    for (const XmlElement &item : section.children()) {
        // Fields by name, in any order; the first of a name counts, a
        // missing one is empty.
        QStringList row(layout.fields.size());
        unsigned found = 0;
        for (const XmlElement &field : item.children())
            for (int c = 0; c < names.size(); ++c)
                if (!(found & (1u << c)) && field.hasName(names[c])) {
                    found |= 1u << c;
                    const QString &dictType = layout.dictTypes[c];
                    row[c] = dictType.isEmpty() ? field.text() : DictTextOf(dictType, field.text().trimmed());
                    break;
                }
        rows.append(row);
    }
    return rows;
}

}  // namespace

Declaration readDeclaration(const XmlDocument &doc)
{
    Declaration result;
    const XmlElement root = doc.documentElement();
    const std::vector<Part> parts = partsOf(root);

    if (root.hasChild(el::Registration))
        for (const Part &part : parts)
            if (part.holds(PersonMarker) && part.element.childCount() > 0) {
                const XmlElement first = part.element.child(0);
                for (const BasicField &field : basicFields())
                    if (!field.education)
                        readBasicField(first, field, result.basic);
            }
    if (root.hasChild(el::Education))
        for (const Part &part : parts)
            if (part.holds(EducationMarker))
                for (const BasicField &field : basicFields())
                    if (field.education)
                        readBasicField(part.element, field, result.basic);
    for (int l = 0; l < ListCount; ++l) {
        const ListLayout &layout = listLayouts()[size_t(l)];
        if (!root.hasChild(layout.section))
            continue;
        for (const Part &part : parts)
            if (part.holds(FirstItemMarker + l))
                result.lists[size_t(l)] += readItems(part.element, layout);
    }
    return result;
}

FieldValues clearedBasicValues(const QDate &today)
{
    FieldValues values;
    for (const BasicField &field : basicFields()) {
        switch (field.kind) {
        case ValueKind::Text:
            values[field.control] = QString();
            break;
        case ValueKind::Mask:
            values[field.control] = QString(field.maskPositions, QLatin1Char(' '));
            break;
        case ValueKind::Date:
            values[field.control] = formatDate(today);
            break;
        case ValueKind::Code:
            values[field.control] = QString();
            break;
        }
    }
    values[QStringLiteral("W_id")] = QStringLiteral("身份证");
    values[QStringLiteral("W_zgqd")] = QStringLiteral("考试");
    return values;
}

}  // namespace varnok

