#!/usr/bin/env bash
# tools/release.sh with a throwaway self-signed certificate:
#  - a half or mismatched signing set-up is refused and leaves no release;
#  - the unsigned release says so; the signed one verifies, and the
#    uninstaller inside the signed setup is the signed unqmv.exe, signature
#    and all; without their signatures both programs are the bytes that were
#    signed, and the uninstaller is the unsigned release's;
#  - the signed setup extracts (/X) and installs (/S) under Wine, and the
#    uninstaller it writes out is the signed one.
# The release is built for this tree's processor (the x86-64 tree on hosts
# that cannot run 32-bit programs), in a tree of its own below this one that
# later runs reuse: the first run costs one build of both programs.
# Reproducibility across folders is tools/release-twice.sh (two full builds).
#   tests/release_test.sh <build dir> <source dir>   (TESSEL_ARCH from CTest)
set -u
build=$1
src=$2
arch=${TESSEL_ARCH:-i686}
source "$src/tests/support/check.sh"
source "$src/tests/support/resources.sh"
export TESSEL_WINDRES=$arch-w64-mingw32-windres
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$build/release-check

# Certificates: the company's, and one of another organisation.
cert() {  # name, subject
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "$2" -addext extendedKeyUsage=codeSigning \
    -keyout "$work/$1.key" -out "$work/$1.pem" >/dev/null 2>&1 &&
  openssl pkcs12 -export -inkey "$work/$1.key" -in "$work/$1.pem" -out "$work/$1.pfx" -passout "file:$work/password"
}
printf 'not on any command line\n' > "$work/password"
cert good "/CN=Veltrane/O=Veltrane" && cert other "/CN=Veltrane/O=Someone Else" || { echo "release: openssl failed"; exit 1; }

release() {  # out folder, pfx, password file; output in <out>.log, exit code returned
  TESSEL_SIGN_PFX=$2 TESSEL_SIGN_PASSWORD_FILE=$3 TESSEL_SIGN_TIMESTAMP_URL='' \
    "$src/tools/release.sh" --allow-dirty --arch "$arch" --build-dir "$tree" --out "$1" > "$1.log" 2>&1
}
ran() {  # expected exit code, out folder, pfx, password file
  local rc=0
  release "$2" "$3" "$4" || rc=$?
  [ "$rc" = "$1" ] || { echo "release.sh exited with $rc, not $1:"; tail -n 20 "$2.log"; return 1; }
}

# Refused before anything is built or written.
while IFS='|' read -r what pfx pw; do
  check "refused: $what" ran 2 "$work/refused" "$pfx" "$pw"
  check "refused: $what: no release" test ! -e "$work/refused/setup.exe"
done <<EOF
a certificate without its password file|$work/good.pfx|
a password file without a certificate||$work/password
a wrong password|$work/good.pfx|$work/good.key
a certificate of another organisation|$work/other.pfx|$work/password
EOF

check "unsigned release" ran 0 "$work/unsigned" "" ""
check "unsigned: says so" grep -q "UNSIGNED" "$work/unsigned.log"
check "unsigned: release.txt says so" grep -qx "signed: no (unsigned release)" "$work/unsigned/release.txt"
check "unsigned: programs carry no signature" \
  bash -c "! osslsigncode verify -in '$work/unsigned/unqmv.exe' >/dev/null 2>&1"

# The winget manifest: valid for the setup it names, refused for any other
# hash, a value outside the schema, or a file missing.
winget_check() { /usr/bin/python3 "$src/tools/winget/check-manifest.py" "$1" "$2" > "$1.check" 2>&1; }
refused_manifest() {  # sed expression on the installer file, or "rm:<file>"
  rm -rf "$work/wg" && cp -r "$work/unsigned/winget" "$work/wg"
  case $1 in rm:*) rm "$work/wg/${1#rm:}" ;; *) sed -i "$1" "$work/wg/Veltrane.TesselLibrary.installer.yaml" ;; esac
  ! winget_check "$work/wg" "$work/unsigned/setup.exe"
}
check "winget: the manifest passes for its setup" winget_check "$work/unsigned/winget" "$work/unsigned/setup.exe"
check "winget: each exit code of /S has its answer" \
  bash -c "grep -c 'InstallerReturnCode: [1-4]\$' '$work/unsigned/winget/Veltrane.TesselLibrary.installer.yaml' | grep -qx 4"
check "winget: refused for another file's hash" \
  bash -c "! /usr/bin/python3 '$src/tools/winget/check-manifest.py' '$work/unsigned/winget' '$work/unsigned/unqmv.exe' >/dev/null"
check "winget: refused for a hash that is no hash" refused_manifest 's/InstallerSha256: .*/InstallerSha256: 12AB/'
check "winget: refused for an elevation winget does not know" refused_manifest 's/elevatesSelf/elevates/'
check "winget: refused without its version file" refused_manifest "rm:Veltrane.TesselLibrary.yaml"

check "signed release" ran 0 "$work/signed" "$work/good.pfx" "$work/password"
s=$work/signed
check "signed: checksums" bash -c "cd '$s' && sha256sum --quiet -c SHA256SUMS"
check "signed: release.txt names the signer" grep -qx "signed: yes, by CN=Veltrane, O=Veltrane" "$s/release.txt"
verifies() { osslsigncode verify -CAfile "$work/good.pem" -in "$1" > "$1.verify" 2>&1 || { cat "$1.verify"; return 1; }; }
check "signed: setup.exe verifies" verifies "$s/setup.exe"
check "signed: unqmv.exe verifies" verifies "$s/unqmv.exe"
check "signed: resources of the setup" resources "$s/setup.exe" "$work/res"
check "signed: the setup carries the signed uninstaller" cmp "$work/res/QVLIB.28.0" "$s/unqmv.exe"
check "signed: which verifies on its own" verifies "$work/res/QVLIB.28.0"
unsigned() { osslsigncode remove-signature -in "$1" -out "$2" >/dev/null 2>&1 && cmp "$2" "$3"; }
check "signed: unqmv.exe without its signature is the unsigned release's" \
  unsigned "$s/unqmv.exe" "$work/unqmv.bare" "$work/unsigned/unqmv.exe"
check "signed: setup.exe without its signature is the bytes that were signed" \
  unsigned "$s/setup.exe" "$work/setup.bare" "$tree/setup/setup.exe"

# Once: the signed setup under Wine.
case $arch in x86_64) wine_arch=--arch=win64 ;; *) wine_arch=--arch=win32 ;; esac
runs() {  # folder to run in, exit code expected, setup arguments...
  local dir=$1 want=$2 rc=0
  shift 2
  mkdir -p "$dir"
  (cd "$dir" && "$src/tools/wine-run.sh" $wine_arch "$s/setup.exe" "$@" > "$dir.log" 2>&1) || rc=$?
  [ "$rc" = "$want" ] || { echo "setup.exe $* exited with $rc"; cat "$dir.log"; return 1; }
}
check "signed: /X extracts" runs "$work/x" 0 /X
check "signed: /X wrote the payload" cmp "$work/x/License.txt" "$src/payload/License.txt"
check "signed: /S installs" runs "$work/run" 0 /S "Z:${work//\//\\}\\installed"
check "signed: /S wrote the signed uninstaller" cmp "$work/installed/unqmv.exe" "$s/unqmv.exe"

checks_done release
