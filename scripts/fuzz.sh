#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time from the seed corpus; any finding fails the script.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCSV2PNP_BUILD_TESTS=OFF -DCSV2PNP_FUZZ=ON -DCSV2PNP_SANITIZE=fuzzer-no-link,address,undefined >/dev/null
cmake --build "$build" -j2 --target plot_fuzzer options_fuzzer pnpplot_fuzzer
for target in plot options pnpplot; do
  corpus=$(mktemp -d)
  cp "$root/fuzz/corpus/$target/"* "$corpus/"
  echo "== ${target}_fuzzer for ${seconds}s"
  "$build/${target}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build/${target}-" "$corpus" 2>&1 |
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done|==[0-9]+==|SUMMARY|INFO: Seed)|ERROR|crash' || true
  rm -rf "$corpus"
  if ls "$build/${target}-"* >/dev/null 2>&1; then echo "finding in ${target}_fuzzer: $(ls "$build/${target}-"*)"; exit 1; fi
done
