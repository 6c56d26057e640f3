#!/usr/bin/env bash
# Builds the shipped 32-bit program and packs it with the README and the
# licence into build/vantrel-<version>.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target vantrel
version=$(sed -nE 's/^project\(Vantrel VERSION ([0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt)
out=build/vantrel-$version.zip
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/win32/vantrel.exe README.md LICENSE "$stage/"
rm -f "$out"
(cd "$stage" && zip -q -X "$OLDPWD/$out" vantrel.exe README.md LICENSE)
echo "Wrote $out"
unzip -l "$out"
