// Elsewhere: terminals take UTF-8.
#include "console.h"

#include <cstdio>

namespace varnok::platform {

void writeConsole(const std::string &utf8, bool toError)
{
    std::FILE *stream = toError ? stderr : stdout;
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

}  // namespace varnok::platform
