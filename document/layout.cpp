#include "layout.h"

#include "dictionary/dictionary.h"
#include "document/values.h"
#include "xml/xmlparts.h"

#include <QSet>

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

namespace {

// A line of the first level below the root that starts an element, and the
// element's name right after: the byte after it ends the name.
bool startsChild(const QByteArray &bytes, qsizetype line, const QByteArray &name)
{
    if (!QByteArrayView(bytes).sliced(line).startsWith(name))
        return false;
    const qsizetype after = line + name.size();
    return after < bytes.size() && (bytes[after] == '>' || bytes[after] == '/' || bytes[after] == ' ');
}

}  // namespace

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

// The bytes of each element of the first level are kept as they are, those
// of the list's section left out, and the new section, as the same writer
// lays it out, put last. That writer escapes every "<" of a value and puts
// each element of the first level on a line of its own, starting with one
// TAB, so the lines that start with TAB and "<" and a name are exactly where
// those elements start.
QByteArray replaceListSection(const QByteArray &file, const RecordListDef &list, const ListRows &rows,
                              const std::function<QString()> &newRecordId)
{
    XmlDocument alone;
    alone.startAfresh(DocumentVersion, DocumentEncoding, el::Root);
    writeListSection(alone, list, rows, newRecordId);
    const QByteArray written = alone.toBytes();
    // "<?xml ...?>\r\n<root>\r\n", then "\t<section>...\r\n", then "</root>\r\n".
    const qsizetype body = written.indexOf("\r\n\t<");
    const qsizetype tail = written.lastIndexOf("\r\n</");
    if (body < 0 || tail <= body)
        return {};
    const QByteArray head = written.left(body + 2), end = written.mid(tail + 2);
    const QByteArray section = written.mid(body + 2, tail - body);
    const qsizetype nameEnd = section.indexOf('>');
    const QByteArray name = section.mid(1, (section[nameEnd - 1] == '/' ? nameEnd - 1 : nameEnd) - 1);
    if (!file.startsWith(head) || !file.endsWith(end) || file.size() < head.size() + end.size() ||
        !file.sliced(0, file.size() - end.size()).endsWith("\r\n"))
        return {};

    QByteArray out;
    out.reserve(file.size() + section.size());
    out.append(head);
    const qsizetype stop = file.size() - end.size();
    qsizetype start = head.size();
    if (start < stop && !(file[start] == '\t' && file[start + 1] == '<'))
        return {};
    while (start < stop) {
        // The next line that starts an element of the first level, or the end.
        qsizetype next = start;
        do {
            next = file.indexOf("\n\t<", next + 1);
        } while (next >= 0 && next + 3 < stop && file[next + 3] == '/');
        next = next < 0 || next + 1 > stop ? stop : next + 1;
        if (!startsChild(file, start + 1, name))
            out.append(QByteArrayView(file).sliced(start, next - start));
        start = next;
    }
    out.append(section);
    out.append(end);
    return out;
}

namespace {

// One value of the first tab, as the window takes it.
void convertBasicField(const BasicField &field, const QString &text, FieldValues &into)
{
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

// A declaration gathered from the parts of a document (the children of its
// root) in document order. A part is found by a marker among its records:
// 人员基本信息 for the person (whose values are the fields of the part's first
// record), 毕业时间 for the education (the records are the values), a list's
// item name for that list (every record an entry). A kind of part counts
// only if the root also has a part of its section's name, wherever it is.
class DeclarationReader {
public:
    DeclarationReader()
    {
        registration_ = names_.id(el::Registration.toUtf8());
        education_ = names_.id(el::Education.toUtf8());
        personMarker_ = names_.id(el::Person.toUtf8());
        educationMarker_ = names_.id(el::EducationMarker.toUtf8());
        for (const BasicField *field : writtenBasicFields())
            basicElements_.push_back(names_.id(field->element.toUtf8()));
        for (const RecordListDef &list : recordListDefs()) {
            ListNames &n = lists_[size_t(list.id)];
            n.section = names_.id(list.section.toUtf8());
            n.item = names_.id(list.item.toUtf8());
            for (const ListField &field : list.fields)
                n.fields.push_back(names_.id(field.element.toUtf8()));
        }
    }

    XmlNames &names() { return names_; }

    void part(const XmlPart &part)
    {
        seen_.insert(part.name);
        auto holds = [&](int marker) {
            for (const XmlPart::Record &r : part.records)
                if (r.name == marker)
                    return true;
            return false;
        };
        if (holds(personMarker_) && !part.records.isEmpty())
            persons_.push_back(basicTexts(part, false));
        if (holds(educationMarker_))
            educations_.push_back(basicTexts(part, true));
        for (const RecordListDef &list : recordListDefs())
            if (holds(lists_[size_t(list.id)].item))
                readItems(part, list);
    }

    Declaration result() const
    {
        Declaration d;
        const auto apply = [&](const std::vector<QMap<int, QString>> &found) {
            for (const QMap<int, QString> &texts : found)
                for (auto it = texts.begin(); it != texts.end(); ++it)
                    convertBasicField(*writtenBasicFields()[size_t(it.key())], it.value(), d.basic);
        };
        if (seen_.contains(registration_))
            apply(persons_);
        if (seen_.contains(education_))
            apply(educations_);
        for (const RecordListDef &list : recordListDefs())
            if (seen_.contains(lists_[size_t(list.id)].section))
                d.lists[size_t(list.id)] = rows_[size_t(list.id)];
        return d;
    }

private:
    struct ListNames {
        int section, item;
        std::vector<int> fields;
    };

    // The texts of the first tab's fields a part holds, by position in the
    // written fields: the person's in its first record, the education's in
    // the part itself; the first element of a name counts.
    QMap<int, QString> basicTexts(const XmlPart &part, bool education) const
    {
        QMap<int, QString> texts;
        const auto &fields = writtenBasicFields();
        for (size_t f = 0; f < fields.size(); ++f) {
            if (fields[f]->education() != education)
                continue;
            const int wanted = basicElements_[f];
            if (education) {
                for (const XmlPart::Record &r : part.records)
                    if (r.name == wanted) {
                        texts[int(f)] = part.textOf(r);
                        break;
                    }
            } else {
                for (const XmlPart::Field &field : part.records.front().fields)
                    if (field.name == wanted) {
                        texts[int(f)] = part.textOf(field);
                        break;
                    }
            }
        }
        return texts;
    }

    // Every record an entry: its fields by name, in any order; the first of
    // a name counts, a missing one is empty.
    void readItems(const XmlPart &part, const RecordListDef &list)
    {
        const std::vector<int> &names = lists_[size_t(list.id)].fields;
        ListRows &rows = rows_[size_t(list.id)];
        rows.reserve(rows.size() + part.records.size());
        for (const XmlPart::Record &record : part.records) {
            QStringList row(qsizetype(names.size()));
            unsigned found = 0;
            for (const XmlPart::Field &field : record.fields)
                for (size_t c = 0; c < names.size(); ++c)
                    if (!(found & (1u << c)) && field.name == names[c]) {
                        found |= 1u << c;
                        const QString &dictType = list.fields[c].dictType;
                        const QString text = part.textOf(field);
                        row[qsizetype(c)] = dictType.isEmpty() ? text : DictTextOf(dictType, text.trimmed());
                        break;
                    }
            rows.append(row);
        }
    }

    XmlNames names_;
    int registration_, education_, personMarker_, educationMarker_;
    std::vector<int> basicElements_;
    std::array<ListNames, ListCount> lists_;
    QSet<int> seen_;
    std::vector<QMap<int, QString>> persons_, educations_;
    std::array<ListRows, ListCount> rows_;
};

}  // namespace

Declaration readDeclaration(const XmlDocument &doc)
{
    DeclarationReader reader;
    forEachXmlPart(doc, reader.names(), [&reader](const XmlPart &part) { reader.part(part); });
    return reader.result();
}

Declaration readDeclaration(const QByteArray &bytes, const QString &sourceName)
{
    DeclarationReader reader;
    readXmlParts(bytes, sourceName, reader.names(), [&reader](const XmlPart &part) { reader.part(part); });
    return reader.result();
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
