#!/usr/bin/env bash
# The Windows build in one command, on Debian 12:
#
#  1. the cross toolchain (scripts/windows/toolchain.sh: nothing to do when
#     it is up to date, about an hour the first time);
#  2. varnok.exe cross-built in build-win/, and from it the installer
#     Varnok-1.0-setup.exe and the portable Varnok-1.0-win64.zip;
#  3. the tests under Wine (scripts/windows/test.sh);
#  4. the smoke test of the installer under Wine (scripts/windows/smoke.sh).
#
#   scripts/windows/build.sh [--no-tests] [--no-smoke] [BUILD_DIR]   (default build-win)
#
# VARNOK_WIN64_JOBS sets the parallel jobs (default 2). Ends by saying where
# the installer and the zip are; exits non-zero when a step failed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
jobs="${VARNOK_WIN64_JOBS:-2}"
run_tests=1
run_smoke=1
build=""
while [ $# -gt 0 ]; do
    case "$1" in
        --no-tests) run_tests=0 ;;
        --no-smoke) run_smoke=0 ;;
        -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        -*) echo "build.sh: unknown option $1" >&2; exit 2 ;;
        *) build="$1" ;;
    esac
    shift
done
build="${build:-$root/build-win}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"

say() { printf '[windows] %s\n' "$*"; }
die() { printf '[windows] error: %s\n' "$*" >&2; exit 1; }

# --- what the packaging and the smoke test use, beyond the toolchain's -------
"$root/scripts/install-deps.sh" nsis wine wine64 xvfb xauth imagemagick icoutils xdotool fonts-wqy-microhei python3

# --- 1. the toolchain ---------------------------------------------------------
VARNOK_WIN64_JOBS="$jobs" "$here/toolchain.sh"
cache="${VARNOK_WIN64_CACHE:-$HOME/.cache/varnok-win64}"
[ -f "$cache/env.sh" ] || die "$cache/env.sh is missing after toolchain.sh"
# shellcheck source=/dev/null
source "$cache/env.sh"

# --- 2. the program, the installer and the zip -----------------------------------
say "configuring $build"
nice cmake -S "$root" -B "$build" "${VARNOK_WIN64_CMAKE_ARGS[@]}" >"$build/configure.log" 2>&1 \
    || { tail -n 30 "$build/configure.log" >&2; die "configuring failed, see $build/configure.log"; }
say "building varnok.exe, the installer and the zip (-j$jobs)"
nice cmake --build "$build" -j "$jobs" --target varnok_windows_package

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=\([0-9]*\.[0-9]*\).*/\1/p' "$build/CMakeCache.txt")"
installer="$build/Varnok-$version-setup.exe"
zip="$build/Varnok-$version-win64.zip"
[ -f "$installer" ] || die "$installer was not made"
[ -f "$zip" ] || die "$zip was not made"

# --- 3. and 4. the tests -----------------------------------------------------------
failed=()
if [ "$run_tests" = 1 ]; then
    if [ -x "$here/test.sh" ]; then
        say "tests under Wine: scripts/windows/test.sh"
        "$here/test.sh" "$build" || failed+=("tests (scripts/windows/test.sh)")
    else
        say "scripts/windows/test.sh is not there yet: the tests under Wine were not run"
    fi
fi
if [ "$run_smoke" = 1 ]; then
    say "smoke test of the installer: scripts/windows/smoke.sh"
    "$here/smoke.sh" "$build" || failed+=("smoke test (scripts/windows/smoke.sh)")
fi

say "installer: $installer ($(du -h "$installer" | cut -f1))"
say "zip:       $zip ($(du -h "$zip" | cut -f1))"
if [ "${#failed[@]}" -gt 0 ]; then
    printf '[windows] FAILED: %s\n' "${failed[@]}" >&2
    exit 1
fi
