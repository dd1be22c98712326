// Everywhere but Windows: files and addresses open through the desktop services.
#include "shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace varnok::platform {

bool shellOpen(const wchar_t *, const std::wstring &target)
{
    const QString text = QString::fromStdWString(target);
    const QUrl url =
        text.contains(QLatin1String("://")) ? QUrl(text) : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

}  // namespace varnok::platform
