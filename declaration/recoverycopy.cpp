#include "recoverycopy.h"

#include "document/values.h"
#include "platform/runlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace varnok {

namespace {

namespace rec {
const QString Path = QStringLiteral("文件");
const QString Tab = QStringLiteral("页");
const QString Written = QStringLiteral("时间");
const QString Entry = QStringLiteral("录入");
const QString List = QStringLiteral("列表");       // attribute: the list's section
const QString EditRow = QStringLiteral("修改行");  // attribute, while editing
}  // namespace rec

const QString CopyPrefix = QStringLiteral("recovery-");
const QString KeptPrefix = QStringLiteral("kept-");
const QString CopySuffix = QStringLiteral(".xml");
const QString LockSuffix = QStringLiteral(".lock");
const QString TimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QString lockPathOf(const QString &copyPath) { return copyPath.chopped(CopySuffix.size()) + LockSuffix; }

// A write cut short leaves the safe write's temporary file, "<copy>.XXXXXX",
// where the system has no unnamed files (Windows); only the copy's owner, or
// the run that has taken the copy of one that ended, removes it.
void removeUnfinishedWrites(const QString &copyPath)
{
    const QFileInfo copy(copyPath);
    QDir dir = copy.dir();
    for (const QString &name : dir.entryList({copy.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
        dir.remove(name);
}

// A lock that only a run that has ended leaves behind.
std::unique_ptr<QLockFile> tryLock(const QString &path) { return platform::tryLockForThisRun(path); }

EntryState readEntry(const XmlElement &element, const RecordListDef &list)
{
    EntryState entry;
    for (const ListField &field : list.fields) {
        const XmlElement value = element.firstChild(field.element);
        const QString text = value.isNull() ? QString() : value.text();
        if (field.kind == FieldKind::Date) {
            try {
                StrToDate(text);
            } catch (const ConversionError &e) {
                throw ConversionError(
                    QStringLiteral("“%1”不是有效的日期（%2）").arg(field.element, QString::fromStdString(e.what())));
            }
        }
        entry.values << text;
    }
    bool ok = false;
    const QString row = element.attribute(rec::EditRow);
    const int r = row.toInt(&ok);
    if (!row.isEmpty() && ok && r >= -1) {
        entry.editing = true;
        entry.row = r;
    }
    return entry;
}

}  // namespace

// ------------------------------------------------------------- the document

void buildRecoveryDocument(XmlDocument &doc, const WindowState &state, const QDateTime &written)
{
    buildBasicDocument(doc, state.held.basic);
    // Record ids mean nothing in a copy: counted, so that equal states give
    // equal bytes.
    int id = 0;
    const auto nextId = [&id] { return QString::number(++id); };
    for (const RecordListDef &list : recordListDefs())
        writeListSection(doc, list, state.held.lists[size_t(list.id)], nextId);

    XmlElement header = doc.documentElement().addChild(el::Recovery);
    header.addChild(rec::Path).setText(state.path);
    header.addChild(rec::Tab).setText(QString::number(state.tab));
    header.addChild(rec::Written).setText(written.toString(TimeFormat));
    for (const RecordListDef &list : recordListDefs()) {
        const EntryState &entry = state.entries[size_t(list.id)];
        XmlElement element = header.addChild(rec::Entry);
        element.setAttribute(rec::List, list.section);
        if (entry.editing)
            element.setAttribute(rec::EditRow, QString::number(entry.row));
        // As the fields show them: a drop-down list's text, not its code.
        for (size_t f = 0; f < list.fields.size(); ++f)
            element.addChild(list.fields[f].element).setText(entry.values.value(int(f)));
    }
}

RecoveredCopy readRecoveryDocument(const XmlDocument &doc)
{
    const XmlElement header = doc.documentElement().firstChild(el::Recovery);
    if (header.isNull())
        throw XmlError(QStringLiteral("没有“%1”，不是恢复副本").arg(el::Recovery));
    RecoveredCopy copy;
    copy.state.held = readDeclaration(doc);
    // The first tab in full: what the copy lacks is as a cleared window has it.
    FieldValues basic = clearedBasicValues(QDate::currentDate());
    for (auto it = copy.state.held.basic.cbegin(); it != copy.state.held.basic.cend(); ++it)
        basic[it.key()] = it.value();
    copy.state.held.basic = basic;

    const XmlElement path = header.firstChild(rec::Path);
    copy.state.path = path.isNull() ? QString() : path.text();
    bool ok = false;
    const XmlElement tab = header.firstChild(rec::Tab);
    const int t = tab.isNull() ? 0 : tab.text().toInt(&ok);
    copy.state.tab = ok && t >= 0 && t <= ListCount ? t : 0;
    const XmlElement written = header.firstChild(rec::Written);
    if (!written.isNull())
        copy.written = QDateTime::fromString(written.text(), TimeFormat);

    std::array<bool, ListCount> seen{};
    for (const XmlElement &element : header.children()) {
        if (element.name() != rec::Entry)
            continue;
        const QString section = element.attribute(rec::List);
        for (const RecordListDef &list : recordListDefs())
            if (list.section == section && !seen[size_t(list.id)]) {
                seen[size_t(list.id)] = true;
                copy.state.entries[size_t(list.id)] = readEntry(element, list);
            }
    }
    for (const RecordListDef &list : recordListDefs()) {
        EntryState &entry = copy.state.entries[size_t(list.id)];
        if (!seen[size_t(list.id)])
            throw XmlError(QStringLiteral("“%1”的录入内容缺失，不是完整的恢复副本").arg(list.tabCaption));
        // A row the grid does not have: the edit cannot go on.
        if (entry.editing && entry.row > copy.state.held.lists[size_t(list.id)].size()) {
            entry.editing = false;
            entry.row = -1;
        }
    }
    return copy;
}

RecoveredCopy readRecoveryFile(const QString &path)
{
    XmlDocument doc;
    doc.loadFromFile(path);
    try {
        return readRecoveryDocument(doc);
    } catch (const XmlError &e) {
        throw XmlError(QStringLiteral("文件“%1”：%2").arg(path, QString::fromStdString(e.what())));
    }
}

// ------------------------------------------------------- a copy left behind

LeftCopy::LeftCopy(QString path, std::unique_ptr<QLockFile> lock) : path_(std::move(path)), lock_(std::move(lock)) {}
LeftCopy::LeftCopy(LeftCopy &&) noexcept = default;
LeftCopy &LeftCopy::operator=(LeftCopy &&) noexcept = default;
LeftCopy::~LeftCopy() = default;

QDateTime LeftCopy::lastModified() const { return QFileInfo(path_).lastModified(); }

void LeftCopy::discard()
{
    QFile::remove(path_);
    removeUnfinishedWrites(path_);
    lock_.reset();
}

QString LeftCopy::keepAside()
{
    const QFileInfo info(path_);
    const QDir dir = info.dir();
    const QString base = KeptPrefix + info.lastModified().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString target = dir.filePath(base + CopySuffix);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = dir.filePath(base + QStringLiteral("-%1").arg(n) + CopySuffix);
    const bool moved = QFile::rename(path_, target);
    removeUnfinishedWrites(path_);
    lock_.reset();
    if (!moved)
        return {};
    // The newest few are kept; the time a copy was written is its file's.
    const QFileInfoList kept = dir.entryInfoList({KeptPrefix + u'*' + CopySuffix}, QDir::Files, QDir::Time);
    for (qsizetype i = RecoveryFolder::KeptCopies; i < kept.size(); ++i)
        if (kept[i].absoluteFilePath() != QFileInfo(target).absoluteFilePath())
            QFile::remove(kept[i].absoluteFilePath());
    return target;
}

// ------------------------------------------------------------- the folder

RecoveryFolder::RecoveryFolder(QString folder) : folder_(std::move(folder)) {}

RecoveryFolder::~RecoveryFolder() = default;

bool RecoveryFolder::hasCopy() const { return !path_.isEmpty() && QFileInfo::exists(path_); }

bool RecoveryFolder::claimName()
{
    if (folder_.isEmpty() || !QDir().mkpath(folder_))
        return false;
    const QDir dir(folder_);
    const QString base = CopyPrefix + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) + u'-' +
                         QString::number(QCoreApplication::applicationPid());
    for (int n = 1; n < 100; ++n) {
        const QString path = dir.filePath(base + (n > 1 ? QStringLiteral("-%1").arg(n) : QString()) + CopySuffix);
        auto lock = tryLock(lockPathOf(path));
        // A name whose copy is still there belongs to a run that has ended:
        // that copy is to be offered, not overwritten.
        if (!lock || QFileInfo::exists(path))
            continue;
        path_ = path;
        lock_ = std::move(lock);
        return true;
    }
    return false;
}

void RecoveryFolder::write(const WindowState &state, const QDateTime &written)
{
    if (!lock_ && !claimName())
        throw XmlError(QStringLiteral("无法在“%1”中建立恢复副本").arg(QDir::toNativeSeparators(folder_)));
    XmlDocument doc;
    buildRecoveryDocument(doc, state, written);
    doc.save(path_);
}

void RecoveryFolder::remove()
{
    if (path_.isEmpty())
        return;
    // The copy first: while it exists its lock says whose it is.
    QFile::remove(path_);
    lock_.reset();
    path_.clear();
}

std::vector<LeftCopy> RecoveryFolder::takeLeftCopies()
{
    std::vector<LeftCopy> left;
    const QDir dir(folder_);
    if (folder_.isEmpty() || !dir.exists())
        return left;
    for (const QFileInfo &info : dir.entryInfoList({CopyPrefix + u'*' + CopySuffix}, QDir::Files, QDir::Time)) {
        const QString path = info.absoluteFilePath();
        if (path == QFileInfo(path_).absoluteFilePath())
            continue;
        auto lock = tryLock(lockPathOf(path));
        if (!lock)
            continue;  // its run goes on, or another run has taken it
        if (!QFileInfo::exists(path))
            continue;  // its run removed it as it ended
        left.emplace_back(path, std::move(lock));
    }
    for (const QFileInfo &info : dir.entryInfoList({CopyPrefix + u'*' + LockSuffix}, QDir::Files | QDir::Hidden)) {
        const QString copy = info.absoluteFilePath().chopped(LockSuffix.size()) + CopySuffix;
        if (QFileInfo::exists(copy) || copy == QFileInfo(path_).absoluteFilePath())
            continue;
        // Taken only when its run has ended; released, it is gone.
        if (auto lock = tryLock(info.absoluteFilePath())) {
            removeUnfinishedWrites(copy);
            lock->unlock();
        }
    }
    return left;
}

QStringList RecoveryFolder::keptCopies() const
{
    QStringList out;
    for (const QFileInfo &info : QDir(folder_).entryInfoList({KeptPrefix + u'*' + CopySuffix}, QDir::Files, QDir::Time))
        out << info.absoluteFilePath();
    return out;
}

}  // namespace varnok
