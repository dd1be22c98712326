// The commands that write or read the application document: the first tab's
// "保存", "另存为..." and "打开".
#include "app/mainwindow.h"

#include "document/layout.h"
#include "document/values.h"
#include "widgets/recordgrid.h"
#include "rules/basicchecks.h"
#include "platform/folders.h"
#include "widgets/prompts.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace varnok {

namespace {
const QString QuestionOpenUnsaved = QStringLiteral("填写的文件还没有保存！确认要打开其他文件吗?");
}  // namespace

QString TForm1::proposedFileName() const
{
    return page.W_name->text() + formatDate(QDate::currentDate()) + u'-' + RandomDigits() + QStringLiteral(".xml");
}

void TForm1::Button6Click()
{
    const FieldValues values = page.values();
    const auto failures = basicSaveFailures(values, QDate::currentDate());
    if (!failures.empty()) {
        const CheckFailure &failed = failures.front();
        prompts_.message(this, failed.message);
        // The field must be visible to take the focus.
        PageControl1->setCurrentIndex(0);
        page.control(failed.focus)->setFocus();
        return;
    }

    buildBasicDocument(XMLDocument1, values);

    bool chosenNow = false;
    if (currentPath_.isEmpty()) {
        const QString chosen = prompts_.saveFileName(this, page.W_name->text() + QStringLiteral("申报资料保存"),
                                                     saveDialogFolder_, proposedFileName());
        if (chosen.isEmpty())
            return;
        currentPath_ = chosen;
        chosenNow = true;
    }
    basicWritten_ = false;
    try {
        XMLDocument1.save(currentPath_);
        basicWritten_ = true;
        // A fresh document: the lists are in it once their saves below ran.
        saved_ = Declaration{values, {}};
    } catch (...) {
        // Nothing was written: stay unbound rather than bound to a file that
        // does not exist.
        if (chosenNow)
            currentPath_.clear();
        throw;
    }

    void (TForm1::*listSaves[ListCount])() = {&TForm1::Button16Click, &TForm1::Button18Click,
                                               &TForm1::Button11Click, &TForm1::Button3Click};
    for (int l = 0; l < ListCount; ++l)
        if (lists_[size_t(l)]->grid()->rowCount() > 1)
            (this->*listSaves[l])();

    setStatusPath(currentPath_);
    prompts_.message(this, QStringLiteral("文件保存成功！"));
    if (list(WorkHistory).grid()->rowCount() < 2) {
        prompts_.message(this, QStringLiteral("请接着填写工作简历后保存！"));
        PageControl1->setCurrentIndex(1);
    }
}

void TForm1::Label44Click()
{
    const QString chosen = prompts_.saveFileName(this, page.W_name->text() + QStringLiteral("申报资料另存为..."),
                                                 saveDialogFolder_, proposedFileName());
    if (chosen.isEmpty())
        return;
    const QString previous = currentPath_;
    currentPath_ = chosen;
    basicWritten_ = false;
    try {
        Button6Click();
    } catch (...) {
        // A save that could not write the chosen file leaves the window bound
        // as it was, never to a file it did not write.
        if (!basicWritten_)
            currentPath_ = previous;
        throw;
    }
    setStatusPath(currentPath_);
}

void TForm1::Label12Click()
{
    if (!mayDiscard(QuestionOpenUnsaved))
        return;
    programDir_ = platform::programDirectory(QCoreApplication::applicationDirPath());
    const QString chosen = prompts_.openFileName(this, programDir_);
    if (chosen.isEmpty())
        return;

    // Read and convert the whole document before touching the window: a file
    // that fails leaves the window, its path and the status bar as they were.
    XmlDocument doc;
    doc.loadFromFile(chosen);
    const Declaration declaration = readDeclaration(doc);

    currentPath_ = chosen;
    setStatusPath(currentPath_);
    ClearAllFields();
    XMLDocument1 = std::move(doc);
    page.Button6->setEnabled(true);
    page.setValues(declaration.basic);
    for (int l = 0; l < ListCount; ++l)
        lists_[size_t(l)]->appendEntries(declaration.lists[size_t(l)]);
    saved_ = held();
}

}  // namespace varnok
