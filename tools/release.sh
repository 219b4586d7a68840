#!/usr/bin/env bash
# Builds a release of the shipped 32-bit programs from a fresh build tree into
# dist/: setup.exe, unqmv.exe, SHA256SUMS, release.txt and winget/ (the
# package manager's manifest of this setup.exe, checked against the schemas
# in tools/winget/). The same commit
# gives the same unsigned bytes in any folder at any time.
#
# With a certificate the programs are signed (Authenticode, osslsigncode):
# the uninstaller first, then it is embedded as payload id 28 and the setup
# is signed, so the uninstaller that the setup writes out carries a valid
# signature of its own. Without one the release is unsigned and says so.
#
#   TESSEL_SIGN_PFX             the certificate and key (.pfx)
#   TESSEL_SIGN_PASSWORD_FILE   a file whose first line is the .pfx password
#                               (read by the tools, never on a command line)
#   TESSEL_SIGN_TIMESTAMP_URL   optional RFC 3161 timestamp server
#   TESSEL_RELEASE_URL          the address of the folder setup.exe is published in (winget manifest)
#
#   tools/release.sh [--out DIR] [--build-dir DIR] [--arch i686|x86_64] [--allow-dirty]
#     --out          where the release goes (default dist/); only its four files and winget/ are replaced
#     --build-dir    reuse this build tree instead of a fresh build-release/ (checks)
#     --arch x86_64  the same sources as 64-bit programs, for checks on hosts
#                    that cannot run 32-bit ones; never shipped
#     --allow-dirty  build a working tree with changes; release.txt says so
#
# Exit status: 0 released (signed or not); 1 a build or signing step failed;
# 2 refused: wrong arguments, half a signing set-up, changes in the working
# tree, or names that the version resources, the product manifest and the
# certificate do not agree on.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
refuse() { echo "release: $*" >&2; exit 2; }
fail() { echo "release: $*" >&2; exit 1; }

out=$root/dist
bdir=""
arch=i686
allow_dirty=0
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$(realpath -m "$2"); shift 2 ;;
    --build-dir) bdir=$(realpath -m "$2"); shift 2 ;;
    --arch) arch=$2; shift 2 ;;
    --allow-dirty) allow_dirty=1; shift ;;
    *) refuse "unknown argument $1" ;;
  esac
done
case $arch in i686|x86_64) ;; *) refuse "--arch i686 or x86_64" ;; esac
cd "$root"

# ---------------------------------------------------------------- set-up

signing=0
if [ -n "${TESSEL_SIGN_PFX:-}" ] || [ -n "${TESSEL_SIGN_PASSWORD_FILE:-}" ]; then
  # Half a set-up is a mistake, not a wish for an unsigned release.
  [ -f "${TESSEL_SIGN_PFX:-}" ] || refuse "TESSEL_SIGN_PFX does not name a .pfx file"
  [ -r "${TESSEL_SIGN_PASSWORD_FILE:-}" ] || refuse "TESSEL_SIGN_PASSWORD_FILE does not name a readable file"
  signing=1
fi

# A fresh machine gets its packages first (tools/bootstrap.sh; the x86-64
# compiler only comes on hosts that cannot run 32-bit programs).
needs=(cmake ninja "$arch-w64-mingw32-g++-posix" "$arch-w64-mingw32-windres" osslsigncode openssl git)
have_all() {
  local t
  for t in "${needs[@]}"; do command -v "$t" >/dev/null || return 1; done
  /usr/bin/python3 -c "import yaml, jsonschema" 2>/dev/null  # the winget manifest's check
}
have_all || tools/bootstrap.sh
have_all || fail "missing after tools/bootstrap.sh: one of ${needs[*]}"

commit=$(git rev-parse HEAD 2>/dev/null) || refuse "not a git checkout: a release names its commit"
dirty=$(git status --porcelain)
if [ -n "$dirty" ]; then
  [ $allow_dirty = 1 ] || refuse "the working tree has changes; commit them or pass --allow-dirty:
$dirty"
  commit="$commit with changes in the working tree"
fi
# Anything that wants a date gets the commit's, never the build's.
export SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)

if [ -z "$bdir" ]; then
  bdir=$root/build-release
  rm -rf "$bdir"
fi
mkdir -p "$bdir" "$out"
stage=$bdir/stage
rm -rf "$stage"
mkdir -p "$stage"

# ---------------------------------------------------------------- names

manifest_value() {  # name of a constant of common/Product.h
  sed -n "s/^inline constexpr const wchar_t\\* $1 = L\"\\(.*\\)\";\$/\\1/p" common/Product.h
}
company=$(manifest_value CompanyName)
product=$(manifest_value ProductName)
version=$(manifest_value ProductVersion)
[ -n "$company" ] && [ -n "$product" ] && [ -n "$version" ] ||
  refuse "common/Product.h: CompanyName, ProductName or ProductVersion not found"

# What a customer sees must name one company, one product and one version:
# the version resources of both programs, the product as the setup
# registers it (uninstall entry, product key) and, when signing, the
# certificate.
check_names() {  # program...
  local p name rc v got a b
  for p in "$@"; do
    name=$(basename "$p")
    rc=$("$arch-w64-mingw32-windres" -i "$p" -O rc 2>/dev/null | sed -n '/VERSIONINFO/,$p')
    for v in CompanyName:"$company" ProductName:"$product" ProductVersion:"$version" FileVersion:"$version" \
             OriginalFilename:"$name"; do
      got=$(sed -n "s/^ *VALUE \"${v%%:*}\", \"\\(.*\\)\"\$/\\1/p" <<< "$rc" | head -n 1)
      [ "$got" = "${v#*:}" ] || refuse "$name: version resource ${v%%:*} is \"$got\", the product's is \"${v#*:}\""
    done
    # FILEVERSION 4,9,0,0 is what Windows shows as 4.9.0.0 beside the text "4.09".
    IFS=, read -r a b _ <<< "$(sed -n 's/^ *FILEVERSION //p' <<< "$rc" | head -n 1)"
    [ "$(printf '%d.%02d' "${a:-0}" "${b:-0}" 2>/dev/null)" = "$version" ] ||
      refuse "$name: FILEVERSION ${a:-?},${b:-?} does not match \"$version\""
  done
}

# The certificate's subject: CN is the publisher that Windows shows in the
# elevation prompt, O the organisation; both (O when present) must be the
# company that the programs name.
cert_pem() { openssl pkcs12 -in "$TESSEL_SIGN_PFX" -passin "file:$TESSEL_SIGN_PASSWORD_FILE" -nokeys "$@" 2>/dev/null ||
             openssl pkcs12 -legacy -in "$TESSEL_SIGN_PFX" -passin "file:$TESSEL_SIGN_PASSWORD_FILE" -nokeys "$@"; }
check_certificate() {
  local subject cn o
  cert_pem -clcerts > "$bdir/signer.pem" || refuse "cannot read $TESSEL_SIGN_PFX with the password in TESSEL_SIGN_PASSWORD_FILE"
  subject=$(openssl x509 -in "$bdir/signer.pem" -noout -subject -nameopt sep_multiline,utf8,sname,-esc_msb)
  cn=$(sed -n 's/^ *CN=//p' <<< "$subject" | head -n 1)
  o=$(sed -n 's/^ *O=//p' <<< "$subject" | head -n 1)
  signer="CN=$cn${o:+, O=$o}"
  [ "$cn" = "$company" ] || refuse "the certificate's CN is \"$cn\", the programs' CompanyName \"$company\""
  [ -z "$o" ] || [ "$o" = "$company" ] || refuse "the certificate's O is \"$o\", the programs' CompanyName \"$company\""
  openssl x509 -in "$bdir/signer.pem" -noout -checkend 0 >/dev/null ||
    refuse "the certificate has expired: $(openssl x509 -in "$bdir/signer.pem" -noout -enddate)"
  # Every certificate of the .pfx and the system's roots, to check the result.
  { cat /etc/ssl/certs/ca-certificates.crt 2>/dev/null; cert_pem; } > "$bdir/verify-ca.pem"
}

# Signs <in> into <out> and checks the result; the description is the
# product's name, which the elevation prompt shows.
sign() {  # in, out
  local ts=()
  [ -z "${TESSEL_SIGN_TIMESTAMP_URL:-}" ] || ts=(-ts "$TESSEL_SIGN_TIMESTAMP_URL")
  osslsigncode sign -pkcs12 "$TESSEL_SIGN_PFX" -readpass "$TESSEL_SIGN_PASSWORD_FILE" \
    -h sha256 -n "$product" "${ts[@]}" -in "$1" -out "$2.tmp" >"$bdir/sign.log" 2>&1 ||
    { cat "$bdir/sign.log" >&2; fail "signing $(basename "$2") failed"; }
  osslsigncode verify -CAfile "$bdir/verify-ca.pem" -in "$2.tmp" >"$bdir/verify.log" 2>&1 ||
    { cat "$bdir/verify.log" >&2; fail "the signature of $(basename "$2") does not verify"; }
  mv "$2.tmp" "$2"
}

# ---------------------------------------------------------------- build

configure() {  # uninstaller to embed ("" for the one built here)
  cmake -S "$root" -B "$bdir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF -DTESSEL_EMBED_UNQMV="$1" >"$bdir/configure.log" 2>&1 ||
    { cat "$bdir/configure.log" >&2; fail "configuring $bdir failed"; }
}
build() { cmake --build "$bdir" --target "$@" || fail "building $* failed"; }

[ $signing = 0 ] || check_certificate
configure ""
if [ $signing = 0 ]; then
  build unqmv setup
  check_names "$bdir/uninstaller/unqmv.exe" "$bdir/setup/setup.exe"
  cp "$bdir/uninstaller/unqmv.exe" "$bdir/setup/setup.exe" "$stage/"
else
  build unqmv
  check_names "$bdir/uninstaller/unqmv.exe"
  sign "$bdir/uninstaller/unqmv.exe" "$stage/unqmv.exe"
  configure "$stage/unqmv.exe"
  build setup
  check_names "$bdir/setup/setup.exe"
  sign "$bdir/setup/setup.exe" "$stage/setup.exe"
fi

# ---------------------------------------------------------------- record

first_line() { "$@" 2>/dev/null | head -n 1 || true; }
wine_version() {
  local l
  for l in "${TESSEL_WINE64_LOADER:-/usr/lib/wine/wine64}" "${TESSEL_WINE32_LOADER:-/usr/lib/wine/wine}"; do
    [ -x "$l" ] && "$l" --version 2>/dev/null && return
  done
  echo "none"
}
(
  cd "$stage"
  sha256sum setup.exe unqmv.exe > SHA256SUMS
  {
    echo "$product $version ($arch)"
    echo "commit: $commit"
    echo "commit date: $(git -C "$root" log -1 --format=%cI)"
    if [ $signing = 1 ]; then
      echo "signed: yes, by $signer${TESSEL_SIGN_TIMESTAMP_URL:+, timestamped by $TESSEL_SIGN_TIMESTAMP_URL}"
      echo "signing tool: $(first_line osslsigncode --version | sed "s/, using:$//")"
    else
      echo "signed: no (unsigned release)"
    fi
    echo "compiler: $(first_line "$arch-w64-mingw32-g++-posix" --version)"
    echo "linker: $(first_line "$arch-w64-mingw32-ld" --version)"
    echo "cmake: $(first_line cmake --version)"
    echo "wine (tests): $(wine_version)"
    for f in setup.exe unqmv.exe; do echo "$f: $(stat -c %s "$f") bytes"; done
  } > release.txt
)
# ---------------------------------------------------------------- winget

# A multi-file winget manifest (manifest version 1.10.0) for this setup.exe:
# its switches, what each non-zero exit code of /S means to winget, and the
# uninstall entry it writes. Where the setup is downloaded from is the
# publisher's to say (TESSEL_RELEASE_URL, the folder that holds setup.exe).
package_id=$company.$(sed -E 's/(^| )(.)/\U\2/g' <<< "$product")  # Veltrane.TesselLibrary
release_url=${TESSEL_RELEASE_URL:-https://downloads.veltrane.example/tessel/$version}
winget_manifest() {  # folder
  local sha base=$1/$package_id
  sha=$(sha256sum "$stage/setup.exe" | cut -d' ' -f1)
  mkdir -p "$1"
  cat > "$base.yaml" <<EOF
PackageIdentifier: $package_id
PackageVersion: "$version"
DefaultLocale: en-US
ManifestType: version
ManifestVersion: 1.10.0
EOF
  cat > "$base.installer.yaml" <<EOF
PackageIdentifier: $package_id
PackageVersion: "$version"
MinimumOSVersion: 6.1.7601
InstallerType: exe
Scope: machine
InstallModes:
  - interactive
  - silent
  - silentWithProgress
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
  Log: /LOG="<LOGPATH>"
  InstallLocation: '"<INSTALLPATH>"'
# The exit codes of setup.exe /S (README, "Unattended install").
ExpectedReturnCodes:
  - InstallerReturnCode: 1
    ReturnResponse: contactSupport
  - InstallerReturnCode: 2
    ReturnResponse: invalidParameter
  - InstallerReturnCode: 3
    ReturnResponse: systemNotSupported
  - InstallerReturnCode: 4
    ReturnResponse: packageInUse
UpgradeBehavior: install
ElevationRequirement: elevatesSelf
AppsAndFeaturesEntries:
  - DisplayName: $company $product v$version
    Publisher: $company
    DisplayVersion: "$version"
    ProductCode: qvlLib
Installers:
  - Architecture: x86
    InstallerUrl: $release_url/setup.exe
    InstallerSha256: ${sha^^}
ManifestType: installer
ManifestVersion: 1.10.0
EOF
  cat > "$base.locale.en-US.yaml" <<EOF
PackageIdentifier: $package_id
PackageVersion: "$version"
PackageLocale: en-US
Publisher: $company
PackageName: $product
License: Proprietary
ShortDescription: $product, components for application settings, installed into the Delphi, C++Builder and RAD Studio IDEs found
Moniker: tessel
Tags:
  - delphi
  - cppbuilder
  - components
ManifestType: defaultLocale
ManifestVersion: 1.10.0
EOF
  /usr/bin/python3 "$root/tools/winget/check-manifest.py" "$1" "$stage/setup.exe" ||
    fail "the winget manifest does not pass its check"
}
rm -rf "$stage/winget"
winget_manifest "$stage/winget"

# The tree keeps its copy: a signed setup names stage/unqmv.exe as the file it embeds.
for f in setup.exe unqmv.exe SHA256SUMS release.txt; do
  cp "$stage/$f" "$out/$f.tmp"
  mv "$out/$f.tmp" "$out/$f"
done
rm -rf "$out/winget.tmp"
cp -r "$stage/winget" "$out/winget.tmp"
rm -rf "$out/winget"
mv "$out/winget.tmp" "$out/winget"

echo "release: $out"
sed 's/^/  /' "$out/SHA256SUMS"
if [ $signing = 1 ]; then
  echo "release: signed by $signer"
else
  echo "release: UNSIGNED: TESSEL_SIGN_PFX and TESSEL_SIGN_PASSWORD_FILE are not set, the programs carry no signature"
fi
