// The application document on disk, as the window sees it: the file the
// window is bound to, what that file holds as of the last time it was read or
// written (so that changes not yet in it can be told), and how it looked on
// disk then (so that a change by another program can be told). Every read and
// write of a declaration goes through here, and the binding changes only once
// a read or write has succeeded. A save replaces the file once: a failure at
// any point leaves the old file as it was.
#pragma once

#include "document/layout.h"
#include "rules/declarationcheck.h"

#include <functional>

namespace varnok {

// What a file held, enough to tell that someone has written it since.
struct FileStamp {
    qint64 size = -1;  // -1: no file
    size_t hash = 0;   // of the bytes
    bool operator==(const FileStamp &) const = default;
};

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

    // The whole document at path, read and converted, and how the file looked
    // when read; throws XmlError or ConversionError, and nothing changes.
    static Declaration read(const QString &path, FileStamp *stamp = nullptr);
    // Bound to a file just read, which holds what the window now shows.
    void bindRead(const QString &path, const Declaration &shown, const FileStamp &stamp);

    // The whole declaration written to path as one new file: the first tab,
    // then the section of each list that has entries, in the lists' order.
    // The window is bound to it from then on. Throws XmlError when it cannot
    // be written, and the file and the binding stay as they were.
    void save(const Declaration &declaration, const QString &path);
    // The list's section of the bound file replaced by these rows: the file is
    // read again, the section taken out, the new one appended last, the whole
    // written back (a file written here last, and by no one since, without
    // reading it into a tree: the same bytes). False, writing nothing, when
    // the bound file does not exist; throws XmlError when it cannot be read
    // or written.
    bool writeList(ListId list, const ListRows &rows);

    // Someone else has written the bound file since this window last read or
    // wrote it all.
    bool changedElsewhere() const;

    // Whether the bound file, as it is on disk now, holds what the window holds.
    FileState compare(const Declaration &held) const;
    // The window holds something the file does not (without a file on disk:
    // anything since the window was last emptied).
    bool hasChanges(const Declaration &held) const;
    // The same for one list's rows.
    bool hasListChanges(ListId list, const ListRows &rows) const;

private:
    std::function<QString()> newRecordId_;
    QString path_;
    Declaration saved_;     // what the bound file holds
    Declaration empty_;     // what an emptied window holds
    FileStamp stamp_;       // the bound file at the last read or write
    bool foreign_ = false;  // a list save wrote over someone else's change
    bool written_ = false;  // stamp_ is of bytes written here
};

}  // namespace varnok
