#include "deskcheck.h"

#include "document/basicfields.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <filesystem>
#include <map>
#include <system_error>

namespace varnok {

QString DeskRow::verdict() const
{
    if (!check.readable())
        return VerdictUnreadable;
    return check.problems.empty() ? VerdictPassed : QString::number(check.problems.size());
}

QStringList DeskRow::problemLines() const
{
    QStringList lines;
    if (!check.readable())
        lines << check.refusal;
    for (const DeclarationProblem &p : check.problems)
        lines << problemText(p);
    return lines;
}

namespace {

// Windows' file names do not tell case apart.
QString fileKey(const QString &canonical)
{
#ifdef _WIN32
    return canonical.toLower();
#else
    return canonical;
#endif
}

bool isDeclarationName(const QFileInfo &file) { return file.suffix().compare(u"xml", Qt::CaseInsensitive) == 0; }

// Qt lists an unreadable folder as an empty one; the system says why.
QString unlistable(const QFileInfo &folder)
{
    std::error_code error;
    std::filesystem::directory_iterator probe(folder.filesystemAbsoluteFilePath(), error);
    if (!error)
        return {};
    return QStringLiteral("无法读取文件夹“%1”：%2")
        .arg(QDir::toNativeSeparators(folder.filePath()), QString::fromLocal8Bit(error.message()));
}

class Finder {
public:
    explicit Finder(const QString &shownFrom) : shownFrom_(shownFrom) {}

    void add(const QString &given)
    {
        const QFileInfo info(given);
        if (!info.exists())
            push(given, QStringLiteral("找不到文件或文件夹“%1”。").arg(QDir::toNativeSeparators(given)), {});
        else if (info.isDir())
            walk(given);
        else
            push(given, {}, info.canonicalFilePath());
    }

    std::vector<DeskTarget> targets;

private:
    void push(const QString &path, const QString &refusal, const QString &canonical)
    {
        const QString shown = shownFrom_.isEmpty() ? path : QDir(shownFrom_).relativeFilePath(path);
        targets.push_back({QDir::toNativeSeparators(path), QDir::toNativeSeparators(shown), refusal, canonical});
    }

    void walk(const QString &folder)
    {
        const QFileInfo info(folder);
        // A link back up the tree is walked once.
        const QString canonical = info.canonicalFilePath();
        if (visited_.contains(canonical))
            return;
        visited_.insert(canonical);
        if (const QString why = unlistable(info); !why.isEmpty()) {
            push(folder, why, canonical);
            return;
        }
        const QDir dir(folder);
        for (const QFileInfo &file : dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware))
            if (isDeclarationName(file))
                // Only a link needs the system to say where it leads.
                push(QDir::cleanPath(folder + u'/' + file.fileName()), {},
                     file.isSymLink() ? file.canonicalFilePath() : canonical + u'/' + file.fileName());
        for (const QFileInfo &sub :
             dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware))
            walk(QDir::cleanPath(folder + u'/' + sub.fileName()));
    }

    QString shownFrom_;
    QSet<QString> visited_;
};

}  // namespace

std::vector<DeskTarget> findDeclarations(const QStringList &paths, const QString &shownFrom)
{
    Finder finder(shownFrom);
    for (const QString &path : paths)
        finder.add(path);
    return finder.targets;
}

DeskRun checkDeclarations(const QStringList &paths, const QDate &today, const QString &shownFrom,
                          const DeskProgress &progress)
{
    const std::vector<DeskTarget> targets = findDeclarations(paths, shownFrom);
    DeskRun run;
    run.total = int(targets.size());
    run.rows.reserve(targets.size());
    // A file reached twice is read once.
    QHash<QString, FileCheck> checked;
    for (const DeskTarget &target : targets) {
        DeskRow row{target.shown, {}, target.canonical};
        if (!target.refusal.isEmpty()) {
            row.check.path = target.path;
            row.check.refusal = target.refusal;
        } else {
            const QString canonical = fileKey(target.canonical);
            const auto seen = checked.constFind(canonical);
            if (seen != checked.cend()) {
                row.check = *seen;
                row.check.path = target.path;
            } else {
                row.check = checkDeclarationFile(target.path, today);
                checked.insert(canonical, row.check);
            }
        }
        // The reader names the file as it was given; the table names it shorter.
        row.check.refusal.replace(u'“' + target.path + u'”', u'“' + target.shown + u'”');
        run.rows.push_back(std::move(row));
        if (progress && !progress(int(run.rows.size()), run.total))
            break;
    }
    addCrossFileProblems(run.rows);
    return run;
}

void addCrossFileProblems(std::vector<DeskRow> &rows)
{
    std::vector<QString> canonical;
    canonical.reserve(rows.size());
    std::map<QString, std::vector<size_t>> byFile, byNumber;
    for (size_t i = 0; i < rows.size(); ++i) {
        canonical.push_back(fileKey(rows[i].canonical));
        if (!canonical[i].isEmpty())
            byFile[canonical[i]].push_back(i);
        const QString number = rows[i].check.idNumber.trimmed().toUpper();
        if (rows[i].check.readable() && !number.isEmpty())
            byNumber[number].push_back(i);
    }
    // The others of a group, by how the table shows them.
    auto others = [&](const std::vector<size_t> &group, size_t row, bool sameFile) {
        QStringList names;
        for (size_t j : group)
            if (j != row && (canonical[j] == canonical[row]) == sameFile && rows[j].shown != rows[row].shown &&
                !names.contains(rows[j].shown))
                names << rows[j].shown;
        return names.join(u'、');
    };

    std::vector<std::vector<DeclarationProblem>> before(rows.size()), identity(rows.size());
    for (const auto &[file, group] : byFile)
        if (group.size() > 1)
            for (size_t i : group) {
                // The same path given twice names no other.
                const QString names = others(group, i, true);
                before[i].push_back({-1,
                                     {},
                                     {},
                                     names.isEmpty() ? QStringLiteral("同一个文件出现了 %1 次").arg(group.size())
                                                     : QStringLiteral("与 %1 是同一个文件").arg(names)});
            }
    const QString cer = QStringLiteral("W_cer");
    for (const auto &[number, group] : byNumber)
        for (size_t i : group)
            if (const QString names = others(group, i, false); !names.isEmpty())
                identity[i].push_back({0, cer, basicWords(cer), QStringLiteral("证件号码与 %1 重复").arg(names)});

    for (size_t i = 0; i < rows.size(); ++i) {
        std::vector<DeclarationProblem> &problems = rows[i].check.problems;
        // The identity number's duplicate after the first tab's problems.
        auto end = problems.begin();
        while (end != problems.end() && end->tab <= 0)
            ++end;
        problems.insert(end, identity[i].begin(), identity[i].end());
        problems.insert(problems.begin(), before[i].begin(), before[i].end());
    }
}

QString deskSummary(const std::vector<DeskRow> &rows)
{
    int passed = 0, unreadable = 0;
    for (const DeskRow &row : rows) {
        passed += row.check.readable() && row.check.problems.empty();
        unreadable += !row.check.readable();
    }
    const int withProblems = int(rows.size()) - passed - unreadable;
    return QStringLiteral("共 %1 个文件：通过 %2 个，有问题 %3 个，无法读取 %4 个。")
        .arg(rows.size())
        .arg(passed)
        .arg(withProblems)
        .arg(unreadable);
}

}  // namespace varnok
