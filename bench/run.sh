#!/usr/bin/env bash
# Builds in Release mode, generates a realistic export, and runs csv2pnp, the floor
# (bench/write_floor.cpp: the expected plot files written again, one write per line) and
# pnpplot judging both plot files (spurs, floor margin, a limit mask, the JSON summary) and
# drawing them, also with the time-domain deviations, the power-law fit and the HTML report,
# alternately, several runs each. The time domain runs on two exports: the smooth one, and the
# same rows with levels that scatter point to point as a measured sweep does (Gaussian 0.5 dB,
# printed to 0.01 dB), each beside csv2pnp and the floor on that export and beside pnpplot
# drawing the same report without the deviations. Prints for each the
# medians of wall time, user and system CPU and peak memory, then the ratios of the wall
# times and the cost of 1M rows against 100k rows.
# Usage: bench/run.sh [RUNS]   (default 9, at least 7)
# CSV2PNP=path/to/csv2pnp times that build instead of the one made here, for a before-and-
# after comparison against the same floor.
set -euo pipefail
runs=${1:-9}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCSV2PNP_BUILD_TESTS=OFF -DCSV2PNP_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target csv2pnp pnpplot generate_export write_floor >/dev/null
tool=$(realpath "${CSV2PNP:-$build/csv2pnp}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/bench/generate_export" 1000000 >big.csv
"$build/bench/generate_export" 100000 >small.csv
"$build/bench/generate_export" 1000000 scattered >scattered.csv
"$tool" big.csv >/dev/null  # the floor's lines, and a warm cache
"$tool" scattered.csv >/dev/null
# The same rows, offset and phase noise, as a PN2060 export and as a Rohde & Schwarz export with
# decimal commas and CR LF: pnpplot reads and sums up each.
cut -d, -f1,2 big.csv >rows.csv
awk -F, 'BEGIN { printf "Type;FSWP50;\r\nSignal Frequency;10000000;Hz\r\n" }
         { offset[NR] = $1; level[NR] = $2 }
         END { printf "Trace;1;\r\nTrace Result;PN;\r\nx-Unit;Hz;\r\ny-Unit;dBc/Hz;\r\nValues;%d;\r\n", NR
               for (i = 1; i <= NR; i++) { gsub(/\./, ",", offset[i]); gsub(/\./, ",", level[i])
                                           printf "%s;%s;\r\n", offset[i], level[i] } }' big.csv >rows.dat

# A mask that every point of the pair fails: each is crossed, a few a pixel column.
printf '0.01,-300\n10M,-300\n' >failing.txt

# One run: appends "wall user system peak-KiB" to the named file; the wall time to the
# nanosecond from the clock, the rest from GNU time. Status 3, a failing mask, is a result.
measure() {
  local into=$1 start end; shift
  start=$(date +%s%N)
  /usr/bin/time --quiet -f '%U %S %M' -o "$work/time.tmp" "$@" >/dev/null 2>"$work/stderr.tmp" || [ $? -eq 3 ]
  end=$(date +%s%N)
  echo "$(echo "($end - $start) / 1000000000" | bc -l) $(cat "$work/time.tmp")" >>"$into"
}
for _ in $(seq "$runs"); do
  measure tool.runs "$tool" big.csv
  measure floor.runs "$build/bench/write_floor" big.csv.pnp big.csv.img.pnp .
  measure small.runs "$tool" small.csv
  measure plot.runs "$build/pnpplot" -m "$root/examples/mask.txt" -j big.json -o big.svg big.csv.pnp big.csv.img.pnp
  measure failing.runs "$build/pnpplot" -m failing.txt -o failing.svg big.csv.pnp big.csv.img.pnp
  for pair in big scattered; do
    [ $pair = big ] || measure tool-$pair.runs "$tool" $pair.csv
    [ $pair = big ] || measure floor-$pair.runs "$build/bench/write_floor" $pair.csv.pnp $pair.csv.img.pnp .
    measure adev-$pair.runs "$build/pnpplot" --adev -o adev.svg $pair.csv.pnp $pair.csv.img.pnp
    measure bare-$pair.runs "$build/pnpplot" -m "$root/examples/mask.txt" -j bare.json --html bare.html \
      -o bare.svg $pair.csv.pnp $pair.csv.img.pnp
    measure full-$pair.runs "$build/pnpplot" --adev --mdev --tdev --fit -m "$root/examples/mask.txt" -j full.json \
      --html full.html -o full.svg $pair.csv.pnp $pair.csv.img.pnp
  done
  measure export.runs "$build/pnpplot" -o rows-csv.svg rows.csv
  measure rs.runs "$build/pnpplot" -o rows-dat.svg rows.dat
done

median() { # file column
  sort -g -k"$2","$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'
}
report() { # label file
  printf '%-20s wall %6.3f s   user %5.2f s   system %5.2f s   peak %7d KiB\n' "$1" \
    "$(median "$2" 1)" "$(median "$2" 2)" "$(median "$2" 3)" "$(median "$2" 4)"
}
input_bytes=$(stat -c %s big.csv)
printf 'input: 1000000 rows, %d bytes; outputs %d + %d bytes; medians of %d runs\n' "$input_bytes" \
  "$(stat -c %s big.csv.pnp)" "$(stat -c %s big.csv.img.pnp)" "$runs"
report 'csv2pnp, 1M rows' tool.runs
report 'floor, 1M rows' floor.runs
report 'csv2pnp, 100k rows' small.runs
report 'pnpplot -m -j, 1M rows' plot.runs
report 'pnpplot, all failing' failing.runs
report 'pnpplot --adev' adev-big.runs
report 'pnpplot -m -j --html' bare-big.runs
report 'pnpplot, time domain' full-big.runs
report 'pnpplot, PN2060 rows' export.runs
report 'pnpplot, R&S rows' rs.runs
printf 'ratio csv2pnp/floor (wall): %.3f (target <= 1.10)\n' \
  "$(echo "$(median tool.runs 1) / $(median floor.runs 1)" | bc -l)"
printf 'scaling 1M/100k rows (wall): %.2f (target <= 11)\n' \
  "$(echo "$(median tool.runs 1) / $(median small.runs 1)" | bc -l)"
printf 'peak memory limit, 1.5 x input + 4 MiB: %d KiB\n' "$(( input_bytes * 3 / 2 / 1024 + 4096 ))"
plot_bytes=$(( $(stat -c %s big.csv.pnp) + $(stat -c %s big.csv.img.pnp) ))
points=$(grep -c '^   TRA ' big.csv.pnp big.csv.img.pnp | awk -F: '{ n += $2 } END { print n }')
printf 'ratio pnpplot/csv2pnp (wall): %.3f (target <= 0.5); SVG %d bytes\n' \
  "$(echo "$(median plot.runs 1) / $(median tool.runs 1)" | bc -l)" "$(stat -c %s big.svg)"
printf 'pnpplot peak memory limit, plot files + 32 bytes a point (%d points): %d KiB\n' "$points" \
  "$(( (plot_bytes + 32 * points) / 1024 ))"
printf 'ratio pnpplot --adev --mdev --tdev --fit -m -j --html / csv2pnp (wall): %.3f (target <= 0.5)\n' \
  "$(echo "$(median full-big.runs 1) / $(median tool.runs 1)" | bc -l)"
echo 'scattered export: the same rows, levels scattered by 0.5 dB'
report 'csv2pnp' tool-scattered.runs
report 'floor' floor-scattered.runs
report 'pnpplot --adev' adev-scattered.runs
report 'pnpplot -m -j --html' bare-scattered.runs
report 'pnpplot, time domain' full-scattered.runs
printf 'scattered: ratio csv2pnp/floor (wall): %.3f\n' \
  "$(echo "$(median tool-scattered.runs 1) / $(median floor-scattered.runs 1)" | bc -l)"
printf 'scattered: ratio pnpplot --adev --mdev --tdev --fit -m -j --html / csv2pnp (wall): %.3f (target <= 0.5)\n' \
  "$(echo "$(median full-scattered.runs 1) / $(median tool-scattered.runs 1)" | bc -l)"
printf 'pnpplot with every point above the mask: SVG %d bytes (target < 1 MB)\n' "$(stat -c %s failing.svg)"
printf 'ratio R&S export with decimal commas / the same rows as a PN2060 export (wall): %.3f (target <= 1.25)\n' \
  "$(echo "$(median rs.runs 1) / $(median export.runs 1)" | bc -l)"
