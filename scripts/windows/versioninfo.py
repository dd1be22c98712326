#!/usr/bin/env python3
"""Prints the version information of a Windows program or DLL: the numeric
file and product versions, then every string table (one per language and
code page) with its values, one "block key=value" line each.

    scripts/windows/versioninfo.py varnok.exe

Reads the VERSIONINFO resource with wrestool (Debian: icoutils)."""
import struct
import subprocess
import sys


def read_node(data, pos):
    """One VS_VERSIONINFO node at pos: (key, value, children, end)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    key_end = pos + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[pos + 6:key_end].decode("utf-16-le")
    value_pos = (key_end + 2 + 3) & ~3
    if kind == 1:  # text, value_length in characters with the terminator
        raw = data[value_pos:value_pos + 2 * value_length]
        value = raw.decode("utf-16-le").rstrip("\0")
        value_end = value_pos + 2 * value_length
    else:
        value = data[value_pos:value_pos + value_length]
        value_end = value_pos + value_length
    children = []
    child = (value_end + 3) & ~3
    while child < end:
        node = read_node(data, child)
        children.append(node)
        child = (node[3] + 3) & ~3
    return key, value, children, end


def version(ms, ls):
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: versioninfo.py PROGRAM.exe")
    data = subprocess.run(["wrestool", "-x", "--raw", "-t", "16", sys.argv[1]],
                          check=True, stdout=subprocess.PIPE).stdout
    if not data:
        sys.exit(f"{sys.argv[1]}: no version information")
    key, fixed, children, _ = read_node(data, 0)
    if key != "VS_VERSION_INFO" or len(fixed) < 52:
        sys.exit(f"{sys.argv[1]}: not a version resource")
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != 0xFEEF04BD:
        sys.exit(f"{sys.argv[1]}: bad version signature")
    print(f"FileVersion (numeric)={version(file_ms, file_ls)}")
    print(f"ProductVersion (numeric)={version(product_ms, product_ls)}")
    for child in children:
        if child[0] == "StringFileInfo":
            for table in child[2]:
                for entry in table[2]:
                    print(f"{table[0]} {entry[0]}={entry[1]}")
        elif child[0] == "VarFileInfo":
            for var in child[2]:
                pairs = struct.iter_unpack("<HH", var[1])
                print("Translation=" + " ".join(f"{lang:04x}/{cp}" for lang, cp in pairs))


if __name__ == "__main__":
    main()
