#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time from its seed corpus. A finding, or any other failure of a
# fuzzer, fails the script; findings of earlier runs are cleared first.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 60 s, every target)
set -euo pipefail
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(plot options traces summary pnpplot)
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCSV2PNP_BUILD_TESTS=OFF -DCSV2PNP_FUZZ=ON -DCSV2PNP_SANITIZE=fuzzer-no-link,address,undefined >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/%/_fuzzer}"
status=0
for target in "${targets[@]}"; do
  rm -f "$build/${target}-"*
  corpus=$(mktemp -d)
  cp "$root/fuzz/corpus/$target/"* "$corpus/"
  echo "== ${target}_fuzzer for ${seconds}s"
  run=0
  "$build/${target}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build/${target}-" "$corpus" >"$build/${target}.log" 2>&1 || run=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done|==[0-9]+==|SUMMARY|INFO: Seed)|ERROR|crash' \
    "$build/${target}.log" || true
  rm -rf "$corpus"
  if [ "$run" != 0 ]; then
    echo "${target}_fuzzer failed with status $run: $(ls "$build/${target}-"* 2>/dev/null || echo 'no finding saved')"
    tail -20 "$build/${target}.log"
    status=1
  fi
done
exit $status
