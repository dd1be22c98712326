// Windows: the user's locale settings and the shell, through the Win32 API.
#include "userlocale.h"

// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <shellapi.h>

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

bool shellOpen(const wchar_t *verb, const std::wstring &target)
{
    const HINSTANCE result = ShellExecuteW(nullptr, verb, target.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace varnok::platform
