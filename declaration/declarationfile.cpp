#include "declarationfile.h"

#include "xml/safewrite.h"

#include <QFileInfo>
#include <QHash>

namespace varnok {

namespace {

FileStamp stampOf(const QByteArray &bytes) { return {bytes.size(), qHash(bytes, 0)}; }

}  // namespace

DeclarationFile::DeclarationFile(std::function<QString()> newRecordId) : newRecordId_(std::move(newRecordId)) {}

bool DeclarationFile::exists() const { return !path_.isEmpty() && QFileInfo::exists(path_); }

void DeclarationFile::bindNew(const QString &path, const Declaration &empty)
{
    path_ = path;
    saved_ = empty_ = empty;
    rebind(path);
}

void DeclarationFile::rebind(const QString &path)
{
    path_ = path;
    foreign_ = false;
    written_ = false;
    // A file already there was chosen to be written over (or, unreadable, is
    // to be written anew): as this window's own from now on.
    stamp_ = {};
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        try {
            stamp_ = stampOf(XmlDocument::readFile(path));
        } catch (const XmlError &) {
            // Unreadable (too large, no rights): a save asks before writing over it.
        }
    }
}

Declaration DeclarationFile::read(const QString &path, FileStamp *stamp)
{
    const QByteArray bytes = XmlDocument::readFile(path);
    Declaration declaration = readDeclaration(bytes, path);
    if (stamp)
        *stamp = stampOf(bytes);
    return declaration;
}

void DeclarationFile::bindRead(const QString &path, const Declaration &shown, const FileStamp &stamp)
{
    path_ = path;
    saved_ = shown;
    stamp_ = stamp;
    foreign_ = false;
    written_ = false;
}

void DeclarationFile::save(const Declaration &declaration, const QString &path)
{
    XmlDocument doc;
    buildBasicDocument(doc, declaration.basic);
    for (const RecordListDef &list : recordListDefs())
        if (!declaration.lists[size_t(list.id)].isEmpty())
            writeListSection(doc, list, declaration.lists[size_t(list.id)], newRecordId_);
    const QByteArray bytes = doc.toBytes();
    writeFileSafely(path, bytes);
    path_ = path;
    saved_ = declaration;
    stamp_ = stampOf(bytes);
    foreign_ = false;
    written_ = true;
}

bool DeclarationFile::writeList(ListId list, const ListRows &rows)
{
    if (!exists())
        return false;
    const QByteArray before = XmlDocument::readFile(path_);
    // A file this window wrote last is spliced; any other is read into a
    // tree, which the same writer then writes out whole.
    QByteArray bytes;
    if (written_ && stampOf(before) == stamp_)
        bytes = replaceListSection(before, recordListDef(list), rows, newRecordId_);
    if (bytes.isEmpty()) {
        XmlDocument doc;
        doc.loadFromBytes(before, path_);
        // Written as every save writes, whatever the file declared when it was read.
        doc.setDeclaration(DocumentVersion, DocumentEncoding);
        writeListSection(doc, recordListDef(list), rows, newRecordId_);
        bytes = doc.toBytes();
    }
    writeFileSafely(path_, bytes);
    written_ = true;
    saved_.lists[size_t(list)] = rows;
    // What someone else changed is in the file still, and not in the window:
    // the next save of the whole declaration must not write over it unasked.
    foreign_ = foreign_ || stampOf(before) != stamp_;
    stamp_ = stampOf(bytes);
    return true;
}

bool DeclarationFile::changedElsewhere() const
{
    if (path_.isEmpty() || !QFileInfo::exists(path_))
        return false;  // a save writes it anew and overwrites nothing
    if (foreign_)
        return true;
    try {
        return stampOf(XmlDocument::readFile(path_)) != stamp_;
    } catch (const XmlError &) {
        return true;
    }
}

FileState DeclarationFile::compare(const Declaration &held) const
{
    if (!exists())
        return FileState::NotSaved;
    if (!changedElsewhere())
        return held == saved_ ? FileState::Same : FileState::Differs;
    // Written by someone else since: what matters is what it holds now.
    try {
        return holdsTheSame(read(path_), held) ? FileState::Same : FileState::ChangedElsewhere;
    } catch (const std::exception &) {
        return FileState::Unreadable;
    }
}

bool DeclarationFile::hasChanges(const Declaration &held) const { return held != (exists() ? saved_ : empty_); }

bool DeclarationFile::hasListChanges(ListId list, const ListRows &rows) const
{
    return rows != (exists() ? saved_ : empty_).lists[size_t(list)];
}

}  // namespace varnok
