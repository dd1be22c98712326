#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace varnok {

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
    installed = translator;
    return path;
}

}  // namespace varnok
