#!/usr/bin/env bash
# Installs what building and testing Vantrel needs, from Debian's packages.
# Safe to run again: it installs only what is missing. Needs root.
set -euo pipefail
. "$(dirname "$0")/wine-desktop.sh"

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

base=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
      xvfb xauth xdotool imagemagick zip fonts-liberation fonts-wine
      osslsigncode openssl unzip python3 python3-yaml git)
for p in "${base[@]}"; do have "$p" || need+=("$p"); done
# wine32 runs the 32-bit program (vantrel-x86.exe) and needs the i386
# architecture. A kernel with 32-bit emulation off cannot run it at all: there
# it is not installed, and the 32-bit end-to-end run is skipped.
want32=no
if kernel_runs_32bit; then
  want32=yes
  have wine32:i386 || want32=missing
else
  echo "install-deps: this kernel runs no 32-bit programs; wine32 is not installed" >&2
fi

if [ ${#need[@]} -eq 0 ] && [ "$want32" != missing ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and installing them needs root: ${need[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [ "$want32" = missing ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
# A mirror in the middle of a sync can fail one of its lists; the lists that
# came still serve, and the install below says plainly what it cannot find.
apt-get update -q || { sleep 10; apt-get update -q; } ||
  echo "install-deps: apt-get update reported errors; installing from the package lists it has" >&2
[ ${#need[@]} -eq 0 ] || apt-get install -y -q --no-install-recommends "${need[@]}"
# The 32-bit Wine on its own: its lists can lag behind the 64-bit ones (a
# mirror mid-sync), and without it only the 32-bit end-to-end run is skipped.
if [ "$want32" = missing ]; then
  apt-get install -y -q --no-install-recommends wine32:i386 ||
    echo "install-deps: wine32 could not be installed; the 32-bit end-to-end run will be skipped" >&2
fi
