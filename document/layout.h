// The application document: element names, building the basic-information
// document, writing one list section, and reading a whole document into plain
// values. What each element holds is in the tables of basicfields.h and
// listdefs.h.
#pragma once

#include "document/basicfields.h"
#include "document/listdefs.h"
#include "xml/xmldocument.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

namespace varnok {

namespace el {
inline const QString Root = QStringLiteral("root");
inline const QString Registration = QStringLiteral("初始注册");
inline const QString Person = QStringLiteral("人员基本信息");
inline const QString Education = QStringLiteral("最高学历");
inline const QString EducationMarker = QStringLiteral("毕业时间");
inline const QString RecordId = QStringLiteral("id");
}  // namespace el

inline const QString DocumentVersion = QStringLiteral("1.0");
inline const QString DocumentEncoding = QStringLiteral("GB2312");

// Values of the first tab keyed by control name, as the window shows them:
// texts as typed, mask texts with a space per empty position, the selected
// item's text of a drop-down list (empty when none), dates as "yyyy-MM-dd".
using FieldValues = QMap<QString, QString>;

// Rows of a record list: one text per field column, as the grid shows them.
using ListRows = QList<QStringList>;

// Start afresh and write 初始注册 and 最高学历 from the values; drop-down
// texts become dictionary codes.
void buildBasicDocument(XmlDocument &doc, const FieldValues &values);

// Replace every section of the list by one new section, appended last, with
// one item per row and a new record id each.
void writeListSection(XmlDocument &doc, const RecordListDef &list, const ListRows &rows,
                      const std::function<QString()> &newRecordId);
// The same done to the bytes of a file as XmlDocument::toBytes writes them,
// giving the bytes toBytes would give for the changed document, without
// reading the file into a tree; empty when the bytes are not laid out so.
QByteArray replaceListSection(const QByteArray &written, const RecordListDef &list, const ListRows &rows,
                              const std::function<QString()> &newRecordId);

// A document read into the window's terms.
struct Declaration {
    FieldValues basic;  // only the values the document holds
    std::array<ListRows, ListCount> lists;
    bool operator==(const Declaration &) const = default;
};

// Codes become texts, dates are checked; throws ConversionError for a date
// that does not convert, so nothing half-read reaches the window.
Declaration readDeclaration(const XmlDocument &doc);
// The same from the bytes of a file, read without building the document in
// memory; throws XmlError as XmlDocument::loadFromBytes does.
Declaration readDeclaration(const QByteArray &bytes, const QString &sourceName);

// A document read from a file holds what the window holds: the same entries,
// and the window's value in every field the document stores (a field the
// document lacks counts as empty).
bool holdsTheSame(const Declaration &read, const Declaration &held);

// The values of a cleared first tab, for fields a document does not hold.
FieldValues clearedBasicValues(const QDate &today);

}  // namespace varnok
