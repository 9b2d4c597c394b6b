#!/usr/bin/env bash
# Converts the sample export and a set of edge inputs with the Linux build and, under Wine,
# with the Windows build, and compares every plot file byte for byte. The TIM and EOF lines
# hold the clock, so they are checked for their form and then left out of the comparison.
# Then draws the sample's plot files with both builds of pnpplot, found beside csv2pnp, and
# compares the charts and the summaries.
# Usage: scripts/compare-builds.sh LINUX_EXE WINDOWS_EXE
set -euo pipefail
linux_exe=$(realpath "$1")
windows_exe=$(realpath "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/in" "$work/linux" "$work/windows"
cp "$root/examples/osc1.csv" "$work/in/"
printf '5,-80,-90\n8,-85,-95\n10,-90,-100\n20,-95,-105\n50,-100,-110\n100,-110,-120\n200,-115,-125\n' >"$work/in/worked.csv"
printf 'Offset,Level,Floor\r\n0.005,-1,-2\r\n0.02,-3,-4\r\n0.5,5,-6\r\n20,-7\r\n\r\n1e6,-8,-9\r\n' >"$work/in/header.csv"
printf '0x1p4,nan,-nan\n1e400,inf,-inf\n-0,1e300,-1e-300\n  7 , 8 ,9,\n"1,5",x\n' >"$work/in/odd.csv"
printf '1,2,3\r4,5,6\x1a7,8,9\n' >"$work/in/ctrlz.csv"
: >"$work/in/empty.csv"

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
} >"$work/in/cells.csv"

inputs=(osc1.csv worked.csv header.csv odd.csv ctrlz.csv empty.csv cells.csv)
(cd "$work/linux" && for f in "${inputs[@]}"; do "$linux_exe" -i 4294967295 "../in/$f" >/dev/null; done)
(cd "$work/windows" && for f in "${inputs[@]}"; do wine "$windows_exe" -i 4294967295 "..\\in\\$f" >/dev/null 2>&1; done)

stamp=$'^(TIM|EOF) [0-9]{1,2}/[0-9]{2}/[0-9]{4} [0-9]{1,2}:[0-9]{2}:[0-9]{2}\r$'
status=0
for f in "${inputs[@]}"; do
  for suffix in .pnp .img.pnp; do
    a="$work/linux/$f$suffix" b="$work/windows/$f$suffix"
    for file in "$a" "$b"; do
      if [ "$(grep -cE "$stamp" "$file")" != 2 ]; then echo "bad TIM/EOF lines in $file"; status=1; fi
    done
    if cmp -s <(grep -vE "$stamp" "$a") <(grep -vE "$stamp" "$b"); then
      echo "same: $f$suffix ($(wc -c <"$a") bytes)"
    else
      echo "DIFFERENT: $f$suffix"; diff <(grep -vE "$stamp" "$a") <(grep -vE "$stamp" "$b") | head -5; status=1
    fi
  done
done
linux_plot=$(dirname "$linux_exe")/pnpplot
windows_plot=$(dirname "$windows_exe")/pnpplot.exe
# The summaries' "measured" lines show the TIM records, which hold each conversion's clock.
(cd "$work/linux" && "$linux_plot" -r 10:100k -o chart.svg osc1.csv.pnp osc1.csv.img.pnp |
  grep -v '^  measured ' >summary.txt)
(cd "$work/windows" && wine "$windows_plot" -r 10:100k -o chart.svg osc1.csv.pnp osc1.csv.img.pnp 2>/dev/null |
  tr -d '\r' | grep -v '^  measured ' >summary.txt)
for f in chart.svg summary.txt; do
  if cmp -s "$work/linux/$f" "$work/windows/$f"; then
    echo "same: pnpplot $f ($(wc -c <"$work/linux/$f") bytes)"
  else
    echo "DIFFERENT: pnpplot $f"; diff "$work/linux/$f" "$work/windows/$f" | head -5; status=1
  fi
done
exit $status
