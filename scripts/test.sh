#!/usr/bin/env bash
# Installs what is missing, builds Varnok and its tests, runs every test
# headless through CTest, then runs each fuzzer for half a minute; then, where
# the Windows toolchain has been built, the Windows build's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure
# A short run of each fuzzer keeps them alive.
scripts/fuzz.sh 30
# The Windows build under Wine, where the cached toolchain exists.
scripts/windows/test.sh
