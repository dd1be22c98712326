// Opening a file or an address with the desktop's default handler: the
// Windows shell there, the desktop services elsewhere (which need Qt's GUI,
// so this is built into the window side).
#pragma once

#include <string>

namespace varnok::platform {

// Opened maximised; false when the shell could not open it. verb may be null
// (the default verb).
bool shellOpen(const wchar_t *verb, const std::wstring &target);

}  // namespace varnok::platform
