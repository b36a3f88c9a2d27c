#!/bin/sh
# Installs the Debian 12 packages Velmora needs to build, test and run.
# Idempotent: only what is missing is installed.
set -eu

PACKAGES="
cmake
ninja-build
g++
pkg-config
qt6-base-dev
qt6-l10n-tools
libgl-dev
libgtest-dev
fonts-dejavu-core
zlib1g-dev
unzip
dpkg-dev
file
liborcus-dev
poppler-utils
libfreexl-dev
libxlsxwriter-dev
clang
clang-format
libclang-rt-14-dev
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
