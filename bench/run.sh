#!/usr/bin/env bash
# Builds what the benchmarks need (into build-bench/, or BUILD_DIR), runs them
# offscreen, measures the peak memory of the window opening the largest
# document, and prints the tables. Arguments go to the benchmark program,
# e.g. --benchmark_filter=save or --benchmark_repetitions=3.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build-bench}"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVARNOK_BUILD_TESTS=OFF
fi
cmake --build "$build" -j"$(nproc)" --target varnok varnok_bench varnok_open_peak
if [ ! -x /usr/bin/time ]; then
    echo "/usr/bin/time is missing: install the Debian package 'time' (scripts/install-deps.sh)" >&2
    exit 1
fi
export QT_QPA_PLATFORM=offscreen
docs="$build/bench-documents"
mkdir -p "$docs"

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores," \
     "$(free -h | awk '/^Mem:/ {print $2}') RAM; load average $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/varnok_bench" --documents="$docs" "$@"

# Peak resident size of the real window, as the kernel counts it.
peak_kib() {
    local entries
    entries=$(/usr/bin/time -v -o "$docs/time.txt" "$build/bench/varnok_open_peak" "$@")
    echo "$entries" >&2
    awk -F': ' '/Maximum resident set size/ {print $2}' "$docs/time.txt"
}
mib() { awk -v k="$1" 'BEGIN {printf "%.1f MiB", k / 1024}'; }

doc="$docs/declaration-10000.xml"
empty=$(peak_kib)
full=$(peak_kib "$doc")
bytes=$(stat -c %s "$doc")
echo
echo "== Peak resident size, window offscreen (bench/open_peak under /usr/bin/time -v) =="
printf '%-34s %12s %12s %22s\n' "opened" "file size" "peak RSS" "above empty window"
printf '%-34s %12s %12s %22s\n' "nothing" "-" "$(mib "$empty")" "-"
printf '%-34s %12s %12s %22s\n' "4 x 10000 entries" "$(mib $((bytes / 1024)))" "$(mib "$full")" \
    "$(mib $((full - empty))) ($(awk -v d=$(((full - empty) * 1024)) -v b="$bytes" 'BEGIN {printf "%.1f", d / b}') x file)"
