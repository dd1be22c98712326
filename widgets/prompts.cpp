#include "prompts.h"

#include "widgets/checkdialog.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace varnok {

namespace {

// Qt's own dialog, in the program's language (see app/language.h): a native
// one follows the desktop's.
void prepare(QFileDialog &dialog) { dialog.setOption(QFileDialog::DontUseNativeDialog); }

class DesktopPrompts : public Prompts {
public:
    void message(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, AppTitle, text, QMessageBox::Ok, parent);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        box.setAccessibleDescription(text);
        box.exec();
    }

    bool question(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::Question, QuestionCaption, text, QMessageBox::Yes | QMessageBox::No, parent);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        box.setAccessibleDescription(text);
        return box.exec() == QMessageBox::Yes;
    }

    void error(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::Critical, AppTitle, text, QMessageBox::Ok, parent);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        box.setAccessibleDescription(text);
        box.exec();
    }

    QString openFileName(QWidget *parent, const QString &folder) override
    {
        QFileDialog dialog(parent, QString(), folder, XmlFilter);
        prepare(dialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }

    QString saveFileName(QWidget *parent, const QString &title, const QString &folder,
                         const QString &proposedName) override
    {
        QFileDialog dialog(parent, title, folder, XmlFilter);
        prepare(dialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("xml"));
        dialog.selectFile(proposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }

    QString savePdfFileName(QWidget *parent, const QString &folder, const QString &proposedName) override
    {
        QFileDialog dialog(parent, QStringLiteral("导出PDF"), folder, PdfFilter);
        prepare(dialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        dialog.selectFile(proposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }

    QString folderName(QWidget *parent, const QString &title, const QString &folder) override
    {
        QFileDialog dialog(parent, title, folder);
        prepare(dialog);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }

    QStringList openFileNames(QWidget *parent, const QString &title, const QString &folder) override
    {
        QFileDialog dialog(parent, title, folder, XmlFilter);
        prepare(dialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        QStringList files;
        for (const QString &file : dialog.selectedFiles())
            files << QDir::toNativeSeparators(file);
        return files;
    }

    QString saveExportName(QWidget *parent, const QString &title, const QString &folder, const QString &proposedName,
                           const QString &filter, const QString &suffix) override
    {
        QFileDialog dialog(parent, title, folder, filter);
        prepare(dialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(suffix);
        dialog.selectFile(proposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }

    int checkReport(QWidget *parent, const QList<ReportLine> &lines) override
    {
        CheckDialog dialog(lines, parent);
        dialog.exec();
        return dialog.chosen();
    }
};

}  // namespace

Prompts &desktopPrompts()
{
    static DesktopPrompts prompts;
    return prompts;
}

}  // namespace varnok
