#!/usr/bin/env bash
# Makes the Windows pictures in resources/windows/ from resources/varnok.svg:
#
#  varnok.ico             the program's icon in every size Windows asks for
#                         at 100 % to 200 % display scaling (16 to 32 in the
#                         title bar, 20 to 40 in the taskbar, 32 to 64 in
#                         Explorer lists and the Alt+Tab switcher, 96 to 256
#                         in large Explorer views), each rendered from the
#                         drawing itself rather than scaled down from one
#                         picture, so the small ones stay sharp; 16 to 64 as
#                         32-bit bitmaps, 96 and up as PNG, as Windows Vista
#                         and later expect.
#  installer-welcome.bmp  the picture on the left of the installer's first
#                         and last pages (164x314, 24-bit, as NSIS wants it).
#
# rsvg-convert and icotool write no timestamps, and a BMP3 has none, so the
# files come out byte for byte the same on every run; they are committed,
# and the Windows build needs none of these tools.
#
# Needs rsvg-convert, icotool, ImageMagick's convert and the WenQuanYi Micro
# Hei font (Debian: librsvg2-bin icoutils imagemagick fonts-wqy-microhei).
#   scripts/windows/make-images.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
svg="$root/resources/varnok.svg"
out="$root/resources/windows"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc

for tool in rsvg-convert icotool convert; do
    command -v "$tool" >/dev/null 2>&1 \
        || { echo "make-images: $tool not found (apt-get install librsvg2-bin icoutils imagemagick)" >&2; exit 1; }
done
[ -f "$font" ] || { echo "make-images: $font not found (apt-get install fonts-wqy-microhei)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- the icon -------------------------------------------------------------------
pngs=()
for size in 16 20 24 28 32 40 48 56 64 96 128 256; do
    rsvg-convert --width="$size" --height="$size" --format=png --output="$work/$size.png" "$svg"
    if [ "$size" -ge 96 ]; then
        pngs+=("--raw=$work/$size.png")
    else
        pngs+=("$work/$size.png")
    fi
done
icotool --create --output="$work/varnok.ico" "${pngs[@]}"

# --- the installer's welcome picture ---------------------------------------------
# The splash's blues from top to bottom, the icon, the name.
rsvg-convert --width=112 --height=112 --format=png --output="$work/icon112.png" "$svg"
convert -size 164x314 'gradient:#2f76c6-#0e3569' \
    "$work/icon112.png" -gravity north -geometry +0+56 -composite \
    -font "$font" -fill white -pointsize 22 -annotate +0+190 'Varnok' \
    -fill '#dbe7f7' -pointsize 13 -annotate +0+226 '专业技术人员' -annotate +0+246 '初始注册申报' \
    -type TrueColor "BMP3:$work/installer-welcome.bmp"

for f in varnok.ico installer-welcome.bmp; do
    chmod 644 "$work/$f"
    mv -f "$work/$f" "$out/$f"
    echo "wrote $out/$f"
done
