#include "layout.h"

#include "dictionary/dictionary.h"
#include "document/values.h"

namespace varnok {

void buildBasicDocument(XmlDocument &doc, const FieldValues &values)
{
    doc.startAfresh(DocumentVersion, DocumentEncoding, el::Root);
    XmlElement root = doc.documentElement();
    XmlElement person = root.addChild(el::Registration).addChild(el::Person);
    XmlElement education;
    for (const BasicField *field : writtenBasicFields()) {
        if (field->education() && education.isNull())
            education = root.addChild(el::Education);
        const QString value = values.value(field->control);
        XmlElement target = (field->education() ? education : person).addChild(field->element);
        target.setText(field->kind == ValueKind::Code ? DictCodeOf(field->dictType, value) : value);
    }
}

void writeListSection(XmlDocument &doc, const RecordListDef &list, const ListRows &rows,
                      const std::function<QString()> &newRecordId)
{
    XmlElement root = doc.documentElement();
    while (root.removeFirstChild(list.section)) {
    }
    XmlElement section = root.addChild(list.section);
    for (const QStringList &row : rows) {
        XmlElement item = section.addChild(list.item);
        item.setAttribute(el::RecordId, newRecordId());
        for (size_t c = 0; c < list.fields.size(); ++c) {
            const QString cell = row.value(int(c));
            const ListField &field = list.fields[c];
            item.addChild(field.element).setText(field.dictType.isEmpty() ? cell : DictCodeOf(field.dictType, cell));
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
            throw ConversionError(
                QStringLiteral("“%1”不是有效的日期（%2）").arg(field.element, QString::fromStdString(e.what())));
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
constexpr int MarkerCount = int(FirstItemMarker) + int(ListCount);

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
        names[size_t(FirstItemMarker + l)] = recordListDefs()[size_t(l)].item.toUtf8();
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

ListRows readItems(const XmlElement &section, const RecordListDef &list)
{
    QList<QByteArray> names;
    for (const ListField &field : list.fields)
        names << field.element.toUtf8();
    ListRows rows;
    for (const XmlElement &item : section.children()) {
        // Fields by name, in any order; the first of a name counts, a
        // missing one is empty.
        QStringList row(names.size());
        unsigned found = 0;
        for (const XmlElement &element : item.children())
            for (int c = 0; c < names.size(); ++c)
                if (!(found & (1u << c)) && element.hasName(names[c])) {
                    found |= 1u << c;
                    const QString &dictType = list.fields[size_t(c)].dictType;
                    row[c] = dictType.isEmpty() ? element.text() : DictTextOf(dictType, element.text().trimmed());
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
                for (const BasicField *field : writtenBasicFields())
                    if (!field->education())
                        readBasicField(first, *field, result.basic);
            }
    if (root.hasChild(el::Education))
        for (const Part &part : parts)
            if (part.holds(EducationMarker))
                for (const BasicField *field : writtenBasicFields())
                    if (field->education())
                        readBasicField(part.element, *field, result.basic);
    for (const RecordListDef &list : recordListDefs()) {
        if (!root.hasChild(list.section))
            continue;
        for (const Part &part : parts)
            if (part.holds(int(FirstItemMarker) + int(list.id)))
                result.lists[size_t(list.id)] += readItems(part.element, list);
    }
    return result;
}

bool holdsTheSame(const Declaration &read, const Declaration &held)
{
    if (read.lists != held.lists)
        return false;
    for (const BasicField *field : writtenBasicFields())
        if (read.basic.value(field->control) != held.basic.value(field->control))
            return false;
    return true;
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
            values[field.control] = field.initial;
            break;
        }
    }
    return values;
}

}  // namespace varnok
