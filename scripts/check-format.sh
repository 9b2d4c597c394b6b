#!/usr/bin/env bash
# Checks that every C++ source and header of the tree is laid out as .clang-format says.
# Usage: scripts/check-format.sh   (clang-format from Debian's clang-format package)
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "every C++ file is formatted"
