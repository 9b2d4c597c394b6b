#!/usr/bin/env bash
# Converts the sample export and a set of edge inputs with the Linux build and, under Wine,
# with the Windows build, and compares every plot file byte for byte. The TIM and EOF lines
# hold the clock, so they are checked for their form and then left out of the comparison.
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

inputs=(osc1.csv worked.csv header.csv odd.csv ctrlz.csv empty.csv)
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
exit $status
