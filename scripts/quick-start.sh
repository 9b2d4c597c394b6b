#!/bin/sh
# The quick start: installs what the build needs (only what is missing), builds csv2pnp and
# pnpplot with the CMake presets into build/, and runs both on the sample export in try/.
# For Debian 12 and Ubuntu 24.04 or later, as root or as a user with sudo:
#   sh scripts/quick-start.sh
set -eu
cd "$(dirname "$0")/.."
. scripts/setup-common.sh

# make too: CMake only recommends it, and the build needs one.
install_missing g++ cmake make
require_cmake

echo "== Building"
cmake --workflow --preset build

echo "== Converting the sample export and drawing it, in try/"
mkdir -p try
cd try
../build/csv2pnp ../examples/osc1.csv
../build/pnpplot osc1.csv.pnp osc1.csv.img.pnp
cat <<'DONE'

== Done. The programs are build/csv2pnp and build/pnpplot; what they wrote is in try/:
   try/osc1.csv.pnp       the plot file of the phase noise
   try/osc1.csv.img.pnp   the plot file of the floor (the imaginary part)
   try/osc1.csv.pnp.svg   the chart of both, for any browser
The test suite: sh scripts/test-setup.sh
DONE
