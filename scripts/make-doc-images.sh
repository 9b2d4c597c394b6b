#!/bin/sh
# Draws every chart and picture the README and the guide show, from the examples, into doc/.
#   scripts/make-doc-images.sh                  the SVGs and the PNGs, with build/pnpplot
#   scripts/make-doc-images.sh --svg DIR PNPPLOT  the SVGs alone, into DIR (the suite compares
#                                                 them with doc/ to see that they are current)
# The PNGs need rsvg-convert (librsvg2-bin); the report's pictures node, npm ci in
# tests/browser, Chromium and pdftoppm (poppler-utils), as the browser test does.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
svg_only=
if [ "${1:-}" = "--svg" ]; then
  svg_only=1
  out=$(cd "$2" && pwd)
  pnpplot=$3
else
  out=$root/doc
  pnpplot=$root/build/pnpplot
  [ -x "$pnpplot" ] || { echo "build pnpplot first: cmake --workflow --preset build" >&2; exit 1; }
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$root/examples" "$work/examples"
cd "$work"

# The SVGs, each drawn by the command the documents give for it.
"$pnpplot" -r 10:100k -o "$out/osc1.svg" examples/osc1.csv >/dev/null

[ -n "$svg_only" ] && exit 0

# Nine synthetic inputs with long names (a flicker slope, a white floor and a little noise,
# the same numbers with any awk), and the dark variant, rendered to PNG.
awk 'BEGIN {
  seed = 1
  for (rev = 1; rev <= 9; ++rev) {
    file = "VCO_1G2_board_rev" rev "_85C_after_loop_filter_change.csv"
    for (k = 0; k <= 60; ++k) {
      x = k / 10; a = -91 + rev; f = sprintf("%.4g", 10 ^ x) + 0
      pn = 10 * log(10 ^ ((a - 30 * x) / 10) + 10 ^ ((a - 20 - 20 * x) / 10) + 10 ^ ((1.2 * rev - 161) / 10)) / log(10)
      fl = 10 * log(10 ^ ((a - 15 - 30 * x) / 10) + 10 ^ (-17.3)) / log(10)
      seed = seed * 16807 % 2147483647; pn += 2 * (seed / 2147483647 - 0.5)
      seed = seed * 16807 % 2147483647; fl += 4 * (seed / 2147483647 - 0.5)
      fmt = (f < 1000 ? "%s" : "%d") ",%.2f,%.2f\n"; printf fmt, f, pn, fl > file
    }
    close(file)
  }
}'
"$pnpplot" -r 10:1M -o nine.svg VCO_1G2_board_rev*_85C_after_loop_filter_change.csv >/dev/null
rsvg-convert nine.svg -o "$out/chart-nine-inputs.png"
"$pnpplot" --dark -r 10:100k -m examples/mask.txt -o dark.svg examples/spurs.csv examples/osc1.csv >/dev/null || true
rsvg-convert dark.svg -o "$out/chart-dark.png"

# The report's screenshot and its first printed page, as the browser test makes them (it
# needs npm ci in tests/browser, Chromium and pdftoppm from poppler-utils).
node "$root/tests/browser/report_test.js" "$pnpplot" "$work/examples/osc1.csv" "$work/browser" >/dev/null ||
  { echo "the browser test failed: see $work/browser" >&2; exit 1; }
cp "$work/browser/report.png" "$out/report.png"
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/browser/report-A4.pdf" "$out/report-print"
echo "drawn into doc/"
