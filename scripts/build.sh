#!/bin/sh
# Configures and builds Velmora into ./build. Arguments go to the CMake
# configure step (scripts/test.sh passes -DVELMORA_WERROR=ON in CI).
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j"$(nproc)"
