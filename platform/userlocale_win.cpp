// Windows: the user's locale settings, through the Win32 API.
#include "userlocale.h"

#include <windows.h>

namespace varnok::platform {

std::string readUserShortDate()
{
    char buffer[ShortDateBufferSize] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buffer, ShortDateBufferSize);
    buffer[ShortDateBufferSize - 1] = '\0';
    return buffer;
}

void writeUserShortDate(const std::string &format)
{
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format.c_str());
}

void broadcastSettingChange()
{
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_ABORTIFHUNG, 10, nullptr);
}

}  // namespace varnok::platform
