#include "language.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace varnok {

namespace {

// Qt 6 asks for a few texts under a context its Chinese catalogue still files
// them under as in Qt 5: the file list's "Folder" and "Drive" are asked for
// as QAbstractFileIconProvider, translated as QFileDialog.
class RenamedContexts : public QTranslator {
public:
    RenamedContexts(const QTranslator &catalogue, QObject *parent) : QTranslator(parent), catalogue_(catalogue) {}

    QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") == 0)
            return catalogue_.translate("QFileDialog", sourceText, disambiguation, n);
        return {};
    }
    bool isEmpty() const override { return false; }

private:
    const QTranslator &catalogue_;
};

// The file list of a file dialog writes sizes and dates in the system's
// locale, English under C ("120 bytes", "8 Dec 2026"); here they follow the
// program: sizes in its locale ("120 字节"), dates as yyyy-MM-dd and the time.
class FileListFormats : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    enum Column { Name, Size, Type, Modified };

    QVariant data(const QModelIndex &index, int role) const override
    {
        auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (files && role == Qt::DisplayRole && (index.column() == Size || index.column() == Modified)) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == Modified)
                return files->lastModified(source).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
            if (!files->isDir(source))
                return QLocale().formattedDataSize(files->size(source));
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// Gives every file dialog those formats when it is first shown: the
// program's own and those Qt opens itself (the print dialog's file chooser).
class FileDialogFormats : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *dialog = qobject_cast<QFileDialog *>(watched); dialog && !dialog->proxyModel())
                dialog->setProxyModel(new FileListFormats(dialog));
        return false;
    }
};

}  // namespace

QString loadQtCatalogue(QTranslator &translator, const QStringList &folders)
{
    for (const QString &folder : folders)
        if (!folder.isEmpty() && translator.load(QtCatalogueName, folder))
            return translator.filePath();
    return {};
}

QStringList qtCatalogueFolders()
{
    return {EmbeddedCatalogueFolder, QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QString applyChineseLanguage()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China));
    // Qt's own dialogs everywhere, also those Qt opens itself (the print
    // dialog's file chooser): a native one follows the desktop's language.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    static FileDialogFormats *formats = nullptr;
    if (!formats) {
        formats = new FileDialogFormats(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(formats);
    }

    // One catalogue for the whole process, however often this runs.
    static QTranslator *installed = nullptr;
    if (installed)
        return installed->filePath();
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString path = loadQtCatalogue(*translator, qtCatalogueFolders());
    if (path.isEmpty()) {
        delete translator;
        return {};
    }
    QCoreApplication::installTranslator(translator);
    QCoreApplication::installTranslator(new RenamedContexts(*translator, translator));
    installed = translator;
    return path;
}

}  // namespace varnok
