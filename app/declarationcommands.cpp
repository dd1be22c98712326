// The commands that look at the whole declaration without saving it: "打印"
// (print preview, printing and the PDF copy) and "检查" (every problem at once).
#include "app/mainwindow.h"

#include "lists/recordlist.h"
#include "pages/basicpage.h"
#include "report/declarationreport.h"
#include "report/printpreview.h"
#include "rules/declarationcheck.h"
#include "widgets/prompts.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>

namespace varnok {

QString TForm1::pdfFolder() const
{
    if (file_.path().isEmpty())
        return programDir_;
    return QDir::toNativeSeparators(QFileInfo(file_.path()).absolutePath()) + QDir::separator();
}

void TForm1::Label46Click()
{
    const std::unique_ptr<QTextDocument> report = buildDeclarationReport(page_->values(), listRows());
    PrintPreview preview(*report, prompts_, pdfFolder(), proposedPdfName(page_->nameField()->text()), this);
    preview.exec();
}

void TForm1::Label47Click()
{
    const Declaration now = held();
    DeclarationSnapshot snapshot{now.basic, now.lists, {}, file_.compare(now)};
    for (int l = 0; l < ListCount; ++l)
        snapshot.editPending[size_t(l)] = lists_[size_t(l)]->inEditMode();

    const std::vector<DeclarationProblem> problems = checkDeclaration(snapshot, QDate::currentDate());
    if (problems.empty()) {
        prompts_.message(this, MsgCheckPassed);
        return;
    }
    QList<ReportLine> lines;
    for (const DeclarationProblem &p : problems)
        lines.append({PageControl1->tabText(p.tab), p.field, p.text});
    const int chosen = prompts_.checkReport(this, lines);
    if (chosen >= 0 && chosen < int(problems.size()))
        focusControl(problems[size_t(chosen)].tab, problems[size_t(chosen)].control);
}

void TForm1::focusControl(int tab, const QString &name)
{
    PageControl1->setCurrentIndex(tab);
    QWidget *target = PageControl1->widget(tab)->findChild<QWidget *>(name);
    // "保存" stays disabled until a name is typed; the name comes first then.
    if (target && !target->isEnabled())
        target = page_->nameField();
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

}  // namespace varnok
