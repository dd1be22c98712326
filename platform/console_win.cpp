// Windows: WriteConsoleW for a console, UTF-8 bytes for a file or a pipe.
#include "console.h"

#include <windows.h>

#include <cstdio>

namespace varnok::platform {

void writeConsole(const std::string &utf8, bool toError)
{
    std::FILE *stream = toError ? stderr : stdout;
    const HANDLE handle = GetStdHandle(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode)) {
        const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
        std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), length);
        std::fflush(stream);
        DWORD written = 0;
        if (WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &written, nullptr))
            return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

}  // namespace varnok::platform
