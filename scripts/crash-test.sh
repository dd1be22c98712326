#!/usr/bin/env bash
# The long crash-safety run: a window saving its whole declaration (every
# list filled) through 保存, over and over, is killed with SIGKILL at random
# moments, ROUNDS times (default 1000); after every kill the file must be one
# whole declaration, the old or the new, every list included.
#   scripts/crash-test.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-1000}"
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target tst_crashsafety varnok_savetool
QT_QPA_PLATFORM=offscreen VARNOK_CRASH_ROUNDS="$rounds" build/tests/tst_crashsafety
