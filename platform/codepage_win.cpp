// Windows: code page 936 through the system's own conversions.
#include "codepage.h"

#include <windows.h>

namespace varnok::platform {

char16_t decodeCodePage936(unsigned char lead, unsigned char trail)
{
    const char bytes[2] = {char(lead), char(trail)};
    wchar_t out[2] = {};
    const int count = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, trail ? 2 : 1, out, 2);
    return count == 1 ? char16_t(out[0]) : 0;
}

unsigned encodeCodePage936(char16_t character)
{
    const wchar_t in[1] = {wchar_t(character)};
    char out[4] = {};
    BOOL usedDefault = FALSE;
    const int count = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, in, 1, out, sizeof out, nullptr, &usedDefault);
    if (usedDefault || count < 1 || count > 2)
        return 0;
    const auto lead = unsigned(static_cast<unsigned char>(out[0]));
    return count == 1 ? lead : lead << 8 | static_cast<unsigned char>(out[1]);
}

}  // namespace varnok::platform
