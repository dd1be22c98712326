// Text for a terminal: a Windows console shows it as its own characters,
// whatever the console's code page (WriteConsoleW); into a file or a pipe,
// and elsewhere, it goes as UTF-8 bytes. Kept free of Qt so the Windows
// source compiles on its own.
#pragma once

#include <string>

namespace varnok::platform {

// Standard output, or standard error when toError.
void writeConsole(const std::string &utf8, bool toError);

}  // namespace varnok::platform
