#include "filecheck.h"

#include "declaration/declarationfile.h"

namespace varnok {

namespace {

bool holdsNothing(const Declaration &declaration)
{
    for (const ListRows &rows : declaration.lists)
        if (!rows.isEmpty())
            return false;
    return declaration.basic.isEmpty();
}

}  // namespace

FileCheck checkDeclarationFile(const QString &path, const QDate &today)
{
    FileCheck check;
    check.path = path;
    Declaration declaration;
    try {
        declaration = DeclarationFile::read(path);
    } catch (const std::bad_alloc &) {
        check.refusal = QStringLiteral("内存不足，无法读取文件“%1”。").arg(path);
        return check;
    } catch (const std::exception &e) {
        check.refusal = QString::fromUtf8(e.what());
        return check;
    }
    // An XML file of another program opens as an empty window; here it is
    // no declaration at all.
    if (holdsNothing(declaration)) {
        check.refusal = QStringLiteral("文件“%1”中没有基本信息、学历或任何一条记录，不是本程序的申报资料。").arg(path);
        return check;
    }

    // What the window shows once "打开" has read the file: its values over
    // those of a cleared window.
    FieldValues shown = clearedBasicValues(today);
    for (auto it = declaration.basic.cbegin(); it != declaration.basic.cend(); ++it)
        shown[it.key()] = it.value();
    check.name = shown.value(QStringLiteral("W_name"));
    check.idNumber = shown.value(QStringLiteral("W_cer"));
    check.title = shown.value(QStringLiteral("W_zyzw"));
    check.education = shown.value(QStringLiteral("W_xueli"));
    for (int l = 0; l < ListCount; ++l)
        check.entries[size_t(l)] = int(declaration.lists[size_t(l)].size());
    check.problems = checkContent(shown, declaration.lists, today);
    return check;
}

QString problemText(const DeclarationProblem &problem)
{
    const QString tab = tabCaption(problem.tab);
    if (tab.isEmpty())
        return problem.text;
    return tab + u'·' + problem.field + u'：' + problem.text;
}

}  // namespace varnok
