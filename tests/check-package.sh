#!/usr/bin/env bash
# Builds the Debian package from a build tree with CPack and checks what it
# holds: the program, the desktop menu entry and the icons, nothing else, and
# the control fields (version, dependencies found by dpkg-shlibdeps, the font,
# xdg-utils, the recommended CHM viewer and browser).
#
#   tests/check-package.sh BUILD_DIR [CPACK] [VERSION]
#
# The package is built in BUILD_DIR/package-check and removed afterwards.
set -euo pipefail

build=$(cd "${1:?usage: check-package.sh BUILD_DIR [CPACK] [VERSION]}" && pwd)
cpack=${2:-cpack}
version=${3:-$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in "$cpack" dpkg-deb dpkg-shlibdeps desktop-file-validate; do
    command -v "$tool" >/dev/null || { echo "check-package: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
[ -x "$build/varnok" ] || { echo "check-package: $build/varnok is not built" >&2; exit 1; }

work=$build/package-check
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

(cd "$work" && "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work") >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    echo "check-package: cpack failed" >&2
    exit 1
}
arch=$(dpkg --print-architecture)
deb=$work/varnok_${version}_${arch}.deb
[ -f "$deb" ] || { ls "$work" >&2; echo "check-package: no $(basename "$deb")" >&2; exit 1; }

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = varnok ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', expected $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
# Package names of a relationship field, one a line, versions dropped.
names() { tr ',|' '\n\n' <<<"$1" | sed 's/^ *//; s/[ (].*//'; }
depends=$(field Depends)
for dep in fonts-wqy-microhei xdg-utils libqt6widgets6 libqt6gui6 libqt6core6 libxml2 libstdc++6; do
    names "$depends" | grep -qxF "$dep" || fail "Depends lacks $dep: $depends"
done
recommends=$(field Recommends)
for rec in xchm www-browser; do
    names "$recommends" | grep -qxF "$rec" || fail "Recommends lacks $rec: $recommends"
done

# Contents: exactly these files, owned by root, the program executable.
expected="./usr/bin/varnok
./usr/share/applications/varnok.desktop
./usr/share/icons/hicolor/256x256/apps/varnok.png
./usr/share/icons/hicolor/scalable/apps/varnok.svg"
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 ~ /^-/ { print $6 }' <<<"$listing" | sort)
[ "$files" = "$expected" ] || fail "package files differ:
$(diff <(echo "$expected") <(echo "$files") || true)"
awk '$1 ~ /^-/ && $2 != "root/root" { print }' <<<"$listing" | grep . && fail "files not owned by root"
grep -q '^-rwxr-xr-x .* \./usr/bin/varnok$' <<<"$listing" || fail "usr/bin/varnok is not executable"

# The unpacked files: a valid menu entry that starts the packaged program
# with the packaged icon.
root=$work/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/varnok.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects varnok.desktop"
entry() { sed -n "s/^$1=//p" "$desktop"; }
exec_cmd=$(entry Exec | cut -d' ' -f1)
[ -n "$exec_cmd" ] && [ -x "$root/usr/bin/$exec_cmd" ] || fail "Exec=$(entry Exec) is not the packaged program"
icon=$(entry Icon)
[ -f "$root/usr/share/icons/hicolor/256x256/apps/$icon.png" ] || fail "Icon=$icon has no 256x256 PNG"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon has no scalable SVG"
[ "$(entry Name)" = Varnok ] || fail "Name is '$(entry Name)'"
[ "$(entry 'Name\[zh_CN\]')" = 专业技术人员初始注册申报 ] || fail "Name[zh_CN] is '$(entry 'Name\[zh_CN\]')'"
[ "$(entry Terminal)" = false ] || fail "Terminal is not false"
# A PNG's width and height are big-endian at bytes 16 to 23.
png=$root/usr/share/icons/hicolor/256x256/apps/$icon.png
[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$icon.png is not a PNG"
[ "$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')" = "0 0 1 0 0 0 1 0" ] || fail "$icon.png is not 256x256"

if [ "$failures" -gt 0 ]; then
    echo "check-package: $failures problem(s) in $(basename "$deb")" >&2
    exit 1
fi
echo "check-package: $(basename "$deb") holds the program, the menu entry and the icons"
