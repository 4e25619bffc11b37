#!/usr/bin/env bash
# Builds the Qt-free part of Kestrin (core, platform with its databases,
# document, analysis, kestrin-cli) and its tests for 64-bit ARM with Debian's
# cross compiler, and runs the tests under qemu-user-static. Shows that the
# tree builds without x86 instructions and that the plain arithmetic gives
# the same numbers bit for bit. Not part of ./test.sh: it installs Debian's
# arm64 packages (as root) and takes a while.
#
#   scripts/test-arm64.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  g++-aarch64-linux-gnu
  qemu-user-static
  cmake
  ninja-build
  pkg-config
  nlohmann-json3-dev
  libkissfft-dev
  libsqlite3-dev:arm64
  mdbtools-dev:arm64
  libgtest-dev:arm64
  libgmock-dev:arm64
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx arm64; then
    $SUDO dpkg --add-architecture arm64
  fi
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build=build/arm64
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/aarch64-linux-gnu.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DKESTRIN_BUILD_GUI=OFF \
  -DKESTRIN_BUILD_BENCH=OFF \
  -DKESTRIN_BUILD_TESTS=ON \
  -DKESTRIN_BUILD_PYTHON=OFF \
  -DKESTRIN_USE_MOLD=OFF \
  -DKESTRIN_TEST_PCH=OFF
cmake --build "$build" -j"${KESTRIN_JOBS:-2}"

# The tests start programs of their own (kestrin-cli, the Access reader's
# child process): the kernel must hand arm64 programs to the emulator. Without
# a registration, make one (root, binfmt_misc), with the F flag so that the
# emulator works inside any mount namespace.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/qemu-aarch64" ]; then
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  printf '%s' ':qemu-aarch64:M::\x7fELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xb7\x00:\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-aarch64-static:F' \
    > "$binfmt/register"
fi

# The emulated tests run several times slower than native ones.
export QEMU_LD_PREFIX=/usr/aarch64-linux-gnu
ctest --test-dir "$build" -j"${KESTRIN_JOBS:-2}" --timeout 1200 --output-on-failure "$@"
