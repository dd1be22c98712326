#!/usr/bin/env bash
# Remakes the README's pictures, docs/screenshots/*.png: the splash, the
# five tabs of the main window filled with an example declaration, the
# desk's window with a folder made from it, the program started after a
# crash asking to restore the unsaved work, and, where LibreOffice is
# installed (it is no dependency of the project), the desk's workbook as
# LibreOffice shows it. The
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
        "$1/tests/varnok_screenshots" docs/screenshots "$2/desk.xlsx"
        # The copy left behind is offered once the splash has given way.
        "$1/varnok" & program=$!
        sleep 8
        import -window root docs/screenshots/recovery-question.png
        kill $program
        echo docs/screenshots/recovery-question.png' sh "$build" "$runtime"
# The workbook through LibreOffice's own rendering: its PDF, the first page,
# trimmed to the table.
if command -v soffice >/dev/null; then
    soffice --headless --convert-to pdf --outdir "$runtime" "$runtime/desk.xlsx" >/dev/null 2>&1
    pdftoppm -r 200 -png -singlefile -f 1 -l 1 "$runtime/desk.pdf" "$runtime/desk"
    convert "$runtime/desk.png" -trim +repage -bordercolor white -border 24 docs/screenshots/desk-workbook.png
    echo docs/screenshots/desk-workbook.png
else
    echo "LibreOffice (soffice) is not installed: docs/screenshots/desk-workbook.png not remade"
fi
