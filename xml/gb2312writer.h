// The encoder behind documents declared "GB2312".
#pragma once

namespace varnok {

// Register libxml2's output handler for "GB2312". It writes the characters
// of the GB2312 set with the bytes that code page 936 and GB18030 readers
// (this program's reader among them) decode back to the same characters;
// everything else becomes a numeric character reference. The iconv table
// alone is not enough: it writes U+30FB and U+2015 as bytes that every such
// reader takes for U+00B7 and U+2014.
// Safe to call more than once; does nothing where libxml2 has no GB18030.
void registerGb2312Writer();

}  // namespace varnok
