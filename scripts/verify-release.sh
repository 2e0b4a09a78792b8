#!/usr/bin/env bash
# Usage: verify-release.sh FINGERPRINT [FOLDER]
# Checks a downloaded release of Quelix Disk-Info (FOLDER, default the current one) with openssl:
#  1. SHA256SUMS.p7s is a signature of SHA256SUMS by exactly the certificate whose SHA-256
#     fingerprint is FINGERPRINT (the publisher's, as docs/download.md and the release notes give
#     it; never take it from the download itself), and that certificate is one for code signing;
#  2. every file of SHA256SUMS that the folder holds has its hash there (at least one must).
# It prints the certificate's subject. Trust comes from the fingerprint, not from a CA: any
# certificate that a CA issued, a web server's for one, is refused unless it is that one.
# Exit 0: all good; 1: a check failed (the reason is printed); 2: wrong usage.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "Usage: verify-release.sh FINGERPRINT [FOLDER]" >&2
  exit 2
fi
pin=$(tr -d ': \t' <<<"$1" | tr a-f A-F)
if ! grep -q -x '[0-9A-F]\{64\}' <<<"$pin"; then
  echo "The fingerprint must be 64 hex digits (a SHA-256 fingerprint), colons allowed." >&2
  exit 2
fi
cd "${2:-.}"
refuse() {
  echo "NOT VERIFIED: $*" >&2
  exit 1
}
for file in SHA256SUMS SHA256SUMS.p7s; do
  [ -f "$file" ] || refuse "$file is missing in $(pwd)"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The certificates that the signature carries, one file each; the one of the fingerprint is the
# publisher's.
openssl pkcs7 -inform DER -in SHA256SUMS.p7s -print_certs 2>/dev/null |
  awk -v work="$work" '/BEGIN CERTIFICATE/ { n++ } n { print > (work "/" n ".pem") }'
signer=
for cert in "$work"/*.pem; do
  [ -f "$cert" ] || continue
  if [ "$(openssl x509 -in "$cert" -noout -fingerprint -sha256 | sed 's/.*=//; s/://g')" = "$pin" ]; then
    signer=$cert
  fi
done
[ -n "$signer" ] || refuse "SHA256SUMS.p7s carries no certificate of SHA-256 fingerprint $pin"
subject=$(openssl x509 -in "$signer" -noout -subject -nameopt RFC2253 | sed 's/^subject=//')
usages=$(openssl x509 -in "$signer" -noout -ext extendedKeyUsage 2>/dev/null | sed '1d; s/^ *//')
tr ',' '\n' <<<"$usages" | sed 's/^ *//' | grep -q -x 'Code Signing' ||
  refuse "the certificate $subject is not one for code signing (extended key usage: ${usages:-none})"
# The signature checked with that certificate alone: -nointern ignores every other certificate in
# it, -noverify the CA chain, which the fingerprint replaces.
openssl cms -verify -binary -inform DER -in SHA256SUMS.p7s -content SHA256SUMS -certfile "$signer" -nointern \
  -noverify -out /dev/null 2>"$work/error" ||
  refuse "SHA256SUMS.p7s is not $subject's signature of SHA256SUMS: $(head -n 1 "$work/error")"
echo "SHA256SUMS is signed by: $subject"
echo "  (certificate SHA-256 $pin)"
sha256sum --check --ignore-missing --strict SHA256SUMS || refuse "a file does not have its hash in SHA256SUMS"
echo "Verified."
