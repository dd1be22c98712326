// Everywhere but Windows: the short-date format lives in the process, and
// files and addresses open through the desktop services.
#include "userlocale.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

namespace varnok::platform {

namespace {

std::string &standIn()
{
    static std::string format = QLocale::system().dateFormat(QLocale::ShortFormat).toStdString();
    return format;
}

int broadcasts = 0;

}  // namespace

std::string readUserShortDate() { return standIn().substr(0, ShortDateBufferSize - 1); }

void writeUserShortDate(const std::string &format) { standIn() = format; }

void broadcastSettingChange() { ++broadcasts; }

void setStandInShortDate(const std::string &format) { standIn() = format; }

int standInBroadcastCount() { return broadcasts; }

bool shellOpen(const wchar_t *, const std::wstring &target)
{
    const QString text = QString::fromStdWString(target);
    const QUrl url =
        text.contains(QLatin1String("://")) ? QUrl(text) : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

}  // namespace varnok::platform
