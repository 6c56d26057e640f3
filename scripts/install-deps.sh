#!/usr/bin/env bash
# Installs what building and testing Vantrel needs, from Debian's packages.
# Safe to run again: it installs only what is missing. Needs root.
set -euo pipefail
. "$(dirname "$0")/wine-desktop.sh"

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

base=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
      xvfb xauth xdotool imagemagick zip fonts-liberation fonts-wine)
for p in "${base[@]}"; do have "$p" || need+=("$p"); done
# wine32 runs the 32-bit program (vantrel-x86.exe) and needs the i386
# architecture. A kernel with 32-bit emulation off cannot run it at all: there
# it is not installed, and the 32-bit end-to-end run is skipped.
want32=no
if kernel_runs_32bit; then
  want32=yes
  have wine32:i386 || need+=(wine32:i386)
else
  echo "install-deps: this kernel runs no 32-bit programs; wine32 is not installed" >&2
fi

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and installing them needs root: ${need[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [ "$want32" = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -q
apt-get install -y -q --no-install-recommends "${need[@]}"
