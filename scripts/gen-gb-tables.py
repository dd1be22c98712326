#!/usr/bin/env python3
"""Writes xml/gbtables.inc: which two-byte codes GB2312 defines, and GB18030's
four-byte ranges over the Basic Multilingual Plane, both taken from the C
library's iconv (GB2312, GB18030). The program reads and writes Chinese text
through the system's code page 936 and these two tables, so that it needs no
iconv of its own and writes the same bytes everywhere.

    scripts/gen-gb-tables.py > xml/gbtables.inc
"""
import ctypes
import ctypes.util

libc = ctypes.CDLL(ctypes.util.find_library('c'))
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t),
                       ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)]
libc.iconv.restype = ctypes.c_size_t


def converter(to, frm):
    cd = libc.iconv_open(to, frm)

    def convert(data):
        inbuf = ctypes.create_string_buffer(data, len(data))
        inp = ctypes.c_char_p(ctypes.addressof(inbuf))
        inleft = ctypes.c_size_t(len(data))
        out = ctypes.create_string_buffer(16)
        outp = ctypes.c_char_p(ctypes.addressof(out))
        outleft = ctypes.c_size_t(16)
        libc.iconv(cd, None, None, None, None)
        r = libc.iconv(cd, ctypes.byref(inp), ctypes.byref(inleft), ctypes.byref(outp), ctypes.byref(outleft))
        if r == ctypes.c_size_t(-1).value or inleft.value:
            return None
        return out.raw[:16 - outleft.value]
    return convert


gb2312 = converter(b'UTF-32LE', b'GB2312')
to_gb18030 = converter(b'GB18030', b'UTF-32LE')

ranges = []
for lead in range(0xA1, 0xF8):
    trails = [t for t in range(0xA1, 0xFF) if gb2312(bytes([lead, t])) is not None]
    for t in trails:
        if ranges and ranges[-1][0] == lead and ranges[-1][2] == t - 1:
            ranges[-1][2] = t
        else:
            ranges.append([lead, t, t])


def linear(b):
    return (((b[0] - 0x81) * 10 + (b[1] - 0x30)) * 126 + (b[2] - 0x81)) * 10 + (b[3] - 0x30)


four = []
for cp in range(0x80, 0x10000):
    if 0xD800 <= cp <= 0xDFFF:
        continue
    b = to_gb18030(cp.to_bytes(4, 'little'))
    if b is None or len(b) != 4:
        continue
    index = linear(b)
    if four and four[-1][0] + four[-1][2] == index and four[-1][1] + four[-1][2] == cp:
        four[-1][2] += 1
    else:
        four.append([index, cp, 1])

print('// Made by scripts/gen-gb-tables.py from the C library\'s GB2312 and GB18030')
print('// converters; do not edit.')
print('// The two-byte codes GB2312 defines: lead byte, first and last trail byte.')
print('constexpr GbRange Gb2312Codes[] = {')
for lead, first, last in ranges:
    print(f'    {{0x{lead:02X}, 0x{first:02X}, 0x{last:02X}}},')
print('};')
print('// GB18030 four-byte sequences over the Basic Multilingual Plane: the')
print('// sequence\'s linear index, the character it stands for, and how many follow')
print('// one by one.')
print('constexpr FourByteRange FourByteRanges[] = {')
for index, cp, count in four:
    print(f'    {{{index}, 0x{cp:04X}, {count}}},')
print('};')
