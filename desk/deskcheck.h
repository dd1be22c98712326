// The employer's desk: many declarations checked in one run, as the
// personnel clerk collects them. Each path is a declaration or a folder,
// searched with its sub-folders for *.xml; every file found is one row, and
// so is every path or folder that cannot be read. Across the files, the same
// identity number in two or more of them, and the same file reached twice,
// are problems of each. Nothing is written anywhere.
#pragma once

#include "declaration/filecheck.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace varnok {

inline const QString VerdictPassed = QStringLiteral("通过");
inline const QString VerdictUnreadable = QStringLiteral("无法读取");

struct DeskRow {
    QString shown;  // the file as the table shows it: as given, or relative to the folder chosen
    FileCheck check;
    QString canonical;  // the file without links and dots; empty when it does not exist

    // "通过", the number of problems, or "无法读取".
    QString verdict() const;
    // Every problem as a line, or the refusal.
    QStringList problemLines() const;
};

// The files the paths name, in order: a file as given, a folder's *.xml
// files (any case of the suffix) name by name, then its sub-folders'. A path
// that does not exist, or a folder that cannot be read, is a row of its own
// with the reason (its check's refusal).
struct DeskTarget {
    QString path;       // to read
    QString shown;      // as the table shows it
    QString refusal;    // why it cannot be looked at; empty for a file to check
    QString canonical;  // as DeskRow's
};
std::vector<DeskTarget> findDeclarations(const QStringList &paths, const QString &shownFrom = {});

// Called after each file with how many are done; false stops the run.
using DeskProgress = std::function<bool(int done, int total)>;

struct DeskRun {
    std::vector<DeskRow> rows;
    int total = 0;  // files found; more than rows.size() when stopped
    bool stopped() const { return int(rows.size()) < total; }
};

// Find and check every declaration the paths name. Paths are shown as
// given, or relative to shownFrom when it is a folder.
DeskRun checkDeclarations(const QStringList &paths, const QDate &today, const QString &shownFrom = {},
                          const DeskProgress &progress = {});

// The problems across the rows: the same identity number, the same file.
void addCrossFileProblems(std::vector<DeskRow> &rows);

// "共 5 个文件：通过 2 个，有问题 2 个，无法读取 1 个。"
QString deskSummary(const std::vector<DeskRow> &rows);

}  // namespace varnok
