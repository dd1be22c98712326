// Everywhere but Windows: the short-date format lives in the process.
#include "userlocale.h"

#include <QLocale>

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

}  // namespace varnok::platform
