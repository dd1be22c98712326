// The application document on disk, as the window sees it: the file the
// window is bound to, and what that file holds as of the last time it was
// read or written, so that changes not yet in it can be told. Every read and
// write of a declaration goes through here, and the binding changes only once
// a read or write has succeeded. Nothing of a document is kept in memory from
// one operation to the next: every list save reads the file again.
#pragma once

#include "document/layout.h"
#include "rules/declarationcheck.h"

#include <functional>

namespace varnok {

class DeclarationFile {
public:
    // Record ids for list items; a new GUID each call unless a test says otherwise.
    explicit DeclarationFile(std::function<QString()> newRecordId);

    // The bound file; empty when none.
    const QString &path() const { return path_; }
    // The bound file is on disk.
    bool exists() const;

    // Bound to a file the next save will write (or to none); what the window
    // holds when empty counts as nothing typed. Nothing on disk changes.
    void bindNew(const QString &path, const Declaration &empty);
    // Bound to another file without writing it; what it holds is not known.
    void rebind(const QString &path);

    // The whole document at path, read and converted; throws XmlError or
    // ConversionError, and nothing changes.
    static Declaration read(const QString &path);
    // Bound to a file just read, which holds what the window now shows.
    void bindRead(const QString &path, const Declaration &shown);

    // A fresh document holding the first tab's values, written to path; the
    // window is bound to it from then on. Throws XmlError when it cannot be
    // written, and the binding stays as it was.
    void writeBasic(const FieldValues &values, const QString &path);
    // The list's section of the bound file replaced by these rows: the file is
    // read again, the section taken out, the new one appended last, the whole
    // written back. False, writing nothing, when the bound file does not
    // exist; throws XmlError when it cannot be read or written.
    bool writeList(ListId list, const ListRows &rows);

    // Whether the bound file holds what the window holds.
    FileState compare(const Declaration &held) const;
    // The window holds something the file does not (without a file on disk:
    // anything since the window was last emptied).
    bool hasChanges(const Declaration &held) const;
    // The same for one list's rows.
    bool hasListChanges(ListId list, const ListRows &rows) const;

private:
    std::function<QString()> newRecordId_;
    QString path_;
    Declaration saved_;  // what the bound file holds
    Declaration empty_;  // what an emptied window holds
};

}  // namespace varnok
