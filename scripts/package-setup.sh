#!/bin/sh
# Installs what the release packages need beyond the build (only what is missing): dpkg-dev
# and file, which CPack's Debian generator runs, and the MinGW-w64 compiler of the Windows zip.
# Then each package is one command:
#   cmake --workflow --preset package           # build-package/csv2pnp_<version>_amd64.deb
#   cmake --workflow --preset package-windows   # build-package-win/csv2pnp-<version>-win64.zip
# A Debian package needs the C library of the release it is built on or a later one: releases
# are built on Debian 12. For Debian 12 and Ubuntu 24.04 or later, as root or as a user with
# sudo:
#   sh scripts/package-setup.sh
set -eu
cd "$(dirname "$0")/.."
. scripts/setup-common.sh

install_missing g++ cmake make dpkg-dev file g++-mingw-w64-x86-64
require_cmake
