// Chinese text in documents: libxml2's handlers for the labels "GB2312",
// "GBK", "GB18030" and "CP936". Reading decodes what Windows programs write
// under those labels (code page 936, and GB18030's four-byte sequences);
// writing writes exactly the GB2312 set, with the bytes code page 936 and
// GB18030 readers (this program among them) decode back to the same
// characters, and leaves everything else to numeric character references.
// The system's code page 936 does the converting (platform/codepage.h), so
// the bytes are the same on every system.
#pragma once

namespace varnok {

// Register the handlers with libxml2; safe to call more than once.
void registerChineseEncodings();

// Whether GB2312 defines these two bytes (lead << 8 | trail): the bytes the
// writer may use.
bool inGb2312Set(unsigned twoBytes);

// The name documents declare, and the handler that reads them.
inline constexpr const char *Gb2312Label = "GB2312";

}  // namespace varnok
