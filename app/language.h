// Chinese throughout, whatever the desktop's locale: Qt's own texts (file and
// print dialogs, the right-click menus of entry fields, the calendar's
// buttons) from Qt's Simplified Chinese catalogue, and Chinese (China) as the
// locale every widget starts with, so that calendars name months and days in
// Chinese. Dates keep the "yyyy-MM-dd" the pickers are given; the file lists
// of file dialogs show sizes in that locale and dates as yyyy-MM-dd too.
#pragma once

#include <QString>
#include <QStringList>

class QTranslator;

namespace varnok {

// Qt's catalogue, as embedded in the program.
inline const QString QtCatalogueName = QStringLiteral("qtbase_zh_CN");
inline const QString EmbeddedCatalogueFolder = QStringLiteral(":/translations");

// Load the catalogue from the first of these folders that has it; the path
// it was read from, empty when none had it.
QString loadQtCatalogue(QTranslator &translator, const QStringList &folders);

// The embedded catalogue, or Qt's installed one when that is missing.
QStringList qtCatalogueFolders();

// Make Chinese (China) the default locale, install Qt's catalogue, use Qt's
// own dialogs rather than the desktop's (which follow its language) and give
// their file lists the program's formats; call
// once after the application object exists and before any window is built.
// Returns the catalogue's path, empty when none could be loaded (Qt's texts
// then stay English, nothing else changes).
QString applyChineseLanguage();

}  // namespace varnok
