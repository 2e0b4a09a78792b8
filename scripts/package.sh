#!/usr/bin/env bash
# Usage: package.sh BUILD32 BUILD64 OUT
# Writes the release's files from two built release folders (32-bit and 64-bit) into OUT: the two
# zips, the two installers, the winget and Scoop manifests and SHA256SUMS. The same built files
# give the same bytes: every file carries the commit's time (generated/source-date-epoch), and the
# installers' codes and summary are derived from the version, the commit and the files. The
# download address in the manifests is SANDRIVO_DOWNLOAD_URL (a placeholder unless the publisher
# sets it).
#
# Signing (Authenticode for the executables and the installers, CMS for SHA256SUMS):
#   SANDRIVO_SIGN_CERT and SANDRIVO_SIGN_KEY   PEM files: the certificate (and its chain), the key
#   SANDRIVO_SIGN_PKCS12 [SANDRIVO_SIGN_PASSWORD]   instead: a PKCS#12 file and its password
#   SANDRIVO_SIGN_TIMESTAMP                    optional: an RFC 3161 time-stamp server's address,
#                                              whose time stamp keeps a signature valid after the
#                                              certificate's end (its answer differs at every run:
#                                              the detached signatures are then the way to the same
#                                              bytes)
#   SANDRIVO_SIGN_CAFILE                       the CAs that the signatures and time stamps must lead
#                                              to (default: the system's)
# The certificate must be one for code signing (its extended key usage), valid now, and the key its
# own; the script refuses any other before it signs anything. The signatures carry the commit's time
# (the certificate's start, should it be newer), so that signing again gives the same bytes; each is
# verified after signing, and so is SHA256SUMS.p7s, against that very certificate.
#   SANDRIVO_SIGNATURES                        instead of a key: the signatures/ folder of a
#                                              published release, attached to these files
#   SANDRIVO_SIGN_FINGERPRINT                  with it: the SHA-256 fingerprint of the publisher's
#                                              certificate, as the release names it
#   SANDRIVO_VERIFY_TIME                       optional: the moment (Unix time) of the checks below
#                                              instead of now, e.g. to see that the release will
#                                              still attach on a later day
# Each attached signature must be by that certificate and match its file, and its chain must lead to
# a CA of SANDRIVO_SIGN_CAFILE at its time stamp's time, or else at the moment of the check, or at
# the nearest moment the certificate was valid (the signatures stay genuine when it has expired
# since, and when it or its CA is newer than the commit). The release's SHA256SUMS.p7s (in the
# folder above signatures/) must be that certificate's signature of its SHA256SUMS, and that of the
# files made here.
# Each signature is also written detached (PKCS#7, DER) to OUT/signatures/, SHA256SUMS's to
# OUT/SHA256SUMS.p7s. With none of these the files stay unsigned, and the script says so. Beside the
# files, not in SHA256SUMS, BUILDINFO.txt names the commit, the tools' versions and the signer.
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

source "$ROOT/scripts/signing.sh"

rm -rf "$out"
mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

die() {
  echo "package.sh: $*" >&2
  exit 1
}
# Runs a command with its output in a log; when it fails, says what failed ($1) and shows the log.
logged() {
  local what=$1
  shift
  "$@" >"$stage/log" 2>&1 && return 0
  echo "package.sh: $what:" >&2
  tail -n 12 "$stage/log" | sed 's/^/  /' >&2
  exit 1
}

now=$(date +%s)
cafile=${SANDRIVO_SIGN_CAFILE:-/etc/ssl/certs/ca-certificates.crt}
# The key stays in the stage folder, readable by us alone, and goes with it. The signer's
# certificate (the first of the chain) goes to signer.pem.
signing=none
if [ -n "${SANDRIVO_SIGNATURES:-}" ]; then
  signing=attach
  release=$(dirname "$(realpath "$SANDRIVO_SIGNATURES")")
  [ -n "${SANDRIVO_SIGN_FINGERPRINT:-}" ] ||
    die "attaching signatures needs SANDRIVO_SIGN_FINGERPRINT, the SHA-256 fingerprint of the publisher's certificate as the release names it"
  fingerprint=$(normal_fingerprint "$SANDRIVO_SIGN_FINGERPRINT")
  [ -f "$SANDRIVO_SIGNATURES/win32/Sandrivo.exe.p7s" ] || die "$SANDRIVO_SIGNATURES holds no win32/Sandrivo.exe.p7s"
  cert_of_signature "$SANDRIVO_SIGNATURES/win32/Sandrivo.exe.p7s" "$fingerprint" "$stage/signer.pem" ||
    die "signatures/win32/Sandrivo.exe.p7s is not signed by the certificate of SHA-256 fingerprint $fingerprint"
  for file in SHA256SUMS SHA256SUMS.p7s; do
    [ -f "$release/$file" ] || die "the release has no $file beside signatures/"
  done
  sums_signed_by "$release/SHA256SUMS.p7s" "$release/SHA256SUMS" "$stage/signer.pem" ||
    die "the release's SHA256SUMS.p7s is no signature of its SHA256SUMS by $(cert_subject "$stage/signer.pem") (SHA-256 $fingerprint)"
  # The checks' moment: now (or the one asked for), moved into the certificate's validity (which
  # OpenSSL takes to end a second before its end). A time stamp's time, where a signature has one,
  # takes its place.
  check_time=${SANDRIVO_VERIFY_TIME:-$now}
  start=$(cert_start "$stage/signer.pem") end=$(cert_end "$stage/signer.pem")
  [ "$check_time" -ge "$start" ] || check_time=$start
  [ "$check_time" -lt "$end" ] || check_time=$((end - 1))
elif [ -n "${SANDRIVO_SIGN_PKCS12:-}" ]; then
  # The certificate of the key first, then the chain.
  (umask 077
   logged "cannot read $SANDRIVO_SIGN_PKCS12" openssl pkcs12 -in "$SANDRIVO_SIGN_PKCS12" -passin env:SANDRIVO_SIGN_PASSWORD \
     -clcerts -nokeys -out "$stage/cert.pem"
   logged "cannot read $SANDRIVO_SIGN_PKCS12" openssl pkcs12 -in "$SANDRIVO_SIGN_PKCS12" -passin env:SANDRIVO_SIGN_PASSWORD \
     -cacerts -nokeys -out "$stage/chain-of-pkcs12.pem"
   cat "$stage/chain-of-pkcs12.pem" >>"$stage/cert.pem"
   logged "cannot read the key in $SANDRIVO_SIGN_PKCS12" openssl pkcs12 -in "$SANDRIVO_SIGN_PKCS12" \
     -passin env:SANDRIVO_SIGN_PASSWORD -nocerts -nodes -out "$stage/key.pem")
  signing=sign
elif [ -n "${SANDRIVO_SIGN_CERT:-}" ] && [ -n "${SANDRIVO_SIGN_KEY:-}" ]; then
  cp "$SANDRIVO_SIGN_CERT" "$stage/cert.pem"
  (umask 077 && cp "$SANDRIVO_SIGN_KEY" "$stage/key.pem")
  signing=sign
else
  echo "Not signed: no certificate given (SANDRIVO_SIGN_CERT and SANDRIVO_SIGN_KEY, or SANDRIVO_SIGN_PKCS12)." >&2
fi

# Refuses, before anything is signed, a certificate that cannot sign code now or a key not its own.
if [ $signing = sign ]; then
  awk '/BEGIN CERTIFICATE/ { n++ } n == 1' "$stage/cert.pem" >"$stage/signer.pem"
  openssl x509 -in "$stage/signer.pem" -noout 2>/dev/null || die "no certificate in the signing certificate's file"
  subject=$(cert_subject "$stage/signer.pem")
  problem=$(cannot_sign_code "$stage/signer.pem")
  [ -z "$problem" ] || die "the certificate $subject cannot sign code: $problem"
  problem=$(not_valid_at "$stage/signer.pem" "$now")
  [ -z "$problem" ] || die "the certificate $subject is not valid now ($(utc "$now")): $problem"
  key_matches "$stage/signer.pem" "$stage/key.pem" || die "the key does not belong to the certificate $subject"
  fingerprint=$(cert_fingerprint "$stage/signer.pem")
  sign_time=$epoch
  start=$(cert_start "$stage/signer.pem")
  [ "$sign_time" -ge "$start" ] || sign_time=$start
  check_time=$now
fi
if [ $signing = attach ]; then
  problem=$(cannot_sign_code "$stage/signer.pem")
  [ -z "$problem" ] || die "the release's certificate $(cert_subject "$stage/signer.pem") cannot sign code: $problem"
fi
# What an Authenticode signature is checked against: the signer's certificate by its fingerprint,
# its chain and its time stamp's chain to a CA of the CA file, at the moment above.
check=(-CAfile "$cafile" -TSA-CAfile "$cafile" -require-leaf-hash "sha256:${fingerprint:-}" -time "${check_time:-$now}")

# Signs the file $1 in place, its detached signature being signatures/$2.p7s.
sign() {
  local file=$1 signature=$out/signatures/$2.p7s
  [ $signing = none ] && return 0
  mkdir -p "$(dirname "$signature")"
  case $signing in
    sign)
      logged "signing $2 failed" osslsigncode sign -certs "$stage/cert.pem" -key "$stage/key.pem" -h sha256 \
        -n "Quelix Disk-Info" -i http://www.quelix.de/ -time "$sign_time" \
        ${SANDRIVO_SIGN_TIMESTAMP:+-ts "$SANDRIVO_SIGN_TIMESTAMP"} -in "$file" -out "$file.signed"
      logged "$2: its signature does not verify" osslsigncode verify "${check[@]}" -in "$file.signed"
      rm -f "$stage/signature.pem"
      logged "cannot extract the signature of $2" osslsigncode extract-signature -pem -in "$file.signed" -out "$stage/signature.pem"
      pem_to_der "$stage/signature.pem" >"$signature" ;;
    attach)
      [ -f "$SANDRIVO_SIGNATURES/$2.p7s" ] || die "the release has no signature $2.p7s"
      der_to_pem "$SANDRIVO_SIGNATURES/$2.p7s" >"$stage/signature.pem"
      logged "the release's signature $2.p7s is not $fingerprint's signature of this file" \
        osslsigncode attach-signature -sigin "$stage/signature.pem" "${check[@]}" -in "$file" -out "$file.signed"
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
    logged "signing SHA256SUMS failed" openssl cms -sign -binary -noattr -md sha256 -outform DER -in "$out/SHA256SUMS" \
      -signer "$stage/signer.pem" -inkey "$stage/key.pem" $( [ -s "$stage/chain.pem" ] && echo -certfile "$stage/chain.pem") \
      -out "$out/SHA256SUMS.p7s"
    touch -d "@$epoch" "$out/SHA256SUMS.p7s" ;;
  attach) cp "$release/SHA256SUMS.p7s" "$out/SHA256SUMS.p7s" ;;
esac
if [ $signing != none ]; then
  sums_signed_by "$out/SHA256SUMS.p7s" "$out/SHA256SUMS" "$stage/signer.pem" ||
    die "SHA256SUMS.p7s is not $fingerprint's signature of these files' SHA256SUMS"
  "${DIST[@]}" buildinfo "$out/BUILDINFO.txt" "$version" "$commit" "$epoch" "$(cert_subject "$stage/signer.pem")" "$fingerprint"
  echo "Signed by $(cert_subject "$stage/signer.pem"), certificate SHA-256 $fingerprint"
else
  "${DIST[@]}" buildinfo "$out/BUILDINFO.txt" "$version" "$commit" "$epoch"
fi
"${DIST[@]}" check "$out"
