#!/usr/bin/env bash
# Installs the Debian packages Kestrin needs to build, test and run.
# Idempotent: asks apt only for what is missing, and runs 'apt-get update'
# only when something must be installed.
set -euo pipefail

packages=(
  build-essential
  cmake
  ninja-build
  pkg-config
  libgtest-dev
  libgmock-dev
  libsqlite3-dev
  mdbtools-dev
  libbenchmark-dev
  libkissfft-dev
  qt6-base-dev
  qt6-svg-dev
  libx11-dev
  fonts-dejavu-core
  nlohmann-json3-dev
  mold
  pybind11-dev
  python3-dev
  python3-numpy
  python3-pytest
  python3-dask
  python3-distributed
  python3-matplotlib
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
