#!/usr/bin/env bash
# Runs two builds of the tools on the same inputs and compares everything a user sees: the
# consoles and exit statuses of csv2pnp and the plot files it writes, then pnpplot's charts,
# summaries and exit statuses. A build whose csv2pnp ends in .exe runs under Wine. Either
# build may be the Windows one, or both Linux builds of two versions of the source.
# The TIM and EOF lines hold the clock: they are checked for their form and then left out,
# and so are the summaries' "file time" lines, which show them, and the program's path in
# the usage text.
# Usage: scripts/compare-builds.sh CSV2PNP_A CSV2PNP_B   (each pnpplot is found beside it)
set -euo pipefail
exe_a=$(realpath "$1")
exe_b=$(realpath "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/in"
cd "$work/in"
cp "$root/examples/osc1.csv" "$root/examples/spurs.csv" "$root/examples/mask.txt" .
# A file of each layout pnpplot reads besides plot files and PN2060 exports.
for sample in rs.dat keysight.csv keysight-channels.csv header.csv columns-de.csv columns-quoted.csv; do
  cp "$root/fuzz/corpus/traces/$sample" "layout-$sample"
done
printf '5,-80,-90\n8,-85,-95\n10,-90,-100\n20,-95,-105\n50,-100,-110\n100,-110,-120\n200,-115,-125\n' >worked.csv
printf 'Offset,Level,Floor\r\n0.005,-1,-2\r\n0.02,-3,-4\r\n0.5,5,-6\r\n20,-7\r\n\r\n1e6,-8,-9\r\n' >header.csv
printf '0x1p4,nan,-nan\n1e400,inf,-inf\n-0,1e300,-1e-300\n  7 , 8 ,9,\n"1,5",x\n' >odd.csv
printf '1,2,3\r4,5,6\x1a7,8,9\n' >ctrlz.csv
: >empty.csv

# Every unusual cell spelling a host's C library might read its own way: white space, signs,
# hexadecimal floats, inf and nan forms, values beyond and below the doubles, no number.
fronts=('' ' ' $'\t' $'\v\f\r ' '-' '+' '- ' '+-' '--' ' -')
bodies=(5 .5 5. 1.5e3 1e 1e+ -.e1 x dBc 0x1p4 0X1.8P1 0x.8 0x 0xg 0x1p 0x1p-1074 0x1p-1075 0x1p1024
  0x-1 0xinf inf INF infinity iNfInItY infinit nan NAN 'nan(1)' 'nan(0x10000000000000)' 'nan(' 'nan(a_b)'
  1e308 1.8e308 1e400 1e-400 4.9e-324 2e-324 1e-310 123456789012345678901234567890 0.000000001e317 e5 in .)
tails=('' Hz ' dBc' $'\r' 'e7' 'p2')
{
  row=10
  for front in "${fronts[@]}"; do
    for body in "${bodies[@]}"; do
      for tail in "${tails[@]}"; do
        printf '%d,%s,%s\n' "$row" "$front$body$tail" "$tail$front$body"
        printf '%s,%s,%s\n' "$front$body$tail" "$body" "$front$body"
        row=$((row + 1))
      done
    done
  done
} >cells.csv
# A generated export of 10,000 rows, offsets log-spaced from 0.1 Hz to 1 MHz.
awk 'BEGIN { for (i = 0; i < 10000; i++) { f = 10 ^ (-1 + 7 * i / 9999); l = -60 - 10 * log(f) / log(10) * 1.7;
             printf "%.6g,%.2f,%.2f\n", f, l, l - 12 - i % 7 } }' >gen10k.csv
inputs=(osc1.csv worked.csv header.csv odd.csv ctrlz.csv empty.csv cells.csv gen10k.csv)

# run BUILD_DIR NAME PROGRAM ARGS...: in a fresh directory holding the inputs, keeps the
# console (CR LF read as LF) and the exit status as files named after the case.
run() {
  local out=$1 name=$2 program=$3 status=0
  shift 3
  rm -rf "$out/run" && mkdir -p "$out/run" && cp "$work/in/"* "$out/run/"
  if [[ $program == *.exe ]]; then
    (cd "$out/run" && WINEDEBUG=-all wine "$program" "$@" >../out 2>../err) || status=$?
  else
    (cd "$out/run" && "$program" "$@" >../out 2>../err) || status=$?
  fi
  # The usage text names the program as the host spells its path.
  local program_name='s/^Usage is .* \[options\] \[file-list\]$/Usage is csv2pnp [options] [file-list]/'
  tr -d '\r' <"$out/out" | grep -v '^  file time ' | sed -E "$program_name" >"$out/$name.out" || true
  tr -d '\r' <"$out/err" | sed -E "$program_name" >"$out/$name.err"
  echo "$status" >"$out/$name.status"
  for file in "$out/run/"*; do
    [ -e "$work/in/${file##*/}" ] || cp "$file" "$out/$name.${file##*/}"
  done
}

stamp=$'^(TIM|EOF) [0-9]{1,2}/[0-9]{2}/[0-9]{4} [0-9]{1,2}:[0-9]{2}:[0-9]{2}\r$'
for side in a b; do
  # Both builds run from the same place, so that the usage texts name the same program.
  exe=exe_$side
  suffix=${!exe##*csv2pnp}
  rm -rf "$work/bin" && mkdir "$work/bin"
  cp "${!exe}" "$(dirname "${!exe}")/pnpplot$suffix" "$work/bin/"
  csv2pnp=$work/bin/csv2pnp$suffix
  pnpplot=$work/bin/pnpplot$suffix
  out="$work/$side"
  mkdir -p "$out"
  run "$out" all-inputs "$csv2pnp" -i 4294967295 "${inputs[@]}"
  run "$out" default-carrier "$csv2pnp" osc1.csv gen10k.csv
  run "$out" usage "$csv2pnp"
  run "$out" help "$csv2pnp" -h osc1.csv
  run "$out" output-option "$csv2pnp" -o name osc1.csv
  run "$out" missing-value "$csv2pnp" -i
  run "$out" missing-input "$csv2pnp" nothere.csv worked.csv
  # pnpplot on the plot files csv2pnp wrote, on exports and on edge inputs.
  (cd "$out/run" && rm -f ./*.pnp)
  cp "$out"/default-carrier.*.pnp "$work/in/"
  for f in "$work/in/"default-carrier.*.pnp; do mv "$f" "$work/in/${f##*/default-carrier.}"; done
  run "$out" plot-pair "$pnpplot" osc1.csv.pnp osc1.csv.img.pnp
  run "$out" plot-export "$pnpplot" -r 10:100k -o chart.svg osc1.csv
  run "$out" plot-many "$pnpplot" -c 100M -t 'All of them' -o many.svg osc1.csv gen10k.csv.pnp gen10k.csv.img.pnp header.csv
  run "$out" plot-edge "$pnpplot" -o edge.svg odd.csv cells.csv worked.csv empty.csv nothere.csv
  run "$out" plot-stdout "$pnpplot" -o - -r 1k:2M gen10k.csv
  run "$out" plot-judged "$pnpplot" -m mask.txt -j judged.json -o judged.svg spurs.csv osc1.csv
  run "$out" plot-corrected "$pnpplot" --subtract-floor --omit-spurs --spur-threshold 6 -n 100M -j - spurs.csv
  run "$out" plot-report "$pnpplot" --adev --smooth 0.2 --dark -r 10:100k -j report.json -o report.html osc1.csv spurs.csv
  run "$out" plot-usage "$pnpplot" -r 100k:10 osc1.csv
  run "$out" plot-help "$pnpplot" --help
  run "$out" plot-layouts "$pnpplot" -j layouts.json -o layouts.svg layout-rs.dat layout-keysight.csv \
    layout-keysight-channels.csv layout-header.csv layout-columns-de.csv layout-columns-quoted.csv
  run "$out" plot-session "$pnpplot" -c 10M -l Reference osc1.csv -r 10:100k -c 100M -l XO spurs.csv -j -
  rm -f "$work/in/"*.pnp
  for file in "$out"/*.pnp; do
    if [ "$(grep -cE "$stamp" "$file")" != 2 ]; then echo "bad TIM/EOF lines in $file"; exit 1; fi
    grep -vE "$stamp" "$file" >"$file.tmp" && mv "$file.tmp" "$file"
  done
  rm -rf "$out/run" "$out/out" "$out/err"
done

status=0
count=0
for a in "$work/a/"*; do
  name=${a##*/}
  b="$work/b/$name"
  count=$((count + 1))
  if [ ! -e "$b" ]; then
    echo "ONLY IN THE FIRST BUILD: $name"; status=1
  elif ! cmp -s "$a" "$b"; then
    echo "DIFFERENT: $name"; diff "$a" "$b" | head -5 || true; status=1
  fi
done
for b in "$work/b/"*; do
  [ -e "$work/a/${b##*/}" ] || { echo "ONLY IN THE SECOND BUILD: ${b##*/}"; status=1; }
done
[ -z "${COMPARE_KEEP:-}" ] || cp -r "$work" "$COMPARE_KEEP"
echo "compared $count files: $([ $status = 0 ] && echo 'all the same' || echo 'differences above')"
exit $status
