#!/usr/bin/env bash
# Builds in Release mode, generates a realistic export, and times csv2pnp against the
# write-per-line floor, alternately, several runs each; prints medians, the ratio, the peak
# memory and the cost of 1M rows against 100k rows.
# Usage: bench/run.sh [RUNS]   (default 7)
set -euo pipefail
runs=${1:-7}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCSV2PNP_BUILD_TESTS=OFF -DCSV2PNP_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target csv2pnp generate_export write_floor >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/bench/generate_export" 1000000 >big.csv
"$build/bench/generate_export" 100000 >small.csv

seconds() { # command... : wall seconds of one run
  local start end
  start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

"$build/csv2pnp" big.csv >/dev/null  # expected outputs for the floor, and a warm cache
tool=() floor=() small=()
for _ in $(seq "$runs"); do
  tool+=("$(seconds "$build/csv2pnp" big.csv)")
  floor+=("$(seconds "$build/bench/write_floor" big.csv.pnp big.csv.img.pnp .)")
  small+=("$(seconds "$build/csv2pnp" small.csv)")
done
tool_median=$(printf '%s\n' "${tool[@]}" | median)
floor_median=$(printf '%s\n' "${floor[@]}" | median)
small_median=$(printf '%s\n' "${small[@]}" | median)
peak_kb=$(/usr/bin/time -f %M "$build/csv2pnp" big.csv 2>&1 >/dev/null | tail -1)
input_bytes=$(stat -c %s big.csv)
printf 'input: %d rows, %d bytes; outputs %d + %d bytes\n' 1000000 "$input_bytes" \
  "$(stat -c %s big.csv.pnp)" "$(stat -c %s big.csv.img.pnp)"
printf 'csv2pnp 1M rows: median %.3f s over %d runs\n' "$tool_median" "$runs"
printf 'floor   1M rows: median %.3f s\n' "$floor_median"
printf 'ratio tool/floor: %.3f (target <= 1.15)\n' "$(echo "$tool_median / $floor_median" | bc -l)"
printf 'csv2pnp 100k rows: median %.3f s; 1M/100k: %.2f (target <= 11)\n' "$small_median" \
  "$(echo "$tool_median / $small_median" | bc -l)"
printf 'peak RSS: %d KiB; limit 1.5 x input + 4 MiB = %d KiB\n' "$peak_kb" "$(( input_bytes * 3 / 2 / 1024 + 4096 ))"
