#!/usr/bin/env bash
# Builds the fuzzers with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs each in turn:
#   fuzz_document  reads any bytes as a document, writes it back, reads again;
#   fuzz_fields    pastes any text into every field, saves, reads the file back.
#   scripts/fuzz.sh [seconds] [target] [extra libFuzzer options...]
# Each target runs for the given seconds (60 without; 0 runs until stopped);
# with a target, only that one runs.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=(fuzz_document fuzz_fields)
if [ $# -gt 0 ] && [[ "$1" == fuzz_* ]]; then
    targets=("$1")
    shift
fi

scripts/install-deps.sh clang-14 libclang-rt-14-dev

cmake -S . -B build-fuzz -DVARNOK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

# A smaller quarantine and no filling of fresh memory keep the window's many
# small allocations fast; every check of the sanitizers stays on.
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1:quarantine_size_mb=16:max_malloc_fill_size=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/fuzz/lsan.supp"
# The window without a screen or fonts: fuzz_fields looks at what the fields
# hold, not at how they are drawn.
export QT_QPA_PLATFORM=minimal
# The saved files of fuzz_fields go to memory where there is some.
if [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

for target in "${targets[@]}"; do
    # Seeds and dictionary from the repository; new findings go to a scratch
    # corpus so the repository's seeds stay as they are.
    work=build-fuzz/corpus/$target
    mkdir -p "$work" build-fuzz/artifacts
    case $target in
        fuzz_document) seeds=(tests/fuzz/corpus) dict=document.dict max_len=65536 leaks=1 ;;
        # Values of up to 1 KB each, now and then one repeated to 40,000
        # characters. No leak check after each input: Qt's caches grow as the
        # window is used, and a heap scan per input would make it crawl.
        fuzz_fields) seeds=() dict=fields.dict max_len=2048 leaks=0 ;;
    esac
    echo "== $target"
    build-fuzz/tests/fuzz/$target "$work" "${seeds[@]}" -dict=tests/fuzz/$dict -max_total_time="$seconds" \
        -max_len=$max_len -detect_leaks=$leaks -timeout=20 -rss_limit_mb=4096 -artifact_prefix=build-fuzz/artifacts/ -print_final_stats=1 "$@"
done
