// The recovery copy: while the window holds unsaved changes, a copy of all of
// it is kept in the user's application-data folder, so that a crash, a killed
// process or a power cut loses at most the last few seconds of typing. The
// copy is never the document: it lives in its own folder, under its own name.
//
// A copy is a document of the application's own format (the first tab and the
// four lists, written as a save writes them) with one more element under the
// root, 恢复信息, holding the bound file, the tab in front, when the copy was
// written and each list's entry fields. It is written with the safe write of
// documents and read back with the same reader and the same limits.
//
// Each run owns its copy through a lock file beside it (QLockFile): a copy
// whose owner still runs is never taken, moved or removed by another run.
// Copies left by runs that ended without removing theirs are offered at the
// next start; one not taken back is kept aside under its date, the newest
// three of them kept.
#pragma once

#include "document/layout.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class QLockFile;

namespace varnok {

// The entry fields of a list and its mode.
struct EntryState {
    QStringList values;    // one per field, as the fields give them
    bool editing = false;  // "保存修改" showing
    int row = -1;          // while editing: the grid's current row
    bool operator==(const EntryState &) const = default;
};

// Everything the window holds that a copy keeps.
struct WindowState {
    QString path;  // the bound file; empty when none
    int tab = 0;   // the tab in front
    Declaration held;
    std::array<EntryState, ListCount> entries;
    bool operator==(const WindowState &) const = default;
};

struct RecoveredCopy {
    WindowState state;
    QDateTime written;
};

namespace el {
inline const QString Recovery = QStringLiteral("恢复信息");
}

// The copy as a document.
void buildRecoveryDocument(XmlDocument &doc, const WindowState &state, const QDateTime &written);
// Throws XmlError for a document that is no copy, ConversionError for a value
// that does not convert; a tab or row out of range is taken as none.
RecoveredCopy readRecoveryDocument(const XmlDocument &doc);
// The file read with the limits of every document; throws as above.
RecoveredCopy readRecoveryFile(const QString &path);

// A copy left by a run that has ended, locked by this run until it is
// discarded or kept aside (or this object goes).
class LeftCopy {
public:
    LeftCopy(QString path, std::unique_ptr<QLockFile> lock);
    LeftCopy(LeftCopy &&) noexcept;
    LeftCopy &operator=(LeftCopy &&) noexcept;
    ~LeftCopy();

    const QString &path() const { return path_; }
    QDateTime lastModified() const;
    RecoveredCopy read() const { return readRecoveryFile(path_); }
    // Gone for good, with its lock and what a write cut short left beside it.
    void discard();
    // Renamed kept-<date written>.xml beside the copies, of which the newest
    // RecoveryFolder::KeptCopies stay; the path it has now (empty when it
    // could not be moved and stays where it was).
    QString keepAside();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

// The folder of recovery copies and this run's copy in it.
class RecoveryFolder {
public:
    static constexpr int KeptCopies = 3;

    // No folder (an empty name): nothing is written and nothing found.
    explicit RecoveryFolder(QString folder);
    ~RecoveryFolder();  // this run's copy stays; its lock goes
    RecoveryFolder(const RecoveryFolder &) = delete;
    RecoveryFolder &operator=(const RecoveryFolder &) = delete;

    const QString &folder() const { return folder_; }
    // This run's copy: named, and locked, at the first write.
    QString copyPath() const { return path_; }
    bool hasCopy() const;

    // This run's copy replaced by one of this state, in one piece; the old one
    // stays when it cannot be written. Throws XmlError.
    void write(const WindowState &state, const QDateTime &written = QDateTime::currentDateTime());
    // This run's copy and its lock removed.
    void remove();

    // The copies of runs that have ended without removing theirs, newest
    // first, each locked for this run. A copy whose owner still runs, or that
    // another run has taken, is not among them. Lock files left without a
    // copy are cleared on the way.
    std::vector<LeftCopy> takeLeftCopies();
    // The copies kept aside, newest first.
    QStringList keptCopies() const;

private:
    bool claimName();

    QString folder_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace varnok
