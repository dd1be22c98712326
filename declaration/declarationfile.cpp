#include "declarationfile.h"

#include <QFileInfo>

namespace varnok {

DeclarationFile::DeclarationFile(std::function<QString()> newRecordId) : newRecordId_(std::move(newRecordId)) {}

bool DeclarationFile::exists() const { return !path_.isEmpty() && QFileInfo::exists(path_); }

void DeclarationFile::bindNew(const QString &path, const Declaration &empty)
{
    path_ = path;
    saved_ = empty_ = empty;
}

void DeclarationFile::rebind(const QString &path) { path_ = path; }

Declaration DeclarationFile::read(const QString &path)
{
    XmlDocument doc;
    doc.loadFromFile(path);
    return readDeclaration(doc);
}

void DeclarationFile::bindRead(const QString &path, const Declaration &shown)
{
    path_ = path;
    saved_ = shown;
}

void DeclarationFile::writeBasic(const FieldValues &values, const QString &path)
{
    XmlDocument doc;
    buildBasicDocument(doc, values);
    doc.save(path);
    path_ = path;
    // A fresh document: the lists are in it once their own saves have run.
    saved_ = Declaration{values, {}};
}

bool DeclarationFile::writeList(ListId list, const ListRows &rows)
{
    if (!exists())
        return false;
    XmlDocument doc;
    doc.loadFromFile(path_);
    // Written as every save writes, whatever the file declared when it was read.
    doc.setDeclaration(DocumentVersion, DocumentEncoding);
    writeListSection(doc, recordListDef(list), rows, newRecordId_);
    doc.save(path_);
    saved_.lists[size_t(list)] = rows;
    return true;
}

FileState DeclarationFile::compare(const Declaration &held) const
{
    if (!exists())
        return FileState::NotSaved;
    return held == saved_ ? FileState::Same : FileState::Differs;
}

bool DeclarationFile::hasChanges(const Declaration &held) const { return held != (exists() ? saved_ : empty_); }

bool DeclarationFile::hasListChanges(ListId list, const ListRows &rows) const
{
    return rows != (exists() ? saved_ : empty_).lists[size_t(list)];
}

}  // namespace varnok
