// The commands that write or read the application document: the first tab's
// "保存", each list's "保存", "另存为..." and "打开" (also of a file the
// desk's table names).
#include "app/mainwindow.h"

#include "document/values.h"
#include "lists/recordlist.h"
#include "pages/basicpage.h"
#include "platform/folders.h"
#include "rules/basicchecks.h"
#include "widgets/prompts.h"
#include "widgets/recordgrid.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace varnok {

namespace {
const QString QuestionOpenUnsaved = QStringLiteral("填写的文件还没有保存！确认要打开其他文件吗?");
const QString MsgFillBasicFirst = QStringLiteral("请先填写基本信息");
}  // namespace

QString TForm1::proposedFileName() const
{
    return page_->nameField()->text() + formatDate(QDate::currentDate()) + u'-' + RandomDigits() +
           QStringLiteral(".xml");
}

bool TForm1::passesSaveChecks(const FieldValues &values)
{
    const auto failures = basicSaveFailures(values, QDate::currentDate());
    if (failures.empty())
        return true;
    const CheckFailure &failed = failures.front();
    prompts_.message(this, failed.message);
    // The field must be visible to take the focus.
    PageControl1->setCurrentIndex(0);
    page_->control(failed.focus)->setFocus();
    return false;
}

void TForm1::Button6Click()
{
    const FieldValues values = page_->values();
    if (!passesSaveChecks(values))
        return;
    QString path = file_.path();
    // The whole file is written anew: what another program wrote into it
    // since it was read is lost unless the user agrees.
    if (!path.isEmpty() && file_.changedElsewhere() &&
        !prompts_.question(this, QStringLiteral("文件“%1”在打开后已被其他程序修改。仍要保存并覆盖它吗?")
                                     .arg(QDir::toNativeSeparators(path))))
        return;
    if (path.isEmpty()) {
        path = prompts_.saveFileName(this, page_->nameField()->text() + QStringLiteral("申报资料保存"),
                                     saveDialogFolder_, proposedFileName());
        if (path.isEmpty())
            return;
    }
    writeDeclaration(values, path);
}

void TForm1::Label44Click()
{
    const QString chosen = prompts_.saveFileName(this, page_->nameField()->text() + QStringLiteral("申报资料另存为..."),
                                                 saveDialogFolder_, proposedFileName());
    if (chosen.isEmpty())
        return;
    const FieldValues values = page_->values();
    if (!passesSaveChecks(values)) {
        // Bound to the chosen file all the same, to be written by the next save.
        file_.rebind(chosen);
        showPath(chosen);
        return;
    }
    writeDeclaration(values, chosen);
}

// The window is bound to path once the basic information is written there; a
// file that cannot be written leaves it bound as it was.
void TForm1::writeDeclaration(const FieldValues &values, const QString &path)
{
    file_.save({values, listRows()}, path);
    for (RecordList *l : lists_) {
        if (l->entryCount() > 0)
            l->saveButton()->setEnabled(false);
        l->forgetRemoved();
    }
    showPath(file_.path());
    emit bindingChanged();
    prompts_.message(this, QStringLiteral("文件保存成功！"));
    if (list(WorkHistory).grid()->rowCount() < 2) {
        prompts_.message(this, QStringLiteral("请接着填写工作简历后保存！"));
        PageControl1->setCurrentIndex(1);
    }
}

void TForm1::saveList(ListId id)
{
    RecordList &rl = list(id);
    if (file_.path().isEmpty() && page_->nameField()->text().isEmpty()) {
        prompts_.message(this, MsgFillBasicFirst);
        PageControl1->setCurrentIndex(0);
        page_->nameField()->setFocus();
        return;
    }
    if (!file_.writeList(id, rl.rows()))
        return;
    showPath(file_.path());
    rl.saveButton()->setEnabled(false);
    rl.forgetRemoved();
    emit bindingChanged();
}

void TForm1::Label12Click()
{
    if (!mayDiscard(QuestionOpenUnsaved))
        return;
    programDir_ = platform::programDirectory(QCoreApplication::applicationDirPath());
    const QString chosen = prompts_.openFileName(this, programDir_);
    if (chosen.isEmpty())
        return;
    openDeclaration(chosen);
}

void TForm1::openFromDesk(const QString &path)
{
    if (mayDiscard(QuestionOpenUnsaved))
        openDeclaration(path);
}

void TForm1::openDeclaration(const QString &chosen)
{
    // Read and convert the whole document before touching the window: a file
    // that fails leaves the window, its binding and the status bar as they were.
    FileStamp stamp;
    const Declaration declaration = DeclarationFile::read(chosen, &stamp);

    showPath(chosen);
    ClearAllFields();
    page_->saveButton()->setEnabled(true);
    page_->setValues(declaration.basic);
    for (int l = 0; l < ListCount; ++l)
        lists_[size_t(l)]->appendEntries(declaration.lists[size_t(l)]);
    file_.bindRead(chosen, held(), stamp);
    emit bindingChanged();
}

}  // namespace varnok
