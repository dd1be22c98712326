// Windows: files and addresses open through the shell.
#include "shell.h"

// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <shellapi.h>

namespace varnok::platform {

bool shellOpen(const wchar_t *verb, const std::wstring &target)
{
    const HINSTANCE result = ShellExecuteW(nullptr, verb, target.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace varnok::platform
