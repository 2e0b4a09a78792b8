#!/usr/bin/env bash
# Usage: release-tests.sh [BUILD32 BUILD64]   (default: the tests' build/ and build64/)
# Tests the release's files made from two built release folders:
#  - packaged twice, a moment apart, the files are the same bytes, and their sums and manifests
#    agree and the manifests are valid by their schemas (package.sh checks them);
#  - signed with throw-away certificates (made once, at the start of the signing checks): every
#    executable, installer and SHA256SUMS verifies against the signer's fingerprint, as osslsigncode
#    and a user (scripts/verify-release.sh) check them; signing twice gives the same bytes; without
#    the signature an executable is the built one; the detached signatures attached to unsigned
#    files give the signed ones. Refused before anything is signed: an expired certificate, a web
#    server's, a key not the certificate's. Sums signed by another key or by a web server's
#    certificate are refused by the attach and by the user's check. A CA and a certificate newer
#    than the commit sign, and their signatures attach after the certificate's end; with time
#    stamps of a local authority (openssl ts) the signatures verify after the certificate's end;
#  - the installers name the commit, German, with versions and short names;
#  - the console report built again in a folder of another name is the same bytes as the build's
#    own, and no executable holds a build folder's path or a time stamp other than the commit's;
#  - each installer, under Wine in a prefix of its own: installs both programs, the read-me, the
#    notices and the Start-menu shortcut; the installed window program shows its window and the
#    installed report answers; installing again changes nothing; uninstalling leaves no file,
#    shortcut, folder or entry in the list of installed programs; an installer that raises the
#    fourth version field alone replaces it, and it is refused over that one (a lower fourth field
#    never replaces a higher one); one that raises the third replaces them; the x64 installer
#    replaces an installed x86 one.
# Wine's menu builder is off: no menu entry reaches the desktop that runs the tests.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build32=${1:-$BUILD_DIR} build64=${2:-$ROOT/build64}
# The publisher's key and signatures are not the tests' (release.sh runs them with its own): the
# tests sign only where they say so.
unset SANDRIVO_SIGN_CERT SANDRIVO_SIGN_KEY SANDRIVO_SIGN_PKCS12 SANDRIVO_SIGN_PASSWORD SANDRIVO_SIGN_TIMESTAMP \
  SANDRIVO_SIGNATURES SANDRIVO_SIGN_CAFILE
install_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}"
work=$build32/release-test
rm -rf "$work"
mkdir -p "$work"
failures=0 step_failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
# Says that a step passed when no check failed since the last step.
pass() {
  [ $failures = $step_failures ] && echo "passed: $*"
  step_failures=$failures
}

echo "== Release files of $(basename "$build32") and $(basename "$build64")"
bash "$ROOT/scripts/package.sh" "$build32" "$build64" "$work/dist"
sleep 1
bash "$ROOT/scripts/package.sh" "$build32" "$build64" "$work/dist-again" >/dev/null
diff -r "$work/dist" "$work/dist-again" >/dev/null ||
  fail "packaged twice, the files differ: $(diff -rq "$work/dist" "$work/dist-again" | tr '\n' ' ')"
pass "packaged twice: the same bytes ($(ls "$work/dist" | tr '\n' ' '))"
commit=$(cat "$build32/generated/commit")
version=$(sed -n 's/^#define SANDRIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$build32/generated/version.h")
epoch=$(cat "$build32/generated/source-date-epoch")

echo "== Signed with throw-away certificates"
# Every certificate of the run, made here at once: a CA valid since long before the commit and its
# code-signing certificate (RSA, whose signatures hold no chance: signing again gives the same
# bytes); an expired one, a web server's and another publisher's, all of that CA; a CA and its
# code-signing certificate both made after the commit and ending within days; a time-stamp
# authority's. The keys beside the signer's are EC keys, which are quick to make.
pki=$work/pki
mkdir -p "$pki/issued"
touch "$pki/index"
printf '[ca]\ndefault_ca=own\n[own]\ndatabase=%s/index\nnew_certs_dir=%s/issued\nserial=%s/serial\n' "$pki" "$pki" "$pki" >"$pki/ca.cnf"
printf 'default_md=sha256\npolicy=any\nunique_subject=no\n[any]\ncommonName=supplied\n' >>"$pki/ca.cnf"
printf '[root]\nbasicConstraints=critical,CA:TRUE\nkeyUsage=critical,keyCertSign\n' >>"$pki/ca.cnf"
printf '[signer]\nbasicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >>"$pki/ca.cnf"
printf '[server]\nbasicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n' >>"$pki/ca.cnf"
printf '[tsa]\nbasicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=critical,timeStamping\n' >>"$pki/ca.cnf"
echo 01 >"$pki/serial"
now=$(date +%s)
[ "$now" -gt "$epoch" ] || { echo "the commit's time $epoch lies in the future" >&2; exit 1; }
asn1_time() { date -u -d "@$1" +%Y%m%d%H%M%SZ; }
after_commit=$(asn1_time $((epoch + 1)))
openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$pki/signer.key" 2>/dev/null &
for name in root expired server foreign newer-root newer tsa; do
  openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$pki/$name.key" &
done
wait
issue() {  # NAME SUBJECT EXTENSIONS ISSUER|- START END
  local by=(-selfsign -keyfile "$pki/$1.key")
  [ "$4" != - ] && by=(-cert "$pki/$4.pem" -keyfile "$pki/$4.key")
  openssl req -new -key "$pki/$1.key" -subj "/CN=$2" -out "$pki/$1.csr"
  openssl ca -batch -notext -config "$pki/ca.cnf" -extensions "$3" -startdate "$5" -enddate "$6" "${by[@]}" \
    -in "$pki/$1.csr" -out "$pki/$1.pem" 2>/dev/null
  cat "$pki/$1.pem" >"$pki/$1-chain.pem"
  [ "$4" != - ] && cat "$pki/$4-chain.pem" >>"$pki/$1-chain.pem"
  return 0
}
issue root "Throw-away test CA" root - 20000101000000Z 20991231000000Z
issue signer "Quelix Software (test)" signer root 20000101000000Z 20991231000000Z
issue expired "Quelix Software (expired)" signer root 20000101000000Z 20011231000000Z
issue server "downloads.example.invalid" server root 20000101000000Z 20991231000000Z
issue foreign "Someone Else (test)" signer root 20000101000000Z 20991231000000Z
issue newer-root "Newer test CA" root - "$after_commit" "$(asn1_time $((now + 3 * 86400)))"
issue newer "Quelix Software (newer)" signer newer-root "$after_commit" "$(asn1_time $((now + 86400)))"
issue tsa "Test time stamps" tsa root 20000101000000Z 20991231000000Z
cat "$pki/root.pem" "$pki/newer-root.pem" >"$pki/cas.pem"
openssl pkcs12 -export -in "$pki/signer.pem" -inkey "$pki/signer.key" -certfile "$pki/root.pem" -passout pass:test \
  -out "$pki/signer.p12"
fingerprint() { openssl x509 -in "$1" -noout -fingerprint -sha256 | sed 's/.*=//; s/://g'; }
signer_fingerprint=$(fingerprint "$pki/signer.pem")
export SANDRIVO_SIGN_CAFILE=$pki/cas.pem

# Signed twice, from PEM files and from a PKCS#12 file of the same certificate and key.
SANDRIVO_SIGN_CERT=$pki/signer-chain.pem SANDRIVO_SIGN_KEY=$pki/signer.key \
  bash "$ROOT/scripts/package.sh" "$build32" "$build64" "$work/signed" >/dev/null || fail "signing failed"
SANDRIVO_SIGN_PKCS12=$pki/signer.p12 SANDRIVO_SIGN_PASSWORD=test \
  bash "$ROOT/scripts/package.sh" "$build32" "$build64" "$work/signed-again" >/dev/null || fail "signing from PKCS#12 failed"
diff -r "$work/signed" "$work/signed-again" >/dev/null || fail "signed twice (PEM, PKCS#12), the files differ"
mkdir -p "$work/signed-files"
for arch in win32 win64; do
  /usr/bin/python3 -m zipfile -e "$work/signed/Sandrivo-$version-$arch.zip" "$work/signed-files/$arch"
  build=$build32 && [ $arch = win64 ] && build=$build64
  for exe in Sandrivo.exe sandrivo-report.exe; do
    osslsigncode remove-signature -in "$work/signed-files/$arch/$exe" -out "$work/signed-files/$arch/$exe.bare" >/dev/null
    cmp -s "$work/signed-files/$arch/$exe.bare" "$build/$exe" || fail "$arch/$exe without its signature is not the built file"
  done
done
# Each signature by the signer's very certificate (its fingerprint), leading to the test CA.
for file in "$work"/signed-files/*/*.exe "$work"/signed/*.msi; do
  osslsigncode verify -CAfile "$pki/root.pem" -require-leaf-hash "sha256:$signer_fingerprint" -in "$file" \
    >"$work/verify.txt" 2>&1 || fail "osslsigncode verify $(basename "$file"): $(tail -n 3 "$work/verify.txt" | tr '\n' ' ')"
done
# The sums as a user checks them, with the fingerprint the release names.
bash "$ROOT/scripts/verify-release.sh" "$signer_fingerprint" "$work/signed" >"$work/verify.txt" 2>&1 &&
  grep -q -x 'SHA256SUMS is signed by: CN=Quelix Software (test)' "$work/verify.txt" ||
  fail "verify-release.sh does not verify the signed release: $(tr '\n' ' ' <"$work/verify.txt")"
grep -q -x "Signer's certificate, SHA-256: $signer_fingerprint" <(tr -d '\r' <"$work/signed/BUILDINFO.txt") ||
  fail "BUILDINFO.txt does not name the signer's certificate"
pass "signed: every executable, installer and SHA256SUMS verifies against the signer's fingerprint; signed twice (PEM, PKCS#12), the same bytes; unsigned, the built files"

# What cannot sign code is refused before anything is signed, each with its reason.
refusals=(
  "expired|$pki/expired-chain.pem|$pki/expired.key|is not valid now .*: it expired on 2001-12-31"
  "server-only|$pki/server-chain.pem|$pki/server.key|cannot sign code: it has no code-signing purpose \(extended key usage: TLS Web Server Authentication\)"
  "another key|$pki/signer-chain.pem|$pki/foreign.key|the key does not belong to the certificate CN=Quelix Software \(test\)"
)
for refusal in "${refusals[@]}"; do
  IFS='|' read -r what cert key message <<<"$refusal"
  status=0
  SANDRIVO_SIGN_CERT=$cert SANDRIVO_SIGN_KEY=$key bash "$ROOT/scripts/package.sh" "$build32" "$build64" "$work/refused" \
    >/dev/null 2>"$work/refused.txt" || status=$?
  [ $status != 0 ] && grep -q -E "$message" "$work/refused.txt" ||
    fail "$what certificate: package.sh returned $status: $(tr '\n' ' ' <"$work/refused.txt")"
  [ -z "$(ls -A "$work/refused")" ] || fail "$what certificate: package.sh made $(ls "$work/refused" | tr '\n' ' ')"
done
pass "refused before signing: an expired certificate, a web server's, a key not the certificate's"

# The detached signatures attached (osslsigncode's PEM form, the same for every version) give the
# signed files, BUILDINFO.txt included.
attach() {  # RELEASE OUT FINGERPRINT
  SANDRIVO_SIGNATURES=$1/signatures SANDRIVO_SIGN_FINGERPRINT=$3 bash "$ROOT/scripts/package.sh" "$build32" "$build64" "$2"
}
attach "$work/signed" "$work/attached" "$signer_fingerprint" >/dev/null || fail "attaching failed"
diff -r "$work/signed" "$work/attached" >/dev/null || fail "the detached signatures attached do not give the signed files"
pass "the detached signatures attached to unsigned files give the signed files"

# Sums signed by another publisher's key or by a web server's certificate: the attach refuses
# them, and so does a user's check, which refuses the server's even given its own fingerprint.
forgeries=(
  "foreign|$signer_fingerprint|carries no certificate of SHA-256 fingerprint $signer_fingerprint"
  "server|$signer_fingerprint|carries no certificate of SHA-256 fingerprint $signer_fingerprint"
  "server|$(fingerprint "$pki/server.pem")|is not one for code signing (extended key usage: TLS Web Server Authentication)"
)
mkdir -p "$work/forged"
cp -r "$work/signed/." "$work/forged/"
for forgery in "${forgeries[@]}"; do
  IFS='|' read -r forger pin message <<<"$forgery"
  openssl cms -sign -binary -noattr -md sha256 -outform DER -in "$work/forged/SHA256SUMS" -signer "$pki/$forger.pem" \
    -inkey "$pki/$forger.key" -out "$work/forged/SHA256SUMS.p7s"
  status=0
  bash "$ROOT/scripts/verify-release.sh" "$pin" "$work/forged" >"$work/verify.txt" 2>&1 || status=$?
  [ $status = 1 ] && grep -q -F "$message" "$work/verify.txt" ||
    fail "verify-release.sh, sums signed by the $forger certificate: $status, $(tr '\n' ' ' <"$work/verify.txt")"
  [ "$pin" = "$signer_fingerprint" ] || continue
  status=0
  attach "$work/forged" "$work/forged-attached" "$signer_fingerprint" >/dev/null 2>"$work/refused.txt" || status=$?
  [ $status != 0 ] && grep -q -F "the release's SHA256SUMS.p7s is no signature of its SHA256SUMS by CN=Quelix Software (test)" \
    "$work/refused.txt" || fail "sums signed by the $forger certificate attached: $status, $(tr '\n' ' ' <"$work/refused.txt")"
done
pass "sums signed by another key or by a web server's certificate: refused by the attach and by verify-release.sh"

# A CA and a certificate made after the commit sign, and their signatures attach, also on a day
# after the certificate's end.
SANDRIVO_SIGN_CERT=$pki/newer-chain.pem SANDRIVO_SIGN_KEY=$pki/newer.key \
  bash "$ROOT/scripts/package.sh" "$build32" "$build64" "$work/newer" >/dev/null || fail "signing with the newer certificate failed"
SANDRIVO_VERIFY_TIME=$((now + 2 * 86400)) attach "$work/newer" "$work/newer-attached" "$(fingerprint "$pki/newer.pem")" \
  >/dev/null || fail "attaching the newer certificate's signatures failed"
diff -r "$work/newer" "$work/newer-attached" >/dev/null || fail "the newer certificate's signatures attached differ"
pass "a CA and a certificate newer than the commit sign, and their signatures attach after the certificate's end"

# Time stamps from a local authority: the signatures verify after the certificate's end, which
# those without fail, and attach to the same bytes.
printf '[tsa]\ndefault_tsa=own\n[own]\nserial=./serial\nsigner_cert=./tsa.pem\nsigner_key=./tsa.key\n' >"$pki/ts.cnf"
printf 'signer_digest=sha256\ndefault_policy=1.3.6.1.4.1.99999.1\ndigests=sha256\ness_cert_id_alg=sha256\n' >>"$pki/ts.cnf"
/usr/bin/python3 "$ROOT/scripts/tools/timestamp_server.py" "$pki/ts.cnf" >"$work/tsa.port" 2>"$work/tsa.log" &
tsa=$!
for _ in $(seq 300); do [ -s "$work/tsa.port" ] && break; sleep 0.1; done
tsa_port=$(cat "$work/tsa.port")
[ -n "$tsa_port" ] || fail "the time-stamp server did not start: $(cat "$work/tsa.log")"
SANDRIVO_SIGN_TIMESTAMP=http://127.0.0.1:${tsa_port:-0}/ SANDRIVO_SIGN_CERT=$pki/newer-chain.pem SANDRIVO_SIGN_KEY=$pki/newer.key \
  bash "$ROOT/scripts/package.sh" "$build32" "$build64" "$work/stamped" >/dev/null || fail "signing with time stamps failed"
kill $tsa
wait $tsa 2>/dev/null || true
after_end=$((now + 2 * 86400))
for file in Sandrivo-$version-x86.msi Sandrivo-$version-x64.msi; do
  osslsigncode verify -CAfile "$pki/cas.pem" -TSA-CAfile "$pki/cas.pem" -time $after_end -in "$work/stamped/$file" \
    >"$work/verify.txt" 2>&1 || fail "$file with a time stamp, after the certificate's end: $(tail -n 3 "$work/verify.txt" | tr '\n' ' ')"
  ! osslsigncode verify -CAfile "$pki/cas.pem" -time $after_end -in "$work/newer/$file" >/dev/null 2>&1 ||
    fail "$file without a time stamp verifies after the certificate's end"
done
attach "$work/stamped" "$work/stamped-attached" "$(fingerprint "$pki/newer.pem")" >/dev/null ||
  fail "attaching the time-stamped signatures failed"
diff -r "$work/stamped" "$work/stamped-attached" >/dev/null || fail "the time-stamped signatures attached differ"
pass "time-stamped signatures verify after the certificate's end and attach to the same bytes"
unset SANDRIVO_SIGN_CAFILE

# The installers' tables and summary: German, the commit named, the programs' versions, short names.
for msi_arch in x86 x64; do
  msi=$work/dist/Sandrivo-$version-$msi_arch.msi
  summary=$(msiinfo suminfo "$msi")
  grep -q "^Template: .*;1031$" <<<"$summary" || fail "$msi_arch installer: summary language is not 1031"
  grep -q "^Comments: .*Commit $commit)$" <<<"$summary" || fail "$msi_arch installer: the summary does not name the commit"
  files=$(msiinfo export "$msi" File | tr -d '\r')
  for row in "SandrivoExe.*	Sandrivo.exe	[0-9]*	$version	1031	" "ReportExe.*	SNDRPT.EXE|sandrivo-report.exe	[0-9]*	$version	1031	"; do
    grep -q "^$row" <<<"$files" || fail "$msi_arch installer: no File row $row"
  done
  # (Read whole before grep: with pipefail, grep -q stopping early fails the writer.)
  folders=$(msiinfo export "$msi" Directory)
  grep -q "^INSTALLDIR	.*	QDINFO|Quelix Disk-Info" <<<"$folders" || fail "$msi_arch installer: the folder has no short name"
done
pass "the installers: language 1031, the commit, the programs' versions and short names"

# The same sources compiled and linked in another folder, later: the same console report. (The
# build's own time and commit are given, should a commit have come since its configuration.)
other=$work/another-folder-name
SOURCE_DATE_EPOCH=$epoch SANDRIVO_COMMIT=$commit cmake -S "$ROOT" -B "$other" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_I686" \
  -DSANDRIVO_TESTS=OFF -DSANDRIVO_WERROR=ON >/dev/null
cmake --build "$other" --target sandrivo-report >/dev/null
cmp "$other/sandrivo-report.exe" "$build32/sandrivo-report.exe" ||
  fail "sandrivo-report.exe built in another folder differs"
pass "sandrivo-report.exe built in another folder: the same bytes"
expected_stamp=$(printf '%08x' "$epoch")
for exe in "$build32/Sandrivo.exe" "$build32/sandrivo-report.exe" "$build64/Sandrivo.exe" "$build64/sandrivo-report.exe"; do
  stamp=$(od -An -tx4 -j $(($(od -An -tu4 -j 60 -N 4 "$exe") + 8)) -N 4 "$exe" | tr -d ' ')
  [ "$stamp" = "$expected_stamp" ] || fail "$exe: time stamp $stamp, not the commit's $expected_stamp"
  for dir in "$ROOT" "$build32" "$build64"; do
    ! grep -q -a -F "$dir" "$exe" || fail "$exe holds the path $dir"
  done
done
pass "the executables carry the commit's time stamp and no build path"

# ---- The installers under Wine: a 64-bit prefix of their own takes both.
cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  stop_display
}
trap cleanup EXIT
unset DISPLAY
start_display
# No menu entries or file associations for the desktop that runs the tests.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
make_prefix "$ROOT/.wine/msi" win64
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
drive_c=$WINEPREFIX/drive_c
shortcut_folders=("$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
                  "$drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")

# How many products the given registry view lists as installed under our name (with the version
# given as $2: how many of that version).
listed_products() {
  local pattern='DisplayName.*Quelix Disk-Info$'
  [ -n "${2:-}" ] && pattern="DisplayVersion.*$2$"
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s "$1" 2>/dev/null |
    tr -d '\r' | grep -c "$pattern" || true
}

installed_shortcut() {
  local folder
  for folder in "${shortcut_folders[@]}"; do
    [ -f "$folder/Quelix Disk-Info.lnk" ] && echo "$folder/Quelix Disk-Info.lnk"
  done
  return 0
}

# Waits for the main window: visible and of its full size (the program's hidden application
# window has the same title).
main_window_shows() {
  local window
  for _ in $(seq 100); do
    for window in $(xdotool search --onlyvisible --name '^Quelix Disk-Info$' 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$window")"
      MAIN_WINDOW=$window
      [ "$WIDTH" -ge 200 ] && [ "$HEIGHT" -ge 200 ] && return 0
    done
    sleep 0.2
  done
  return 1
}

check_installer() {
  local msi_arch=$1 build=$2 folder=$3 view=$4 build_bits=$5
  local msi="$work/dist/Sandrivo-$version-$msi_arch.msi" dir="$drive_c/$folder/Quelix Disk-Info"
  local windows_dir="C:\\$folder\\Quelix Disk-Info" what="$msi_arch installer"
  echo "== $(basename "$msi") in a win64 prefix"
  wine msiexec /i "$(winepath -w "$msi")" /qn || fail "$what: msiexec /i returned $?"
  [ "$(LC_ALL=C ls "$dir" 2>/dev/null | tr '\n' ' ')" = "LIESMICH.txt Sandrivo.exe THIRD-PARTY-NOTICES.txt sandrivo-report.exe " ] ||
    fail "$what: the install folder holds: $(ls "$dir" 2>&1 | tr '\n' ' ')"
  cmp -s "$dir/Sandrivo.exe" "$build/Sandrivo.exe" && cmp -s "$dir/sandrivo-report.exe" "$build/sandrivo-report.exe" ||
    fail "$what: the installed programs are not the built ones"
  local link
  link=$(installed_shortcut)
  if [ -z "$link" ] || ! strings -a "$link" | grep -q -F "$windows_dir\\Sandrivo.exe"; then
    fail "$what: no Start-menu shortcut to $windows_dir\\Sandrivo.exe"
  fi
  [ "$(listed_products "$view")" = 1 ] || fail "$what: not listed once among the installed programs"
  local entries
  entries=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s "$view" 2>/dev/null | tr -d '\r')
  grep -q -F "InstallLocation    REG_SZ    $windows_dir\\" <<<"$entries" ||
    fail "$what: the list of installed programs names no install folder"
  pass "$what: installed the programs, the read-me, the notices, the shortcut and the install folder"

  local report status=0
  report=$(wine "$windows_dir\\sandrivo-report.exe" C 2>/dev/null | tr -d '\r') || status=$?
  [ $status = 0 ] && [ "$(echo "$report" | head -n 1)" = "Laufwerksbuchstabe;C" ] ||
    fail "$what: the installed sandrivo-report.exe answered $status: $(echo "$report" | head -n 2)"
  pass "$what: the installed sandrivo-report.exe answers"

  # The installed program, started as the shortcut starts it: its window shows.
  (cd "$dir" && LC_ALL=de_DE.UTF-8 wine "$windows_dir\\Sandrivo.exe" >/dev/null 2>&1) &
  local program=$!
  if main_window_shows; then
    # Alt+F4, as a user closes it.
    xdotool windowfocus --sync "$MAIN_WINDOW" key alt+F4
    for _ in $(seq 50); do kill -0 $program 2>/dev/null || break; sleep 0.2; done
    kill -0 $program 2>/dev/null && fail "$what: the program did not close" && wineserver -k
  else
    fail "$what: the installed Sandrivo.exe shows no window"
    wineserver -k
  fi
  wait $program 2>/dev/null || true
  pass "$what: the installed Sandrivo.exe shows its window (${WIDTH:-0}x${HEIGHT:-0}) and closes"

  # The same version again: a repair at most, one product, the same files.
  wine msiexec /i "$(winepath -w "$msi")" /qn || fail "$what: installing again returned $?"
  [ "$(listed_products "$view")" = 1 ] && cmp -s "$dir/Sandrivo.exe" "$build/Sandrivo.exe" ||
    fail "$what: installing again changed what is installed"

  wine msiexec /x "$(winepath -w "$msi")" /qn || fail "$what: msiexec /x returned $?"
  [ ! -e "$dir" ] || fail "$what: uninstalling left $(find "$dir" | tr '\n' ' ')"
  [ -z "$(installed_shortcut)" ] || fail "$what: uninstalling left the shortcut $(installed_shortcut)"
  [ "$(listed_products "$view")" = 0 ] || fail "$what: still listed among the installed programs"
  pass "$what: installed again without change, uninstalled without a trace"

  # Other versions, each made from the same files with the programs' versions set to its own (as
  # its build has them): the fourth field alone raised replaces this one, and this one, lower in the
  # fourth field alone (which Windows Installer does not compare), is then refused and changes
  # nothing; a raise of the third field replaces them.
  local fourth raised files=$work/versions-$msi_arch
  fourth=$(echo "$version" | awk -F. '{ printf "%d.%d.%d.%d", $1, $2, $3, $4 + 1 }')
  raised=$(echo "$version" | awk -F. '{ printf "%d.%d.%d.0", $1, $2, $3 + 1 }')
  mkdir -p "$files/program"
  /usr/bin/python3 -m zipfile -e "$work/dist/Sandrivo-$version-win${build_bits}.zip" "$files/program"
  for other in $fourth $raised; do
    programs_of_version "$files/program" "$files/$other" "$other"
    /usr/bin/python3 "$ROOT/scripts/dist.py" msi "$files/$other.msi" $msi_arch "$other" "$epoch" \
      "$files/$other" "$build/art/program_icon.ico" "$commit"
  done
  wine msiexec /i "$(winepath -w "$msi")" /qn || fail "$what: msiexec /i returned $?"
  wine msiexec /i "$(winepath -w "$files/$fourth.msi")" /qn || fail "$what: the $fourth installer's msiexec /i returned $?"
  [ "$(listed_products "$view")" = 1 ] && [ "$(listed_products "$view" "$fourth")" = 1 ] ||
    fail "$what: version $fourth did not replace $version"
  local status=0
  wine msiexec /i "$(winepath -w "$msi")" /qn || status=$?
  [ $status != 0 ] || fail "$what: installing $version over $fourth succeeded"
  [ "$(listed_products "$view")" = 1 ] && [ "$(listed_products "$view" "$fourth")" = 1 ] &&
    cmp -s "$dir/Sandrivo.exe" "$files/$fourth/Sandrivo.exe" || fail "$what: installing $version over $fourth changed it"
  wine msiexec /i "$(winepath -w "$files/$raised.msi")" /qn || fail "$what: the $raised installer's msiexec /i returned $?"
  [ "$(listed_products "$view")" = 1 ] && [ "$(listed_products "$view" "$raised")" = 1 ] ||
    fail "$what: version $raised did not replace $fourth"
  wine msiexec /x "$(winepath -w "$files/$raised.msi")" /qn || fail "$what: msiexec /x of $raised returned $?"
  [ ! -e "$dir" ] && [ -z "$(installed_shortcut)" ] && [ "$(listed_products "$view")" = 0 ] ||
    fail "$what: the newer versions left something behind"
  pass "$what: $fourth replaces $version, $version over $fourth is refused ($status), $raised replaces $fourth"
}

# Copies the program folder $1 to $2 with both programs' file and product versions set to $3.
programs_of_version() {
  mkdir -p "$2"
  cp "$1"/* "$2"/
  /usr/bin/python3 - "$3" "$2/Sandrivo.exe" "$2/sandrivo-report.exe" <<'EOF'
import struct, sys
fields = [int(f) for f in sys.argv[1].split(".")]
versions = struct.pack("<IIII", *[fields[0] << 16 | fields[1], fields[2] << 16 | fields[3]] * 2)
for path in sys.argv[2:]:
    with open(path, "rb") as f:
        data = bytearray(f.read())
    at = data.find(struct.pack("<I", 0xFEEF04BD), data.find("VS_VERSION_INFO".encode("utf-16-le")))
    data[at + 8 : at + 24] = versions
    with open(path, "wb") as f:
        f.write(data)
EOF
}

# A run that failed may have left a version installed: start afresh then.
if [ "$(listed_products /reg:32)$(listed_products /reg:64)" != 00 ]; then
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  make_prefix "$WINEPREFIX" win64
fi

check_installer x86 "$build32" "Program Files (x86)" /reg:32 32
check_installer x64 "$build64" "Program Files" /reg:64 64

# Both architectures are one product: the x64 installer replaces an installed x86 one, and one
# shortcut leads to the x64 program.
echo "== The x64 installer over the x86 one"
wine msiexec /i "$(winepath -w "$work/dist/Sandrivo-$version-x86.msi")" /qn || fail "x86: msiexec /i returned $?"
wine msiexec /i "$(winepath -w "$work/dist/Sandrivo-$version-x64.msi")" /qn || fail "x64 over x86: msiexec /i returned $?"
[ "$(listed_products /reg:32)$(listed_products /reg:64)" = 01 ] ||
  fail "x64 over x86: listed $(listed_products /reg:32) times as 32-bit, $(listed_products /reg:64) times as 64-bit"
[ ! -e "$drive_c/Program Files (x86)/Quelix Disk-Info" ] || fail "x64 over x86: the x86 program stays"
links=$(installed_shortcut)
[ "$(echo "$links" | grep -c .)" = 1 ] && strings -a "$links" | grep -F 'C:\Program Files\Quelix Disk-Info\Sandrivo.exe' >/dev/null ||
  fail "x64 over x86: the shortcuts are: $links"
wine msiexec /x "$(winepath -w "$work/dist/Sandrivo-$version-x64.msi")" /qn || fail "x64: msiexec /x returned $?"
[ "$(listed_products /reg:32)$(listed_products /reg:64)" = 00 ] && [ -z "$(installed_shortcut)" ] ||
  fail "x64 over x86: uninstalling left something behind"
pass "the x64 installer replaces the x86 one: one product, one shortcut"

# No menu entry of this prefix on the desktop (other checkouts' runs may leave theirs).
stray=$(grep -r -l -F "WINEPREFIX=\"$WINEPREFIX\"" "${XDG_DATA_HOME:-$HOME/.local/share}/applications" 2>/dev/null || true)
[ -z "$stray" ] || fail "menu entries reached the desktop: $stray"

if [ $failures -ne 0 ]; then
  echo "release tests: $failures failed" >&2
  exit 1
fi
echo "release tests: all passed"
