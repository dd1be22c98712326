// The first levels below a document's root element, as a reader of a file
// made of sections of records looks at them: each child of the root (a
// part), its children (records) and theirs (fields), with the whole text of
// each record and field as XmlElement::text() gives it. Read from the bytes
// without building the document in memory, or taken from a loaded document;
// both give the same parts.
#pragma once

#include "xml/xmldocument.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <functional>

namespace varnok {

// Element names, numbered as they are met (or named in advance), so that
// comparing them costs nothing.
class XmlNames {
public:
    int id(const QByteArray &utf8);
    const QByteArray &name(int id) const { return names_[id]; }

private:
    QHash<QByteArray, int> ids_;
    QList<QByteArray> names_;
};

struct XmlPart {
    struct Field {
        int name;
        qsizetype start, end;  // its text in XmlPart::text
    };
    struct Record {
        int name;
        qsizetype start, end;
        QList<Field> fields;
    };
    int name = -1;
    QList<Record> records;
    QByteArray text;  // UTF-8: the text of each record, one after the other

    QString textOf(qsizetype start, qsizetype end) const;
    QString textOf(const Record &r) const { return textOf(r.start, r.end); }
    QString textOf(const Field &f) const { return textOf(f.start, f.end); }
};

using PartHandler = std::function<void(const XmlPart &)>;

// Each part handed over as soon as it has been read whole. Throws XmlError
// as XmlDocument::loadFromBytes does, for the same bytes.
void readXmlParts(const QByteArray &bytes, const QString &sourceName, XmlNames &names, const PartHandler &onPart);
// The same parts from a loaded document.
void forEachXmlPart(const XmlDocument &doc, XmlNames &names, const PartHandler &onPart);

}  // namespace varnok
