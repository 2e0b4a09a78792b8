# Certificates and signatures for scripts/package.sh: what a certificate must be to sign code, and
# the checks of Authenticode signatures and of SHA256SUMS.p7s against one certificate. Sourced, not
# run.

# The SHA-256 fingerprint of the first certificate in the PEM file $1: 64 upper-case hex digits.
cert_fingerprint() {
  openssl x509 -in "$1" -noout -fingerprint -sha256 | sed 's/.*=//; s/://g'
}

# A fingerprint as people write it (colons, blanks, lower case) in the form above.
normal_fingerprint() {
  tr -d ': \t' <<<"$1" | tr a-f A-F
}

cert_subject() {
  openssl x509 -in "$1" -noout -subject -nameopt RFC2253 | sed 's/^subject=//'
}

# The start and the end of the certificate's validity, as Unix times.
cert_start() { date -d "$(openssl x509 -in "$1" -noout -startdate | sed 's/^notBefore=//')" +%s; }
cert_end() { date -d "$(openssl x509 -in "$1" -noout -enddate | sed 's/^notAfter=//')" +%s; }

utc() { date -u -d "@$1" '+%Y-%m-%d %H:%M:%S UTC'; }

# Says why the certificate $1 cannot sign code, or nothing: it must name code signing among its
# extended key usages, and its key usage (where it has one) must allow signatures.
cannot_sign_code() {
  local usages key_usage
  usages=$(openssl x509 -in "$1" -noout -ext extendedKeyUsage 2>/dev/null | sed '1d; s/^ *//')
  if ! tr ',' '\n' <<<"$usages" | sed 's/^ *//' | grep -q -x 'Code Signing'; then
    echo "it has no code-signing purpose (extended key usage: ${usages:-none})"
    return
  fi
  key_usage=$(openssl x509 -in "$1" -noout -ext keyUsage 2>/dev/null | sed '1d; s/^ *//')
  if [ -n "$key_usage" ] && ! grep -q 'Digital Signature' <<<"$key_usage"; then
    echo "its key usage does not allow signatures ($key_usage)"
  fi
}

# Says why the certificate $1 is not valid at the Unix time $2, or nothing.
not_valid_at() {
  local start end
  start=$(cert_start "$1") end=$(cert_end "$1")
  if [ "$2" -lt "$start" ]; then
    echo "it is valid only from $(utc "$start")"
  elif [ "$2" -gt "$end" ]; then
    echo "it expired on $(utc "$end")"
  fi
}

# Whether the private key $2 belongs to the certificate $1.
key_matches() {
  local cert_key private_key
  cert_key=$(openssl x509 -in "$1" -noout -pubkey 2>/dev/null) &&
    private_key=$(openssl pkey -in "$2" -pubout 2>/dev/null) && [ "$cert_key" = "$private_key" ]
}

# Writes the certificate of fingerprint $2 that the signature $1 (PKCS#7 or CMS, DER) carries to the
# PEM file $3; fails when it carries none of that fingerprint.
cert_of_signature() {
  local folder file
  folder=$(mktemp -d)
  openssl pkcs7 -inform DER -in "$1" -print_certs 2>/dev/null |
    awk -v folder="$folder" '/BEGIN CERTIFICATE/ { n++ } n { print > (folder "/" n ".pem") }'
  for file in "$folder"/*.pem; do
    if [ -f "$file" ] && [ "$(cert_fingerprint "$file")" = "$2" ]; then
      cp "$file" "$3"
      rm -rf "$folder"
      return 0
    fi
  done
  rm -rf "$folder"
  return 1
}

# Whether the detached CMS signature $1 (DER) is the certificate $3's signature of the file $2:
# made with its key, the certificate named by its fingerprint rather than trusted through a CA.
sums_signed_by() {
  openssl cms -verify -binary -inform DER -in "$1" -content "$2" -certfile "$3" -nointern -noverify \
    -out /dev/null 2>/dev/null
}

# A PKCS#7 signature between DER (the published form) and PEM (which every osslsigncode version
# reads and writes alike), by its base64 alone: the signature's bytes stay as they are.
der_to_pem() {
  echo "-----BEGIN PKCS7-----"
  base64 -w 64 "$1"
  echo "-----END PKCS7-----"
}
pem_to_der() {
  sed '/^-----/d' "$1" | base64 -d
}
