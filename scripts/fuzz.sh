#!/usr/bin/env bash
# Builds the document fuzzer with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs it.
#   scripts/fuzz.sh [seconds] [extra libFuzzer options...]
# Without seconds it runs for 60 s; with 0 it runs until stopped.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
for p in clang-14 libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="${missing:-} $p"
done
if [ -n "${missing:-}" ]; then
    $SUDO apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi

cmake -S . -B build-fuzz -DVARNOK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_document

# Seeds: the documents in the repository; new findings go to a scratch
# corpus so the repository's seeds stay as they are.
work=build-fuzz/corpus
mkdir -p "$work" build-fuzz/artifacts
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec build-fuzz/tests/fuzz/fuzz_document "$work" tests/fuzz/corpus \
    -dict=tests/fuzz/document.dict -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=build-fuzz/artifacts/ -print_final_stats=1 "$@"
