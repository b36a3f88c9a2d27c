#!/bin/sh
# Fails when a C++ source differs from what clang-format makes of it
# (.clang-format at the root). Format with: sh scripts/check-format.sh --fix
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
  'tools/*.cpp' 'tools/*.h')
if [ "${1:-}" = --fix ]; then
  clang-format -i $files
  exit 0
fi
clang-format --dry-run --Werror $files
