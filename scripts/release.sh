#!/usr/bin/env bash
# Builds both Windows programs and packs them with the README and the licence
# into build/vantrel-<version>.zip: vantrel.exe is the 64-bit program,
# vantrel-x86.exe the same program for 32-bit Windows.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
for preset in win-x64 win-x86; do
  cmake --preset $preset >/dev/null
  cmake --build --preset $preset --target vantrel
done
version=$(sed -nE 's/^project\(Vantrel VERSION ([0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt)
out=build/vantrel-$version.zip
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/win-x64/vantrel.exe "$stage/vantrel.exe"
cp build/win-x86/vantrel.exe "$stage/vantrel-x86.exe"
cp README.md LICENSE "$stage/"
rm -f "$out"
(cd "$stage" && zip -q -X "$OLDPWD/$out" vantrel.exe vantrel-x86.exe README.md LICENSE)
echo "Wrote $out"
unzip -l "$out"
