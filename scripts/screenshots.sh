#!/usr/bin/env bash
# Remakes the README's pictures, docs/screenshots/*.png: the splash, the
# five tabs of the main window filled with an example declaration, and the
# program started after a crash asking to restore the unsaved work. The
# program runs on a virtual X display (Xvfb) with the real xcb platform and
# the Chinese font the package depends on (fonts-wqy-microhei).
#
#   scripts/screenshots.sh [BUILD_DIR]      (default build, as scripts/run.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${1:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target varnok_screenshots varnok
mkdir -p docs/screenshots
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
# A desktop theme or style of the machine must not change the pictures.
env -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE -u QT_SCALE_FACTOR \
    QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$runtime" XDG_DATA_HOME="$runtime/data" \
    xvfb-run -a -s "-screen 0 1280x800x24" sh -c '
        set -e
        "$1/tests/varnok_screenshots" docs/screenshots
        # The copy left behind is offered once the splash has given way.
        "$1/varnok" & program=$!
        sleep 8
        import -window root docs/screenshots/recovery-question.png
        kill $program
        echo docs/screenshots/recovery-question.png' sh "$build"
