#!/bin/bash
# Render the Varnok program icon resources/varnok.svg to resources/varnok-256.png.
#
# Needs rsvg-convert (Debian: librsvg2-bin). ImageMagick's built-in SVG
# renderer is not used on purpose: it drops the tile's gradient.
# rsvg-convert writes a plain 8-bit RGBA PNG without timestamps, so the
# result is the same on every run.
#
# Usage: scripts/make-icon.sh [SIZE]      (default 256; writes varnok-SIZE.png)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
size="${1:-256}"
svg="$root/resources/varnok.svg"
png="$root/resources/varnok-$size.png"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "make-icon: rsvg-convert not found (apt-get install librsvg2-bin)" >&2
    exit 1
fi

tmp="$(mktemp "$root/resources/.varnok-icon.XXXXXX")"
trap 'rm -f "$tmp"' EXIT

rsvg-convert --width="$size" --height="$size" --format=png --output="$tmp" "$svg"
chmod 644 "$tmp"
mv -f "$tmp" "$png"
trap - EXIT
echo "wrote $png"
