#!/usr/bin/env bash
# Tests the release as scripts/release.sh makes it, without the network:
# - without a certificate it says in one line that the release is unsigned;
# - with a throwaway self-signed certificate made here, and a time-stamp server
#   of its own on this machine's loopback address, osslsigncode verifies both
#   signed programs (SHA-256) and their RFC 3161 time stamps;
# - SHA256SUMS matches every file of build/dist/;
# - the manifests pass tests/release/check_manifests.py, which is also seen
#   rejecting spoiled copies of them;
# - the changelog section and the programs' version resource are this version's;
# - two clean builds of the commit, in two clones in folders of different names
#   and lengths, give the same bytes for the x86-64 vantrel.exe.
# Ends with "release: N passed, M failed"; exits non-zero when one failed.
#   bash tests/release/run.sh      (after the Windows builds; builds what is missing)
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$ROOT"
python=/usr/bin/python3
[ -x "$python" ] || python=python3
work=$(mktemp -d /tmp/vantrel-release.XXXXXX)
trap 'rm -rf "$work"' EXIT
dist=build/dist
passed=0
failed=0
pass() { echo "passed: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
# check "what" command...: passes when the command succeeds; shows its output when not.
check() {
  local what=$1
  shift
  if "$@" >"$work/check.log" 2>&1; then pass "$what"; else cat "$work/check.log"; fail "$what"; fi
}

started=$SECONDS
if bash scripts/release.sh >"$work/unsigned.log" 2>&1; then
  lines=$(grep -ci "unsigned" "$work/unsigned.log")
  [ "$lines" -eq 1 ] && pass "an unsigned release says so in one line" ||
    fail "an unsigned release says so in one line (it said so in $lines)"
else
  tail -n 30 "$work/unsigned.log"
  fail "the unsigned release"
fi

# A throwaway code-signing certificate and its password.
password=test-$RANDOM$RANDOM
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vantrel test signing" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null &&
  openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/test.pfx" \
    -passout "pass:$password" || fail "making the test certificate"
# A time-stamp server for the signing: openssl answers each request, on a
# loopback port, for the two programs.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vantrel test time stamps" \
  -addext "extendedKeyUsage=critical,timeStamping" -keyout "$work/tsa.key" -out "$work/tsa.pem" \
  2>/dev/null || fail "making the time-stamp certificate"
cat >"$work/tsa.cnf" <<EOF
[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = $work/tsa.serial
crypto_device = builtin
signer_cert = $work/tsa.pem
signer_key = $work/tsa.key
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
echo 01 >"$work/tsa.serial"
"$python" - "$work" >"$work/tsa.port" 2>"$work/tsa.log" <<'EOF' &
import http.server, subprocess, sys
work = sys.argv[1]
class Stamp(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        reply = subprocess.run(["openssl", "ts", "-reply", "-config", f"{work}/tsa.cnf", "-queryfile",
                                "/dev/stdin", "-out", "/dev/stdout"], input=query, capture_output=True).stdout
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)
server = http.server.HTTPServer(("127.0.0.1", 0), Stamp)
print(server.server_address[1], flush=True)
server.timeout = 120
server.handle_request()
server.handle_request()
EOF
tsa_pid=$!
for _ in $(seq 40); do [ -s "$work/tsa.port" ] && break; sleep 0.5; done
tsa=http://127.0.0.1:$(cat "$work/tsa.port")
if VANTREL_SIGN_PASSWORD=$password bash scripts/release.sh --sign "$work/test.pfx" --timestamp "$tsa" \
    >"$work/signed.log" 2>&1; then
  pass "the signed release"
else
  tail -n 30 "$work/signed.log"
  fail "the signed release"
fi
kill "$tsa_pid" 2>/dev/null
echo "release: made twice in $((SECONDS - started)) s"

version=$(sed -nE 's/^project\(Vantrel VERSION ([0-9.]+)$/\1/p' CMakeLists.txt)
zip=$dist/vantrel-$version.zip
mkdir -p "$work/unzipped"
unzip -q -o "$zip" -d "$work/unzipped" 2>/dev/null || fail "no $zip to open"
verify() {
  osslsigncode verify -CAfile "$work/cert.pem" -TSA-CAfile "$work/tsa.pem" -in "$work/unzipped/$1" \
    >"$work/verify.log" 2>&1 && grep -q "Signature verification: ok" "$work/verify.log" &&
    grep -qi "digest algorithm *: *SHA256" "$work/verify.log" &&
    grep -q "Timestamp Server Signature verification: ok" "$work/verify.log" || { cat "$work/verify.log"; false; }
}
for exe in vantrel.exe vantrel-x86.exe; do
  check "osslsigncode verifies the signed, time-stamped $exe (SHA-256)" verify $exe
done

sums() {
  (cd "$dist" && sha256sum --quiet -c SHA256SUMS) &&
    diff <(cut -d' ' -f3 "$dist/SHA256SUMS") \
      <(cd "$dist" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort)
}
check "SHA256SUMS matches every file of $dist" sums

check "the manifests agree with the schema and the files" "$python" tests/release/check_manifests.py "$dist"
# The checker must see a fault in each of these spoiled copies.
spoil() {
  local fault=$1 expected=$2
  rm -rf "$work/spoiled" && cp -r "$dist" "$work/spoiled"
  "$python" - "$work/spoiled" "$fault" <<'EOF'
import re, sys
dist, fault = sys.argv[1], sys.argv[2]
path, old, new = {
    "architecture": ("winget/Vantrel.Vantrel.installer.yaml", "RelativeFilePath: vantrel.exe", "RelativeFilePath: vantrel-x86.exe"),
    "hash": ("scoop/vantrel.json", '"hash": "', '"hash": "0'),
    "required": ("winget/Vantrel.Vantrel.locale.en-US.yaml", "PackageLocale: en-US\n", ""),
    "persist": ("scoop/vantrel.json", '"bin": "vantrel.exe",', '"bin": "vantrel.exe",\n    "persist": "settings",'),
}[fault]
text = open(f"{dist}/{path}").read()
open(f"{dist}/{path}", "w").write(text.replace(old, new, 1))
EOF
  "$python" tests/release/check_manifests.py "$work/spoiled" >"$work/spoiled.log"
  [ $? -eq 1 ] && grep -q -- "$expected" "$work/spoiled.log" || { cat "$work/spoiled.log"; false; }
}
check "the checker rejects an exe of the wrong machine" spoil architecture "machine 0x014c, not x64"
check "the checker rejects a wrong hash" spoil hash "hash"
check "the checker rejects a missing required field" spoil required "PackageLocale is required"
check "the checker rejects persist" spoil persist "persist is not wanted"

changelog() {
  local section=$dist/CHANGELOG-$version.md
  [ "$(head -n1 "$section")" = "## $version" ] && [ "$(grep -c '^## ' "$section")" -eq 1 ] &&
    "$python" -c 'import sys; sys.exit(open(sys.argv[1]).read() not in open("CHANGELOG.md").read())' \
      "$section"
}
check "the release holds this version's CHANGELOG.md section" changelog
# The version resource's product version: the version, then the commit.
resource() {
  local stamp
  stamp=$version+$(git rev-parse --short=12 HEAD)
  for exe in vantrel.exe vantrel-x86.exe; do
    "$python" -c 'import sys; sys.exit(sys.argv[2].encode("utf-16-le") not in open(sys.argv[1], "rb").read())' \
      "$work/unzipped/$exe" "$stamp" || { echo "$exe does not carry $stamp"; return 1; }
  done
}
check "both programs' version resource carries $version and the commit" resource

# Two clean clones of the commit, in folders unlike each other, built alone.
started=$SECONDS
commit=$(git rev-parse HEAD)
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
clone_and_build() {
  git clone -q "$ROOT" "$1" && git -C "$1" checkout -q --detach "$commit" &&
    (cd "$1" && cmake --preset win-x64 >/dev/null && cmake --build --preset win-x64 -j2 --target vantrel >/dev/null)
}
first=$work/a
second=$work/second-clone-in-a-longer-folder/vantrel
rebuilt() {
  clone_and_build "$first" && clone_and_build "$second" &&
    cmp "$first/build/win-x64/vantrel.exe" "$second/build/win-x64/vantrel.exe"
}
check "two clean builds of $(git rev-parse --short HEAD) in two folders give the same vantrel.exe (x86-64)" rebuilt
# The release's own program, once its signature is taken off, is that same
# build, unless it was made from changed sources (then it says so).
unsigned() {
  osslsigncode remove-signature -in "$work/unzipped/vantrel.exe" -out "$work/unsigned.exe" >/dev/null &&
    cmp "$work/unsigned.exe" "$first/build/win-x64/vantrel.exe"
}
if grep -q -- "-modified" "$work/signed.log"; then
  echo "release: made from changed sources, so not compared with the clean builds"
else
  check "the signed release's vantrel.exe without its signature is the clean build" unsigned
fi
echo "release: the two clean builds took $((SECONDS - started)) s"

echo
echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
