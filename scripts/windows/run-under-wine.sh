#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: CTest's emulator for
# the Windows build, and a way to start any of its .exe files by hand.
#   scripts/windows/run-under-wine.sh PROGRAM.exe [ARGS...]
# The program runs headless (Qt's offscreen platform, the Chinese font of the
# build machine) in a Wine prefix of the toolchain's cache, with the DLLs of
# the toolchain on its path. Wine does not hand QT_* variables on from Linux,
# and Qt Test's output reaches a terminal only through a file: both are set
# up inside Wine, and the log is printed when the program ends.
set -u
exe=$1
shift
cache=${VARNOK_WIN64_CACHE:-$HOME/.cache/varnok-win64}
# shellcheck source=/dev/null
source "$cache/env.sh"
export WINEPREFIX=${VARNOK_WINEPREFIX:-$cache/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
wine=$(command -v wine || echo /usr/lib/wine/wine64)
if [ ! -f "$WINEPREFIX/.varnok-test-prefix" ]; then
    "$wine" wineboot --init >/dev/null 2>&1
    # A machine with no help viewer and no browser, as the offscreen tests on
    # Linux have: "帮助" and "网上申报" then report that nothing could open
    # them, and no test starts another program.
    for class in .chm chm.file http https; do
        "$wine" reg delete "HKLM\\Software\\Classes\\$class" /f >/dev/null 2>&1
    done
    wineserver -w 2>/dev/null || true
    touch "$WINEPREFIX/.varnok-test-prefix"
fi

log=$(mktemp --suffix=.txt)
batch=$(mktemp --suffix=.cmd)
trap 'rm -f "$log" "$batch"' EXIT
qtTest=false
case $(basename "$exe") in tst_*) qtTest=true ;; esac
# A batch file, since Wine's command line mangles quotes given to cmd /c.
{
    echo "@echo off"
    echo "set QT_QPA_PLATFORM=offscreen"
    echo "set QT_QPA_FONTDIR=Z:\\usr\\share\\fonts\\truetype\\wqy"
    echo "set QT_FORCE_STDERR_LOGGING=1"
    line="\"$(winepath -w "$exe" 2>/dev/null)\""
    for arg in "$@"; do
        # A file of the build machine, as the program sees it.
        if [[ "$arg" == /* ]] && [ -e "$arg" ]; then arg=$(winepath -w "$arg" 2>/dev/null); fi
        line+=" \"$arg\""
    done
    if $qtTest; then line+=" -o \"$(winepath -w "$log" 2>/dev/null),txt\""; fi
    echo "$line"
    echo "exit /b %errorlevel%"
} | sed 's/$/\r/' >"$batch"

"$wine" cmd /c "$(winepath -w "$batch" 2>/dev/null)"
status=$?
if $qtTest; then cat "$log"; fi
exit $status
