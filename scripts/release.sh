#!/usr/bin/env bash
# Makes the whole release in build/dist/ in one command:
#   vantrel-<version>.zip        vantrel.exe (64-bit), vantrel-x86.exe (32-bit),
#                                README.md and LICENSE
#   CHANGELOG-<version>.md       this version's section of CHANGELOG.md
#   winget/<id>.*.yaml           the winget manifests (version, default locale,
#                                installer), from packaging/winget/
#   scoop/vantrel.json           the Scoop manifest, from packaging/scoop/
#   SHA256SUMS                   the hash of every other file here
#
#   bash scripts/release.sh [--sign <certificate.pfx> [--timestamp <url>]]
#
# --sign signs both programs with Authenticode (SHA-256) before anything is
# hashed; the certificate's password is taken from VANTREL_SIGN_PASSWORD.
# --timestamp adds an RFC 3161 time stamp from that time-stamp server.
# The version is CMakeLists.txt's; the programs are built from the commit with
# SOURCE_DATE_EPOCH set to its time, so the same commit gives the same bytes.
set -euo pipefail

pfx= tsa=
while [ $# -gt 0 ]; do
  case $1 in
    --sign) pfx=$(realpath -- "${2:?--sign needs a .pfx file}"); shift 2 ;;
    --timestamp) tsa=${2:?--timestamp needs the time-stamp server address}; shift 2 ;;
    *) echo "release.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
if [ -n "$pfx" ]; then
  [ -f "$pfx" ] || { echo "release.sh: no certificate at $pfx" >&2; exit 2; }
  [ -n "${VANTREL_SIGN_PASSWORD+set}" ] ||
    { echo "release.sh: set VANTREL_SIGN_PASSWORD to the certificate's password" >&2; exit 2; }
fi
[ -z "$tsa" ] || [ -n "$pfx" ] || { echo "release.sh: --timestamp needs --sign" >&2; exit 2; }
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
# Debian's Python, which has the YAML module (another python3 may come first on PATH).
python=/usr/bin/python3
[ -x "$python" ] || python=python3
project() { sed -nE "s/^ *$1 \"(.*)\"\$/\\1/p" CMakeLists.txt; }
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
for preset in win-x64 win-x86; do
  cmake --preset $preset >/dev/null
  cmake --build --preset $preset --target vantrel
done

# The version and the commit as the programs were built with them.
define() { sed -nE "s/^#define $1 \"(.*)\"$/\\1/p" build/win-x64/generated/vantrel_version.h; }
version=$(define VANTREL_VERSION)
commit=$(define VANTREL_COMMIT)
cmp -s build/win-x64/generated/vantrel_version.h build/win-x86/generated/vantrel_version.h ||
  { echo "release.sh: the two builds are of different versions or commits" >&2; exit 1; }
[[ $commit != *-modified ]] ||
  echo "release.sh: warning: the sources differ from commit ${commit%-modified}; the programs say so"

dist=build/dist
rm -rf "$dist"
mkdir -p "$dist/winget" "$dist/scoop"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/win-x64/vantrel.exe "$stage/vantrel.exe"
cp build/win-x86/vantrel.exe "$stage/vantrel-x86.exe"
cp README.md LICENSE "$stage/"

if [ -n "$pfx" ]; then
  for exe in vantrel.exe vantrel-x86.exe; do
    # The password goes through a pipe, never on a command line.
    osslsigncode sign -pkcs12 "$pfx" -readpass <(printf '%s' "$VANTREL_SIGN_PASSWORD") \
      -h sha256 -n Vantrel -i "$(project HOMEPAGE_URL)" \
      ${tsa:+-ts "$tsa"} -in "$stage/$exe" -out "$stage/$exe.signed" >/dev/null
    mv "$stage/$exe.signed" "$stage/$exe"
  done
  echo "Signed vantrel.exe and vantrel-x86.exe with $(basename "$pfx")${tsa:+, time-stamped by $tsa}"
else
  echo "Unsigned release: no certificate given (scripts/release.sh --sign <pfx> signs it)"
fi

# The archive's bytes depend only on its files: their times are the commit's,
# their order and modes fixed, and no extra attributes.
zip=vantrel-$version.zip
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
(cd "$stage" && TZ=UTC zip -q -X -D "$OLDPWD/$dist/$zip" vantrel.exe vantrel-x86.exe README.md LICENSE)

notes=$dist/CHANGELOG-$version.md
awk -v head="## $version" '$0 == head {on = 1} on && /^## / && $0 != head {exit} on' CHANGELOG.md >"$notes"
[ -s "$notes" ] || { echo "release.sh: CHANGELOG.md has no \"## $version\" section" >&2; exit 1; }

# What the manifests say, each from one place.
. packaging/release.conf
sha=$(sha256sum "$dist/$zip" | cut -d' ' -f1)
base=$DOWNLOAD_BASE/v$version
# The description: the README's first paragraph, in one line.
awk 'NR > 1 && NF {on = 1} on && !NF {exit} on' README.md | tr '\n' ' ' | sed 's/ $//' \
  >"$stage/description"
sed '1,2d' "$notes" >"$stage/notes"
values=(
  PACKAGE_ID="$PACKAGE_ID" VERSION="$version"
  NAME="$(sed -nE 's/^project\(([A-Za-z]+) .*/\1/p' CMakeLists.txt)"
  PUBLISHER="$(sed -nE 's/^Copyright \(c\) [0-9]+ (.*)$/\1/p' LICENSE)"
  COPYRIGHT="$(grep -m1 '^Copyright' LICENSE)"
  LICENSE="$(head -n1 LICENSE | sed 's/ License$//')"
  HOMEPAGE="$(project HOMEPAGE_URL)" SHORT_DESCRIPTION="$(project DESCRIPTION)"
  DESCRIPTION=@"$stage/description" RELEASE_NOTES=@"$stage/notes"
  RELEASE_NOTES_URL="$base/CHANGELOG-$version.md"
  RELEASE_DATE="$(TZ=UTC date -d "@$SOURCE_DATE_EPOCH" +%F)"
  ZIP_URL="$base/$zip" ZIP_SHA256="${sha^^}" ZIP_SHA256_LOWER="$sha" DOWNLOAD_BASE="$DOWNLOAD_BASE"
)
fill() { "$python" packaging/fill.py "$1" "$2" "${values[@]}"; }
fill packaging/winget/version.yaml "$dist/winget/$PACKAGE_ID.yaml"
fill packaging/winget/defaultLocale.yaml "$dist/winget/$PACKAGE_ID.locale.en-US.yaml"
fill packaging/winget/installer.yaml "$dist/winget/$PACKAGE_ID.installer.yaml"
fill packaging/scoop/vantrel.json "$dist/scoop/vantrel.json"

(cd "$dist" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort |
  xargs sha256sum >SHA256SUMS)
echo "Wrote $dist (Vantrel $version, commit $commit):"
(cd "$dist" && find . -type f | sed 's|^\./|  |' | LC_ALL=C sort)
