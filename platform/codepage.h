// Code page 936: the GBK that Windows programs write under the label
// "GB2312", converted as the system converts it. On Windows these are the
// system's own conversions; elsewhere a stand-in behaves the same way.
// Kept free of Qt so the Windows source compiles on its own.
#pragma once

namespace varnok::platform {

// The character one byte (trail 0) or two bytes stand for; 0 when the code
// page defines none.
char16_t decodeCodePage936(unsigned char lead, unsigned char trail);

// The one or two bytes of a character exactly as the code page has it, two
// bytes as lead << 8 | trail; 0 when it has none (no best fit, no default
// character).
unsigned encodeCodePage936(char16_t character);

}  // namespace varnok::platform
