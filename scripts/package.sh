#!/usr/bin/env bash
# Usage: package.sh BUILD32 BUILD64 OUT
# Writes the release's files from two built release folders (32-bit and 64-bit) into OUT: the two
# zips, the two installers, the winget and Scoop manifests and SHA256SUMS. The same built files
# give the same bytes: every file carries the commit's time (generated/source-date-epoch), and the
# installers' codes and summary are derived from the version, the commit and the files. The
# download address in the manifests is SANDRIVO_DOWNLOAD_URL (a placeholder unless the publisher
# sets it).
#
# Signing (Authenticode for the executables and the installers, CMS for SHA256SUMS), with the
# signing time fixed to the commit's time so that signing again gives the same bytes:
#   SANDRIVO_SIGN_CERT and SANDRIVO_SIGN_KEY   PEM files: the certificate (and its chain), the key
#   SANDRIVO_SIGN_PKCS12 [SANDRIVO_SIGN_PASSWORD]   instead: a PKCS#12 file and its password
#   SANDRIVO_SIGN_TIMESTAMP                    optional: an RFC 3161 time-stamp server's address
#                                              (its answer differs at every run: the detached
#                                              signatures are then the way to the same bytes)
#   SANDRIVO_SIGNATURES                        instead of a key: the signatures/ folder of a
#                                              published release, attached to these files; each
#                                              must match its file and lead to a certificate of
#                                              SANDRIVO_SIGN_CAFILE (default: the system's)
# Each signature is also written detached to OUT/signatures/, SHA256SUMS's to OUT/SHA256SUMS.p7s.
# With none of these the files stay unsigned, and the script says so. Beside the files, not in
# SHA256SUMS, BUILDINFO.txt names the commit and the tools' versions.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build32=$(realpath "$1") build64=$(realpath "$2") out=$(realpath -m "$3")
DIST=(/usr/bin/python3 "$ROOT/scripts/dist.py")
version=$(sed -n 's/^#define SANDRIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$build32/generated/version.h")
epoch=$(cat "$build32/generated/source-date-epoch")
commit=$(cat "$build32/generated/commit")
[ -n "$version" ] || { echo "no version in $build32/generated/version.h" >&2; exit 1; }
for dir in "$build32" "$build64"; do
  if [ "$(sed -n 's/^#define SANDRIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$dir/generated/version.h")" != "$version" ] ||
     [ "$(cat "$dir/generated/source-date-epoch")" != "$epoch" ] || [ "$(cat "$dir/generated/commit")" != "$commit" ]; then
    echo "$build32 and $build64 are not built from the same commit" >&2
    exit 1
  fi
done
base_url=${SANDRIVO_DOWNLOAD_URL:-https://downloads.example.invalid/sandrivo/$version/}

rm -rf "$out"
mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# The key stays in the stage folder, readable by us alone, and goes with it.
signing=none
if [ -n "${SANDRIVO_SIGNATURES:-}" ]; then
  signing=attach
elif [ -n "${SANDRIVO_SIGN_PKCS12:-}" ]; then
  (umask 077
   openssl pkcs12 -in "$SANDRIVO_SIGN_PKCS12" -passin env:SANDRIVO_SIGN_PASSWORD -nokeys -out "$stage/cert.pem"
   openssl pkcs12 -in "$SANDRIVO_SIGN_PKCS12" -passin env:SANDRIVO_SIGN_PASSWORD -nocerts -nodes -out "$stage/key.pem")
  signing=sign
elif [ -n "${SANDRIVO_SIGN_CERT:-}" ] && [ -n "${SANDRIVO_SIGN_KEY:-}" ]; then
  cp "$SANDRIVO_SIGN_CERT" "$stage/cert.pem"
  (umask 077 && cp "$SANDRIVO_SIGN_KEY" "$stage/key.pem")
  signing=sign
else
  echo "Not signed: no certificate given (SANDRIVO_SIGN_CERT and SANDRIVO_SIGN_KEY, or SANDRIVO_SIGN_PKCS12)." >&2
fi

# Signs the file $1 in place, its detached signature being signatures/$2.p7s.
sign() {
  local file=$1 signature=$out/signatures/$2.p7s
  [ $signing = none ] && return 0
  mkdir -p "$(dirname "$signature")"
  case $signing in
    sign)
      osslsigncode sign -certs "$stage/cert.pem" -key "$stage/key.pem" -h sha256 -n "Quelix Disk-Info" \
        -i http://www.quelix.de/ -time "$epoch" ${SANDRIVO_SIGN_TIMESTAMP:+-ts "$SANDRIVO_SIGN_TIMESTAMP"} \
        -in "$file" -out "$file.signed" >/dev/null
      osslsigncode extract-signature -in "$file.signed" -out "$signature" >/dev/null ;;
    attach)
      osslsigncode attach-signature -sigin "$SANDRIVO_SIGNATURES/$2.p7s" -time "$epoch" \
        -CAfile "${SANDRIVO_SIGN_CAFILE:-/etc/ssl/certs/ca-certificates.crt}" -in "$file" -out "$file.signed" >/dev/null
      cp "$SANDRIVO_SIGNATURES/$2.p7s" "$signature" ;;
  esac
  mv "$file.signed" "$file"
  touch -d "@$epoch" "$file" "$signature"
}

for arch in win32 win64; do
  if [ $arch = win32 ]; then dir=$build32 msi_arch=x86; else dir=$build64 msi_arch=x64; fi
  files=$stage/$arch
  mkdir -p "$files"
  cp "$dir/Sandrivo.exe" "$dir/sandrivo-report.exe" "$files/"
  "${DIST[@]}" readme "$ROOT/resources/installer/LIESMICH.txt" "$files/LIESMICH.txt" "$version"
  "${DIST[@]}" readme "$ROOT/resources/installer/THIRD-PARTY-NOTICES.txt" "$files/THIRD-PARTY-NOTICES.txt" "$version"
  "${DIST[@]}" readme "$ROOT/CHANGELOG.md" "$files/CHANGELOG.txt" "$version"
  cp "$dir/art/program_icon.ico" "$stage/Sandrivo-$arch.ico"
  touch -d "@$epoch" "$files"/*
  sign "$files/Sandrivo.exe" "$arch/Sandrivo.exe"
  sign "$files/sandrivo-report.exe" "$arch/sandrivo-report.exe"
  "${DIST[@]}" zip "$out/Sandrivo-$version-$arch.zip" "$epoch" "$files/LIESMICH.txt" "$files/CHANGELOG.txt" \
    "$files/THIRD-PARTY-NOTICES.txt" "$files/Sandrivo.exe" "$files/sandrivo-report.exe"
  "${DIST[@]}" msi "$out/Sandrivo-$version-$msi_arch.msi" $msi_arch "$version" "$epoch" "$files" \
    "$stage/Sandrivo-$arch.ico" "$commit"
  sign "$out/Sandrivo-$version-$msi_arch.msi" "Sandrivo-$version-$msi_arch.msi"
done

"${DIST[@]}" manifests "$out" "$build32/generated/version.h" "$base_url" "$commit"
"${DIST[@]}" sums "$out"
# Without signed attributes (no signing time): the same sums give the same signature.
case $signing in
  sign)
    # The chain: the certificates after the signer's.
    awk '/BEGIN CERTIFICATE/ { n++ } n > 1' "$stage/cert.pem" >"$stage/chain.pem"
    openssl cms -sign -binary -noattr -md sha256 -outform DER -in "$out/SHA256SUMS" -signer "$stage/cert.pem" \
      -inkey "$stage/key.pem" $( [ -s "$stage/chain.pem" ] && echo -certfile "$stage/chain.pem") \
      -out "$out/SHA256SUMS.p7s"
    touch -d "@$epoch" "$out/SHA256SUMS.p7s" ;;
  attach) cp "$SANDRIVO_SIGNATURES/../SHA256SUMS.p7s" "$out/SHA256SUMS.p7s" ;;
esac
"${DIST[@]}" buildinfo "$out/BUILDINFO.txt" "$version" "$commit" "$epoch"
"${DIST[@]}" check "$out"
