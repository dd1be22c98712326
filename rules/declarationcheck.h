// The whole declaration checked at once, without saving anything: every check
// of the first tab's "保存" (all of them, not only the first that fails), the
// identity number's check character, an empty work history, lists with an
// edit pending, and changes that are not in the bound file yet.
#pragma once

#include "document/layout.h"

#include <QDate>
#include <array>
#include <vector>

namespace varnok {

inline const QString MsgCheckPassed = QStringLiteral("检查通过：申报资料完整，可以网上申报。");
inline const QString MsgNotSaved = QStringLiteral("申报资料还没有保存到文件，请点击“保存”");
inline const QString MsgChangesNotSaved = QStringLiteral("有修改还没有保存到文件，请点击“保存”");
inline const QString MsgNoWorkHistory = QStringLiteral("还没有填写任何工作简历");
inline const QString MsgEditPending = QStringLiteral("有一条记录正在修改，请点击“保存修改”");
inline const QString MsgChangedElsewhere = QStringLiteral("文件已被其他程序修改，与窗口中的申报资料不同，请点击“保存”");
inline const QString MsgFileUnreadable = QStringLiteral("文件已无法读取，请点击“保存”重新保存");

// Whether the bound document, as it is on disk, holds what the window holds:
// not on disk yet, different from it, the same; written by someone else
// since and different, or no longer readable.
enum class FileState { NotSaved, Differs, Same, ChangedElsewhere, Unreadable };

// The declaration as the window holds it.
struct DeclarationSnapshot {
    FieldValues basic;                          // as BasicPage::values()
    std::array<ListRows, ListCount> lists;      // the grids' entry rows
    std::array<bool, ListCount> editPending{};  // "保存修改" showing
    FileState file = FileState::NotSaved;
};

struct DeclarationProblem {
    int tab;          // tab index: 0 the first tab, listTab() for a list
    QString control;  // objectName of the control that receives the focus
    QString field;    // the field in the form's words
    QString text;
};

inline int listTab(int list) { return 1 + list; }

// The tab's caption: "基本信息" for 0, a list's for listTab().
QString tabCaption(int tab);

// What a declaration holds checked, wherever it comes from (the window or a
// file): the first tab's checks and the check character, an empty work
// history; in the order checkDeclaration gives them.
std::vector<DeclarationProblem> checkContent(const FieldValues &basic, const std::array<ListRows, ListCount> &lists,
                                             const QDate &today);

// Every problem, in the order of the tabs; within the first tab in the order
// its save runs the checks, the check character right after the identity.
// checkContent's problems, and the window's own after each tab's: changes
// not in the file, an entry being edited.
std::vector<DeclarationProblem> checkDeclaration(const DeclarationSnapshot &snapshot, const QDate &today);

}  // namespace varnok
