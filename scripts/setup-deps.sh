#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when missing.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  clang libclang-rt-14-dev
  nlohmann-json3-dev gnuplot-nox chromium poppler-utils
  pybind11-dev python3-dev python3-numpy python3-pandas python3-matplotlib
  python3-pytest python3-dask python3-distributed python3-openpyxl python3-tqdm
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
