#!/usr/bin/env bash
# Rebuild the compiled help, resources/help.chm, from its sources in
# resources/help/ and commit the result: the normal build embeds that file and
# so needs neither this script nor chmcmd.
#
#   scripts/build-help.sh
#
# Needs python3 and chmcmd (Debian package fp-utils). If extract_chmLib
# (package libchm-bin) is installed, the result is also unpacked and every file
# compared with its source.
#
# The pages, the contents (toc.hhc), the index (index.hhk) and the project
# (varnok.hhp) are GB2312 (code page 936) files, because that is what the
# Windows help viewer expects for a Chinese (PRC) help file, and xchm follows
# the same code page. Edit them with an editor set to GB2312/GBK, or convert
# back and forth:
#   iconv -f GB2312 -t UTF-8 page.html > /tmp/page.html     # then edit
#   iconv -f UTF-8 -t GB2312 /tmp/page.html > page.html
# This script refuses files that are not valid GB2312, e.g. saved as UTF-8.
#
# When writing a page, end the source line after full-width punctuation
# (，。；：！？) where a long paragraph goes on in Chinese: xchm wraps text only
# at white space, and the Windows viewer shows nothing for a line break between
# two Chinese characters. Keep index.hhk flat (xchm flattens nested entries)
# and in GB2312 byte order, which for common characters is pinyin order: the
# Windows viewer lists a text index in file order.
#
# dictionary.html is generated from resources/sysdic.xml by
# scripts/gen-help-dictionary.py, which this script runs first.
#
# chmcmd writes no binary index here (Binary Index=No in varnok.hhp): it would
# convert the keywords to UTF-16 as if they were UTF-8 and turn every Chinese
# keyword into question marks. Both viewers read the text index instead.
# The window definition in varnok.hhp has no Search tab: chmcmd's full-text
# index holds only Latin words (a search for any Chinese word finds nothing),
# so the index tab is the way to look things up. The full-text index itself
# stays on, because without it chmcmd also leaves out the topic tables
# (#TOPICS, #URLTBL, #URLSTR) that HTML Help Workshop always writes.

set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
src=$repo/resources/help
project=varnok.hhp
output=$repo/resources/help.chm

die() { echo "build-help: $*" >&2; exit 1; }

command -v python3 >/dev/null || die "python3 is needed"
command -v chmcmd >/dev/null || die "chmcmd is needed (apt-get install fp-utils)"
command -v iconv >/dev/null || die "iconv is needed"

# 1. The generated page.
python3 "$repo/scripts/gen-help-dictionary.py"

# 2. Encoding of the sources.
shopt -s nullglob
sources=("$src"/*.html "$src"/*.hhc "$src"/*.hhk "$src"/*.hhp "$src"/*.css)
[ ${#sources[@]} -gt 0 ] || die "no sources in $src"
for f in "${sources[@]}"; do
    iconv -f GB2312 -t UTF-8 "$f" >/dev/null 2>&1 ||
        die "$(basename "$f") is not valid GB2312 (saved as UTF-8?)"
done
for f in "$src"/*.html "$src"/*.hhc "$src"/*.hhk; do
    grep -qi 'charset=gb2312' "$f" ||
        die "$(basename "$f") does not declare charset=gb2312"
done

# 3. Compile in a scratch copy so that nothing is left in the source folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -p "$src"/* "$work"/
compiled=$(sed -n 's/^Compiled file=\(.*\)$/\1/p' "$work/$project" | tr -d '\r')
[ -n "$compiled" ] || die "$project names no compiled file"
(cd "$work" && chmcmd "$project") >"$work/chmcmd.log" 2>&1 || {
    cat "$work/chmcmd.log" >&2
    die "chmcmd failed"
}
# chmcmd exits 0 even when a page links to a missing file; it only warns.
if grep -E '^(Warning|Error):' "$work/chmcmd.log" >&2; then
    die "chmcmd reported problems (see above)"
fi
chm=$work/$compiled
[ -s "$chm" ] || die "chmcmd wrote no $compiled"

# 4. Check the result before it replaces the committed file.
[ "$(head -c 4 "$chm")" = "ITSF" ] || die "$compiled is not a CHM file (no ITSF signature)"
expected=()
for f in "$src"/*.html "$src"/*.css "$src"/*.hhc "$src"/*.hhk; do
    expected+=("/$(basename "$f")")
done
for name in "${expected[@]}"; do
    grep -qaF "$name" "$chm" || die "$compiled lacks $name"
done
if command -v extract_chmLib >/dev/null; then
    extract_chmLib "$chm" "$work/extracted" >/dev/null ||
        die "extract_chmLib cannot read $compiled"
    for name in "${expected[@]}"; do
        cmp -s "$src$name" "$work/extracted$name" ||
            die "$name in $compiled differs from its source"
    done
fi

cp "$chm" "$output.tmp"
mv "$output.tmp" "$output"
echo "build-help: wrote $output ($(stat -c %s "$output") bytes, ${#expected[@]} files checked)"
