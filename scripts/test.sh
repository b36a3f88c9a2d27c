#!/bin/sh
# Installs what is missing, builds, and runs every test.
#
#   sh scripts/test.sh          the build in build/ and every test (quick)
#   sh scripts/test.sh --full   then also: every test again built by clang with
#                               AddressSanitizer and UBSan (build-asan/), and each
#                               fuzz target for 60 seconds (build-fuzz/)
#
# With CI=true the run is always full and warnings are errors.
set -eu
cd "$(dirname "$0")/.."

full=no
for arg in "$@"; do
  case "$arg" in
    --full) full=yes ;;
    *) echo "usage: sh scripts/test.sh [--full]" >&2; exit 2 ;;
  esac
done
werror=OFF
if [ "${CI:-}" = true ]; then
  full=yes
  werror=ON
fi

sh scripts/build.sh -DVELMORA_WERROR="$werror"
# In CI the sources must stand as clang-format leaves them (.clang-format).
if [ "$werror" = ON ]; then sh scripts/check-format.sh; fi
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
[ "$full" = yes ] || exit 0

# Sanitizers: every test, the window's included. Warnings are left to the g++
# build above, so that clang's own opinions do not fail this one.
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$sanitize" -DVELMORA_WERROR=OFF
cmake --build build-asan -j"$(nproc)"
(cd build-asan && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=detect_leaks=0 \
  ctest --output-on-failure -j"$(nproc)")

# Fuzzing: each target for a minute from its committed corpus; what it finds
# stays in build-fuzz/, a crash input as build-fuzz/<target>-crash-*.
targets="submissionreader recordtable cp1253 amount spreadsheet formfile pdfpagecount workinglines"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON
for t in $targets; do cmake --build build-fuzz -j"$(nproc)" --target "fuzz_$t"; done
for t in $targets; do
  mkdir -p "build-fuzz/corpus/$t"
  "./build-fuzz/fuzz_$t" -max_total_time=60 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/$t-" "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t"
done
