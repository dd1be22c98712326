#!/usr/bin/env bash
# Builds the Debian package from a build tree with CPack and checks what it
# holds: the program and varnok-check, the desktop menu entry, the icons, the AppStream
# metadata, the manual pages, the copyright and the changelog, nothing else;
# the control fields (version, dependencies found by dpkg-shlibdeps, the font,
# xdg-utils, the recommended CHM viewer and browser); and that lintian,
# desktop-file-validate and appstreamcli find no error and no warning.
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

for tool in "$cpack" dpkg-deb dpkg-shlibdeps desktop-file-validate lintian lexgrog appstreamcli; do
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
for dep in fonts-wqy-microhei xdg-utils libqt6widgets6 libqt6gui6 libqt6core6 libxml2 libxlsxwriter4 libstdc++6; do
    names "$depends" | grep -qxF "$dep" || fail "Depends lacks $dep: $depends"
done
recommends=$(field Recommends)
for rec in xchm www-browser; do
    names "$recommends" | grep -qxF "$rec" || fail "Recommends lacks $rec: $recommends"
done

# Contents: exactly these files, owned by root, the program executable.
metainfo_id=org.example.varnok
expected="./usr/bin/varnok
./usr/bin/varnok-check
./usr/share/applications/varnok.desktop
./usr/share/doc/varnok/changelog.gz
./usr/share/doc/varnok/copyright
./usr/share/icons/hicolor/256x256/apps/varnok.png
./usr/share/icons/hicolor/scalable/apps/varnok.svg
./usr/share/man/man1/varnok-check.1.gz
./usr/share/man/man1/varnok.1.gz
./usr/share/man/zh_CN/man1/varnok-check.1.gz
./usr/share/man/zh_CN/man1/varnok.1.gz
./usr/share/metainfo/$metainfo_id.metainfo.xml"
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 ~ /^-/ { print $6 }' <<<"$listing" | sort)
[ "$files" = "$expected" ] || fail "package files differ:
$(diff <(echo "$expected") <(echo "$files") || true)"
awk '$1 ~ /^-/ && $2 != "root/root" { print }' <<<"$listing" | grep . && fail "files not owned by root"
for program in varnok varnok-check; do
    grep -q "^-rwxr-xr-x .* \./usr/bin/$program\$" <<<"$listing" || fail "usr/bin/$program is not executable"
done

# The unpacked files: a valid menu entry that starts the packaged program
# with the packaged icon.
root=$work/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/varnok.desktop
validation=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate rejects varnok.desktop"
[ -n "$validation" ] && echo "$validation"
grep -qE ': (error|warning): ' <<<"$validation" && fail "desktop-file-validate: errors or warnings above"
entry() { sed -n "s/^$1=//p" "$desktop"; }
exec_cmd=$(entry Exec | cut -d' ' -f1)
[ -n "$exec_cmd" ] && [ -x "$root/usr/bin/$exec_cmd" ] || fail "Exec=$(entry Exec) is not the packaged program"
icon=$(entry Icon)
[ -f "$root/usr/share/icons/hicolor/256x256/apps/$icon.png" ] || fail "Icon=$icon has no 256x256 PNG"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon has no scalable SVG"
[ "$(entry Name)" = Varnok ] || fail "Name is '$(entry Name)'"
[ "$(entry 'Name\[zh_CN\]')" = 专业技术人员初始注册申报 ] || fail "Name[zh_CN] is '$(entry 'Name\[zh_CN\]')'"
[ "$(entry Terminal)" = false ] || fail "Terminal is not false"
for word in 申报 注册 职称; do
    tr ';' '\n' <<<"$(entry 'Keywords\[zh_CN\]')" | grep -qxF "$word" || fail "Keywords[zh_CN] lacks $word"
done
[ -n "$(entry Keywords)" ] || fail "no Keywords"
# A PNG's width and height are big-endian at bytes 16 to 23.
png=$root/usr/share/icons/hicolor/256x256/apps/$icon.png
[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$icon.png is not a PNG"
[ "$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')" = "0 0 1 0 0 0 1 0" ] || fail "$icon.png is not 256x256"

# AppStream: valid without looking anything up on the network (the
# screenshots are not fetched), naming the menu entry and the program.
metainfo=$root/usr/share/metainfo/$metainfo_id.metainfo.xml
appstream=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli rejects $metainfo_id.metainfo.xml"
echo "appstreamcli: $appstream"
grep -qE '^[EW]: ' <<<"$appstream" && fail "appstreamcli: errors or warnings above"
grep -qF "<id>$metainfo_id</id>" "$metainfo" || fail "the metainfo's id is not $metainfo_id"
grep -qF '<launchable type="desktop-id">varnok.desktop</launchable>' "$metainfo" || fail "the metainfo does not launch varnok.desktop"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"

# The changelog names this version; the manual pages read as pages, English
# and Chinese.
zcat "$root/usr/share/doc/varnok/changelog.gz" | head -1 | grep -qF "varnok ($version)" ||
    fail "the changelog does not begin with version $version"
for page in man/man1 man/zh_CN/man1; do
    for program in varnok varnok-check; do
        whatis=$(lexgrog "$root/usr/share/$page/$program.1.gz" 2>&1) || fail "$page/$program.1.gz: $whatis"
    done
done
# The desk's program runs from the package: its usage, in Chinese.
"$root/usr/bin/varnok-check" --help | grep -qF '用法：varnok-check' || fail "usr/bin/varnok-check --help shows no usage"

# lintian: no error and no warning; information shown, and the two it used to
# give (no Keywords, no BIND_NOW) must not come back.
lintian_out=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) || fail "lintian: errors or warnings"
lintian_out=$(grep -v '^running with root privileges' <<<"$lintian_out" || true)
if [ -n "$lintian_out" ]; then
    echo "lintian:"
    echo "$lintian_out"
fi
grep -qE 'desktop-entry-lacks-keywords-entry|hardening-no-bindnow' <<<"$lintian_out" && fail "lintian: see above"

if [ "$failures" -gt 0 ]; then
    echo "check-package: $failures problem(s) in $(basename "$deb")" >&2
    exit 1
fi
echo "check-package: $(basename "$deb") holds what it should; lintian, desktop-file-validate and appstreamcli find nothing to report"
