#!/usr/bin/env bash
# Smoke test of the Windows installer under Wine, as a user would meet it:
#
#  1. a fresh Wine prefix under /tmp, with a Chinese font Windows programs
#     can find (WenQuanYi Micro Hei standing in for 宋体 and 微软雅黑);
#  2. the portable zip holding the same files as the installer; a silent
#     install (Varnok-1.0-setup.exe /S): every file of the package in
#     %LOCALAPPDATA%\Programs\Varnok and the same as in the package, the
#     Start-menu and desktop shortcuts pointing at varnok.exe, the entry
#     that 应用和功能 lists, the version information of varnok.exe; the
#     installed varnok-check.exe checking a folder and writing a workbook;
#  3. the installed varnok.exe started with the windows platform on a
#     virtual display, with only its own DLLs (no WINEPATH): the splash and
#     then the main window photographed; once more at Windows' display
#     scaling of 150 % and 175 % (LogPixels 144 and 168) on a 1920x1080
#     screen, where it must stay on the screen;
#  4. a crash: a name typed into the started program, the process killed
#     once its recovery copy is written to %APPDATA%\varnok\recovery; the
#     next start asks to restore it, and 是 does (the new run's copy holds
#     the name);
#  5. the uninstaller refusing while the program runs, then a silent
#     uninstall: nothing of the program left but a declaration the user
#     saved in its folder, one in Documents and the recovery copy (unsaved
#     work); no shortcut, no registry key;
#  6. an install by hand through the installer's pages (Enter, Enter), each
#     page photographed.
#
#   scripts/windows/smoke.sh [--docs] [BUILD_DIR]     (default build-win)
#
# BUILD_DIR holds the installer and stage/, the folder it was made from.
# The pictures land in /tmp/shots-win/ (whole screen, windows-*-screen.png,
# and the window alone, windows-*.png); --docs also copies the latter to
# docs/screenshots/. VARNOK_SMOKE_KEEP=1 keeps the Wine prefix for a look.
# Ends with "N passed, N failed"; exits non-zero when a check failed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
shots=/tmp/shots-win
app_name="专业技术人员初始注册申报"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
# Start-up under Wine on a busy machine takes seconds; these only stop a hang.
window_timeout=120
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnok'
settings_key='HKCU\Software\Varnok'

say() { printf '[smoke] %s\n' "$*"; }
die() { printf '[smoke] error: %s\n' "$*" >&2; exit 2; }

# --- on the virtual display (run through xvfb-run by the steps below) -------
# The extent of what is on the black screen: WxH+X+Y, or "none".
drawn() {
    local g
    g="$(convert "$1" -trim -format '%wx%h%O' info: 2>/dev/null)"
    case "$g" in 1x1*) echo none ;; *) echo "${g%%+*}" ;; esac
}
# Waits until the screen shows something other than $2 ("none" for a black
# screen), then lets it paint and photographs it to $1.
wait_for_change() {
    local out="$1" before="$2" shot="${1%.png}.probe.png" started=$SECONDS now
    while :; do
        import -window root "$shot"
        now="$(drawn "$shot")"
        if [ "$now" != none ] && [ "$now" != "$before" ]; then break; fi
        if [ $((SECONDS - started)) -ge "$window_timeout" ]; then
            mv "$shot" "$out"
            echo "timeout"
            return
        fi
        sleep 0.3
    done
    sleep 1
    import -window root "$out"
    rm -f "$shot"
    drawn "$out"
}

# The installer's pages: the welcome and finish pages have the blue picture
# on the left, the others a grey page there. $2: yes or no.
left_is_blue() {
    local g x y rgb
    g="$(convert "$1" -trim -format '%O' info: 2>/dev/null)"
    x="${g#+}"; x="${x%%+*}"; y="${g##*+}"
    rgb="$(convert "$1" -format "%[fx:int(255*p{$((x + 8)),$((y + 150))}.r)] %[fx:int(255*p{$((x + 8)),$((y + 150))}.b)]" info:)"
    set -- "$1" "$2" $rgb
    if [ "$4" -gt 150 ] && [ "$3" -lt 100 ]; then [ "$2" = yes ]; else [ "$2" = no ]; fi
}
# Waits until the installer shows a page with ($2 = yes) or without the
# picture, then photographs it to $1; says "timeout" when it never came.
wait_for_page() {
    local out="$1" blue="$2" shot="${1%.png}.probe.png" started=$SECONDS
    while :; do
        import -window root "$shot"
        if [ "$(drawn "$shot")" != none ] && left_is_blue "$shot" "$blue"; then break; fi
        if [ $((SECONDS - started)) -ge "$window_timeout" ]; then
            mv "$shot" "$out"; echo timeout; return
        fi
        sleep 0.3
    done
    sleep 1
    import -window root "$out"
    rm -f "$shot"
    drawn "$out"
}
# A key to the installer's window (the virtual display has no window
# manager, so the window is given the focus by hand).
press() {
    local w
    w="$(xdotool search --name "$app_name" 2>/dev/null | head -n 1 || true)"
    if [ -n "$w" ]; then xdotool windowfocus --sync "$w" 2>/dev/null || true; fi
    xdotool key "$1"
}

if [ "${1:-}" = __on-display ]; then
    what="$2"; dir="$3"
    wineserver -k 2>/dev/null || true
    case "$what" in
        installer)
            # What a user does: Enter on the welcome page (下一步), Enter
            # on the folder page (安装), and the finish page comes.
            wine "$4" >"$dir/installer-ui.log" 2>&1 &
            wait_for_page "$dir/installer-screen.png" yes >"$dir/installer.size"
            press Return
            wait_for_page "$dir/installer-folder-screen.png" no >"$dir/installer-folder.size"
            press Return
            wait_for_page "$dir/installer-done-screen.png" yes >"$dir/installer-done.size"
            ;;
        program)
            # From its own folder, as the shortcuts start it; Wine says
            # which DLL it could not find (its own zlib1.dll stands in for
            # a missing one, so the build's import check matters too).
            (cd "$4" && WINEDEBUG=-all,err+module exec wine ./varnok.exe -platform windows) \
                >"$dir/program.log" 2>&1 &
            pid=$!
            t0=$SECONDS
            wait_for_change "$dir/splash-screen.png" none >"$dir/splash.size"
            echo $((SECONDS - t0)) >"$dir/splash.seconds"
            wait_for_change "$dir/main-screen.png" "$(cat "$dir/splash.size")" >"$dir/main.size"
            echo $((SECONDS - t0)) >"$dir/main.seconds"
            if kill -0 "$pid" 2>/dev/null; then echo running >"$dir/program.state"; else echo ended >"$dir/program.state"; fi
            # While it runs, the uninstaller must stop. _?= runs it in place
            # rather than from a copy in %TEMP%, so that wine waits for it.
            set +e
            wine "$4/uninstall.exe" /S "_?=$5"
            echo $? >"$dir/refusal.rc"
            set -e
            ;;
        scaled)
            # At Windows' scaling of the moment (the LogPixels of the prefix).
            (cd "$4" && WINEDEBUG=-all exec wine ./varnok.exe -platform windows) >"$dir/scaled-$5.log" 2>&1 &
            wait_for_change "$dir/splash-$5-screen.png" none >"$dir/splash-$5.size"
            wait_for_change "$dir/main-$5-screen.png" "$(cat "$dir/splash-$5.size")" >"$dir/main-$5.size"
            convert "$dir/main-$5-screen.png" -trim -format '%O' info: >"$dir/main-$5.at" 2>/dev/null || true
            ;;
        recovery)
            # Typed, not saved, and killed as by a crash once the copy is
            # written (every ten seconds); then started again.
            start() { (cd "$4" && WINEDEBUG=-all exec wine ./varnok.exe -platform windows) >>"$dir/recovery.log" 2>&1 & }
            start "$@"
            wait_for_change "$dir/crash-splash-screen.png" none >/dev/null
            wait_for_change "$dir/crash-main-screen.png" "$(cat "$dir/splash.size")" >/dev/null
            # A click into 姓名 (234, 137 from the window's corner), then typing.
            at="$(convert "$dir/crash-main-screen.png" -trim -format '%O' info:)"
            x="${at#+}"; x="${x%%+*}"; y="${at##*+}"
            press shift
            xdotool mousemove $((x + 234)) $((y + 137)) click 1
            sleep 0.5
            xdotool type --delay 100 "Anna Lin"
            sleep 13
            wineserver -k 2>/dev/null || true
            ls "$5" >"$dir/copies-after-crash.txt" 2>/dev/null || true
            start "$@"
            wait_for_change "$dir/restart-splash-screen.png" none >/dev/null
            sleep 8
            import -window root "$dir/recovery-question-screen.png"
            xdotool search --name "系统提示" >"$dir/question-windows.txt" 2>/dev/null || true
            w="$(head -n 1 "$dir/question-windows.txt")"
            if [ -n "$w" ]; then xdotool windowfocus --sync "$w" 2>/dev/null || true; fi
            xdotool key alt+y
            sleep 3
            import -window root "$dir/recovered-screen.png"
            ls "$5" >"$dir/copies-after-restore.txt" 2>/dev/null || true
            ;;
    esac
    wineserver -k 2>/dev/null || true
    exit 0
fi

# --- the test ---------------------------------------------------------------
update_docs=0
if [ "${1:-}" = --docs ]; then update_docs=1; shift; fi
build="${1:-$root/build-win}"
build="$(cd "$build" && pwd)"
installer="$(ls "$build"/Varnok-*-setup.exe 2>/dev/null | head -n 1 || true)"
zip="$(ls "$build"/Varnok-*-win64.zip 2>/dev/null | head -n 1 || true)"
stage="$build/stage"
[ -n "$installer" ] || die "no Varnok-*-setup.exe in $build: build the target varnok_windows_package first"
[ -n "$zip" ] || die "no Varnok-*-win64.zip in $build: build the target varnok_windows_package first"
[ -f "$stage/varnok.exe" ] || die "no $stage/varnok.exe: build the target varnok_windows_package first"

for tool in wine wineserver xvfb-run xdotool import convert wrestool python3 iconv unzip; do
    command -v "$tool" >/dev/null 2>&1 \
        || die "$tool is missing (Debian: wine wine64 xvfb xdotool imagemagick icoutils python3 unzip; scripts/windows/build.sh installs them)"
done
[ -f "$font" ] || die "$font is missing (Debian: fonts-wqy-microhei)"

passed=0
failed=0
check() {
    local what="$1"; shift
    if "$@"; then
        passed=$((passed + 1)); say "ok: $what"
    else
        failed=$((failed + 1)); say "FAILED: $what"
    fi
}

work="$(mktemp -d /tmp/varnok-smoke.XXXXXX)"
export WINEPREFIX="$work/prefix"
# The prefix links Desktop and Documents into HOME: a HOME of its own keeps
# the machine's untouched, and separate folders tell the two apart.
export HOME="$work/home"
mkdir -p "$HOME/Desktop" "$HOME/Documents"
export WINEDEBUG=-all
# No Mono or Gecko prompts; no Linux menu entries mirrored from the shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The installed program must find its DLLs beside itself, not in the toolchain.
unset WINEPATH DISPLAY
cleanup() {
    wineserver -k 2>/dev/null || true
    if [ "${VARNOK_SMOKE_KEEP:-0}" = 1 ]; then say "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

say "installer: $installer ($(du -h "$installer" | cut -f1))"
say "Wine prefix: $WINEPREFIX"
wineboot -i >"$work/wineboot.log" 2>&1
wineserver -w

# The font, and the names Windows programs ask for mapped to it: NSIS's
# Chinese pages use 宋体, Varnok falls back to 微软雅黑 and SimSun.
ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/wqy-microhei.ttc"
{
    printf '\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for name in 宋体 SimSun 新宋体 NSimSun 微软雅黑 "Microsoft YaHei"; do
        printf '"%s"="WenQuanYi Micro Hei"\r\n' "$name"
    done
} | iconv -f UTF-8 -t UTF-16LE >"$work/fonts.reg"
wine regedit /S "Z:${work//\//\\}\\fonts.reg"
wineserver -w

win_to_unix() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
win_var() { wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r\n'; }
local_appdata="$(win_var LOCALAPPDATA)"
inst_win="$local_appdata\\Programs\\Varnok"
inst="$(win_to_unix "$inst_win")"
start_menu="$(win_to_unix "$(win_var APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")"
desktop="$(win_to_unix "$(win_var USERPROFILE)\\Desktop")"
documents="$(win_to_unix "$(win_var USERPROFILE)\\Documents")"
say "installs into $inst_win"

# Exports a registry key as UTF-8 text (empty when there is no such key).
reg_text() {
    rm -f "$work/key.reg"
    wine reg export "$1" "Z:${work//\//\\}\\key.reg" /y >/dev/null 2>&1 || true
    if [ -f "$work/key.reg" ]; then iconv -f UTF-16 -t UTF-8 "$work/key.reg" | tr -d '\r'; fi
}
# The text a shortcut holds, UTF-16 strings made plain.
lnk_text() { tr -d '\0' <"$1"; }
lists_same() { diff -u "$1" "$2" >"$work/diff.txt" || { cat "$work/diff.txt" >&2; return 1; }; }
files_of() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }

# --- the portable zip ---------------------------------------------------------
# One folder, Varnok-<version>, holding what the installer installs.
zip_root="$(basename "$zip" -win64.zip)"
mkdir -p "$work/zip"
unzip -q "$zip" -d "$work/zip"
files_of "$stage" >"$work/stage.txt"
files_of "$work/zip/$zip_root" >"$work/zip.txt" 2>/dev/null || true
check "the zip holds the package in $zip_root/ ($(wc -l <"$work/stage.txt") files)" \
    lists_same "$work/stage.txt" "$work/zip.txt"
check "... with the package's bytes" bash -c 'ls "$1" >/dev/null && diff -r "$1" "$2" >/dev/null' _ \
    "$work/zip/$zip_root" "$stage"
check "... and nothing beside that folder" test "$(ls "$work/zip")" = "$zip_root"

# --- silent install ---------------------------------------------------------
set +e
wine "$installer" /S
rc=$?
set -e
wineserver -w
check "silent install exits 0 (exit $rc)" test "$rc" -eq 0
check "installed into %LOCALAPPDATA%\\Programs\\Varnok" test -f "$inst/varnok.exe"

{ files_of "$stage"; echo uninstall.exe; } | LC_ALL=C sort >"$work/expected.txt"
files_of "$inst" >"$work/installed.txt" 2>/dev/null || true
check "the installed files are the package's ($(wc -l <"$work/expected.txt") files)" \
    lists_same "$work/expected.txt" "$work/installed.txt"
same_bytes() {
    local f
    while IFS= read -r f; do
        cmp -s "$stage/$f" "$inst/$f" || { echo "differs: $f" >&2; return 1; }
    done < <(files_of "$stage")
}
check "every installed file has the package's bytes" same_bytes

# The desk on the command line as installed, with only its own DLLs: a
# folder checked, the workbook written (libxlsxwriter's temporary files in
# the user's temporary folder, not in C:\).
mkdir -p "$work/desk/staff"
cp "$root/tests/data/declaration-expected.xml" "$work/desk/staff/a.xml"
desk_out="$(wine "$inst/varnok-check.exe" --xlsx "$(winepath -w "$work/desk")\table.xlsx" \
    "$(winepath -w "$work/desk/staff")" 2>&1 | tr -d '\r' || true)"
check "the installed varnok-check.exe checks a folder: $(head -n 1 <<<"$desk_out")" \
    grep -qF '王堃  320106198604120535  通过' <<<"$desk_out"
check "... and writes the Excel workbook" \
    bash -c 'unzip -p "$1" xl/sharedStrings.xml | grep -qF 王堃' _ "$work/desk/table.xlsx"

for lnk in "$start_menu/$app_name.lnk" "$desktop/$app_name.lnk"; do
    check "shortcut $(basename "$(dirname "$lnk")")/$app_name.lnk starts varnok.exe" \
        grep -aqF "Programs\\Varnok\\varnok.exe" <(lnk_text "$lnk" 2>/dev/null)
done

reg_text "$uninstall_key" >"$work/uninstall.txt"
has_value() { grep -qxF "\"$1\"=\"$2\"" "$work/uninstall.txt"; }
check "应用和功能 lists it as $app_name" has_value DisplayName "$app_name"
check "... with version 1.0.0" has_value DisplayVersion 1.0.0
check "... and its uninstaller" has_value UninstallString "\\\"${inst_win//\\/\\\\}\\\\uninstall.exe\\\""
check "... and its icon" has_value DisplayIcon "${inst_win//\\/\\\\}\\\\varnok.exe,0"

"$here/versioninfo.py" "$inst/varnok.exe" >"$work/version.txt" 2>&1 || true
check "varnok.exe's ProductName is $app_name" grep -qxF "080404b0 ProductName=$app_name" "$work/version.txt"
check "varnok.exe's version is 1.0.0" grep -qxF "080404b0 FileVersion=1.0.0" "$work/version.txt"
check "varnok.exe has an English block too" grep -qxF "040904b0 ProductName=Varnok" "$work/version.txt"
check "varnok.exe carries the icon Windows shows (IDI_ICON1)" \
    grep -q "name='IDI_ICON1'" <(wrestool -l "$inst/varnok.exe" 2>/dev/null)

# --- the installed program --------------------------------------------------
xvfb-run -a -s "-screen 0 1280x800x24" "$0" __on-display program "$work" "$inst" "$inst_win"
splash_size="$(cat "$work/splash.size")"
main_size="$(cat "$work/main.size")"
say "splash after $(cat "$work/splash.seconds") s ($splash_size), main window after $(cat "$work/main.seconds") s ($main_size)"
check "the splash shows (430x250 picture)" test "$splash_size" = 430x250
window_large() {
    local w="${main_size%x*}" h="${main_size#*x}"
    [ "$main_size" != timeout ] && [ "$w" -ge 900 ] && [ "$h" -ge 600 ]
}
check "the main window follows it ($main_size)" window_large
check "the program is still running" grep -qx running "$work/program.state"
check "the program finds every DLL beside it" \
    bash -c '! grep -i "err:module" "$1" >&2' _ "$work/program.log"
refusal_rc="$(cat "$work/refusal.rc")"
files_of "$inst" >"$work/installed-after-refusal.txt" 2>/dev/null || true
check "the uninstaller refuses while varnok.exe runs (exit $refusal_rc)" test "$refusal_rc" -ne 0
check "... and removes nothing" lists_same "$work/expected.txt" "$work/installed-after-refusal.txt"

# --- at 150 % and 175 % --------------------------------------------------------
# Windows' own display scaling (LogPixels: 144 dots per inch is 150 %, 168 is
# 175 %) on a 1920x1080 screen: the window as large as the scaling makes it,
# its top edge (the caption) on the screen, and at 175 % within the screen's
# height, its content scrolling.
for dpi in 144 168; do
    percent=$((dpi * 100 / 96))
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    xvfb-run -a -s "-screen 0 1920x1080x24" "$0" __on-display scaled "$work" "$inst" "$percent"
    size="$(cat "$work/main-$percent.size")"
    at="$(cat "$work/main-$percent.at" 2>/dev/null || echo +0+0)"
    say "at $percent %: main window ${size} at ${at}"
    check "at $percent % the window is scaled (${size})" \
        bash -c '[ "$1" != timeout ] && [ "${1%x*}" -ge $(($2 * 10 - 30)) ]' _ "$size" "$percent"
    check "... with its top edge on the screen (${at})" bash -c '[ "${1##*+}" -gt 0 ]' _ "$at"
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
wineserver -w

# --- a crash, and the next start --------------------------------------------
recovery_win="$(win_var APPDATA)\\varnok\\recovery"
recovery="$(win_to_unix "$recovery_win")"
xvfb-run -a -s "-screen 0 1280x800x24" "$0" __on-display recovery "$work" "$inst" "$recovery"
crashed="$(grep -x 'recovery-.*\.xml' "$work/copies-after-crash.txt" || true)"
check "typed, then killed: its copy is in $recovery_win (${crashed:-none})" test -n "$crashed"
check "the next start asks whether to restore it" test -s "$work/question-windows.txt"
restored="$(grep -x 'recovery-.*\.xml' "$work/copies-after-restore.txt" || true)"
check "restored: the new run's copy replaces the old one (${restored:-none})" \
    bash -c '[ -n "$1" ] && [ "$1" != "$2" ] && grep -q "Anna Lin" "$3/$1"' _ "$restored" "$crashed" "$recovery"

# --- uninstall --------------------------------------------------------------
# Declarations the user saved: one where 新建 names them, one in Documents.
printf '<declaration/>\n' >"$inst/张三申报资料.xml"
printf '<declaration/>\n' >"$documents/李四申报资料.xml"

set +e
wine "$inst/uninstall.exe" /S
rc=$?
set -e
# The uninstaller runs on from a copy of itself in %TEMP%: wait for it.
wineserver -w
check "silent uninstall exits 0 (exit $rc)" test "$rc" -eq 0
left="$(files_of "$inst" 2>/dev/null | tr '\n' ' ' || true)"
check "only the user's declaration is left in the program's folder (${left:-nothing})" \
    test "$left" = "张三申报资料.xml "
check "the plugin folders are gone" \
    bash -c '! ls -d "$1"/platforms "$1"/styles "$1"/imageformats 2>/dev/null' _ "$inst"
check "the declaration in Documents stays" test -f "$documents/李四申报资料.xml"
check "the Start-menu shortcut is gone" test ! -e "$start_menu/$app_name.lnk"
check "the desktop shortcut is gone" test ! -e "$desktop/$app_name.lnk"
check "the 应用和功能 entry is gone" test -z "$(reg_text "$uninstall_key")"
check "the program's settings key is gone" test -z "$(reg_text "$settings_key")"
drive_c="$(realpath "$WINEPREFIX/drive_c")"
# The recovery copies are the user's unsaved work: they stay, like documents.
leftovers="$(find "$drive_c" -iname '*varnok*' | grep -vxF -e "$(realpath -m "$inst")" -e "$(realpath -m "$recovery/..")" \
    | sed "s|^$drive_c|C:|" | tr '\n' ' ' || true)"
check "nothing named Varnok elsewhere in C: (${leftovers:-nothing})" test -z "$leftovers"

# --- installing by hand ------------------------------------------------------
# Once more, through the pages, as a user installs it.
xvfb-run -a -s "-screen 0 1280x800x24" "$0" __on-display installer "$work" "$installer"
wineserver -w
check "the installer's welcome page shows ($(cat "$work/installer.size"))" \
    test "$(cat "$work/installer.size")" != timeout
check "下一步 leads to the folder page" test "$(cat "$work/installer-folder.size")" != timeout
check "安装 installs and leads to the finish page" test "$(cat "$work/installer-done.size")" != timeout
check "installed by hand: varnok.exe in place" test -f "$inst/varnok.exe"
check "installed by hand: the Start-menu shortcut" test -f "$start_menu/$app_name.lnk"

# --- the pictures -------------------------------------------------------------
mkdir -p "$shots"
names=(installer installer-folder installer-done splash main main-150 main-175)
for name in "${names[@]}"; do
    [ -f "$work/$name-screen.png" ] || continue
    cp "$work/$name-screen.png" "$shots/windows-$name-screen.png"
    convert "$work/$name-screen.png" -trim +repage "$shots/windows-$name.png"
done
say "pictures in $shots: $(printf 'windows-%s.png ' "${names[@]}")(and the whole screens, *-screen.png)"
if [ "$update_docs" = 1 ]; then
    for name in "${names[@]}"; do
        cp "$shots/windows-$name.png" "$root/docs/screenshots/windows-$name.png"
    done
    say "copied to docs/screenshots/"
fi

echo "smoke: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
