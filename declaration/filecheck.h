// One declaration file checked as "检查" checks the window, without a window:
// read through DeclarationFile::read with the reader's limits, the fields
// taken as "打开" would show them, and checkContent's problems. Nothing is
// written.
#pragma once

#include "rules/declarationcheck.h"

#include <QDate>
#include <QString>
#include <array>
#include <vector>

namespace varnok {

struct FileCheck {
    QString path;
    QString refusal;  // why the file cannot be read; empty when it was read
    QString name;     // 姓名, 证件号码, 现任专业技术职务, 学历 as the window shows them
    QString idNumber;
    QString title;
    QString education;
    std::array<int, ListCount> entries{};  // per list
    std::vector<DeclarationProblem> problems;

    bool readable() const { return refusal.isEmpty(); }
};

FileCheck checkDeclarationFile(const QString &path, const QDate &today);

// "基本信息·姓名：姓名或者证件号码必须填写！"; a problem of no tab is its text.
QString problemText(const DeclarationProblem &problem);

}  // namespace varnok
