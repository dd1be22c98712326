#!/usr/bin/env bash
# Makes the Windows program icon resources/windows/varnok.ico from
# resources/varnok.svg: every size Windows asks for (16 to 48 in the title
# bar, taskbar and Explorer lists, 256 in large Explorer views), each
# rendered from the drawing itself rather than scaled down from one picture,
# so the small ones stay sharp. 16 to 64 are kept as 32-bit bitmaps, 256 as
# PNG, as Windows Vista and later expect.
#
# rsvg-convert writes no timestamps and icotool adds none, so the icon comes
# out byte for byte the same on every run; it is committed, and the Windows
# build needs neither tool.
#
# Needs rsvg-convert and icotool (Debian: librsvg2-bin, icoutils).
#   scripts/windows/make-ico.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
svg="$root/resources/varnok.svg"
ico="$root/resources/windows/varnok.ico"

for tool in rsvg-convert icotool; do
    command -v "$tool" >/dev/null 2>&1 \
        || { echo "make-ico: $tool not found (apt-get install librsvg2-bin icoutils)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

pngs=()
for size in 16 20 24 32 40 48 64 256; do
    rsvg-convert --width="$size" --height="$size" --format=png --output="$work/$size.png" "$svg"
    if [ "$size" -eq 256 ]; then
        pngs+=("--raw=$work/$size.png")
    else
        pngs+=("$work/$size.png")
    fi
done
icotool --create --output="$work/varnok.ico" "${pngs[@]}"
chmod 644 "$work/varnok.ico"
mv -f "$work/varnok.ico" "$ico"
echo "wrote $ico"
