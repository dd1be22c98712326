#!/usr/bin/env bash
# Installs what is missing, builds Varnok and its tests, runs every test
# headless through CTest, then fuzzes the document reader for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure
# A short fuzzing run of the document reader keeps the fuzzer alive.
scripts/fuzz.sh 60
