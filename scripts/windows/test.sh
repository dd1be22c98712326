#!/usr/bin/env bash
# Builds Varnok and its tests for Windows with the cached cross toolchain and
# runs every test as a Windows program under Wine, through CTest. Without
# Qt in the toolchain (scripts/windows/toolchain.sh, about an hour the first
# time) it says so and stops there; it never builds Qt. A toolchain made
# before libxlsxwriter was part of it gets that library (a minute) through
# toolchain.sh --libraries-only, which never builds Qt.
#   scripts/windows/test.sh [BUILD_DIR]     (default build-win)
set -euo pipefail
cd "$(dirname "$0")/../.."
cache=${VARNOK_WIN64_CACHE:-$HOME/.cache/varnok-win64}
if [ ! -f "$cache/env.sh" ] || [ ! -d "$cache/qt6/lib/cmake/Qt6" ] || ! command -v wine >/dev/null; then
    echo "Windows toolchain not built: skipped (scripts/windows/toolchain.sh builds it)"
    exit 0
fi
if [ ! -f "$cache/stamp-libxlsxwriter" ] || [ ! -f "$cache/libxlsxwriter/lib/pkgconfig/xlsxwriter.pc" ]; then
    scripts/windows/toolchain.sh --libraries-only
fi
# shellcheck source=/dev/null
source "$cache/env.sh"
build=${1:-build-win}
cmake -S . -B "$build" "${VARNOK_WIN64_CMAKE_ARGS[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
# Wine's server is shared by the tests of a run; it ends with them.
ctest --test-dir "$build" -j"$(nproc)" --output-on-failure
