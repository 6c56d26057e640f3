#!/usr/bin/env bash
# Installs what building and testing Vantrel needs, from Debian's packages.
# Safe to run again: it installs only what is missing. Needs root.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

base=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
      xvfb xauth xdotool imagemagick zip fonts-liberation fonts-wine)
for p in "${base[@]}"; do have "$p" || need+=("$p"); done
# wine32 runs the shipped 32-bit program; it needs the i386 architecture.
if ! have wine32:i386; then need+=(wine32:i386); fi

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and installing them needs root: ${need[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -q
apt-get install -y -q --no-install-recommends "${need[@]}"
