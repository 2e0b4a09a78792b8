#!/usr/bin/env bash
# Checks the typed exports against LibreOffice Calc: an "HTML Format" clipboard block (with its
# header) or an HTML file, and/or a CSV file, read by headless Calc in a German and an English
# locale, the CSV also by Python's csv module; every cell is compared with the expectation.
#
#   scripts/spreadsheet-check.sh [--html FILE] [--csv FILE] EXPECT.json
#
# EXPECT is JSON: a list of rows, each a list of cells {"text": "..."} or {"number": 8192}. Prints
# one line per check, [met] or [not met], with the cells that differ; exits 1 when a check is not
# met (non-zero too when the check itself could not run).
#
# Calc reads the files as a user's paste or opening does: HTML with the import options' "automatic"
# language and special numbers (dates) detected, the stricter of the paste dialog's choices; CSV with
# ";" and '"', UTF-8, and the CSV dialog's defaults otherwise (no formulas evaluated, quoted fields
# not forced to text, no special numbers). The locales run side by side, each in a user profile of
# its own, thrown away.
set -euo pipefail
source "$(dirname "$0")/common.sh"

LOCALES=(de-DE en-US)
HTML_FILTER="HTML (StarCalc):0 1"
CSV_FILTER="Text - txt - csv (StarCalc):59,34,76,1,,0,false,false,false,false,false,-1,false"
HELPER=$ROOT/scripts/tools/spreadsheet_check.py

usage() {
  echo "usage: $0 [--html FILE] [--csv FILE] EXPECT.json" >&2
  exit 2
}
INPUTS=()
while [ $# -gt 1 ]; do
  case $1 in
    --html | --csv) INPUTS+=("$1" "$(realpath "$2")"); shift 2 ;;
    *) usage ;;
  esac
done
if [ $# != 1 ] || [ ${#INPUTS[@]} = 0 ]; then usage; fi
EXPECT=$(realpath "$1")

command -v soffice >/dev/null || install_packages libreoffice-calc-nogui

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
python3 "$HELPER" prepare "$WORK" "${INPUTS[@]}"

# Converts files to flat ODS with one start of Calc; HTML and CSV need one each, as the last input
# filter given is taken for every file.
calc() {
  local profile=$1 out=$2 filter=$3
  shift 3
  [ -e "$1" ] || return 0
  timeout 120 soffice -env:UserInstallation="file://$profile" --headless --norestore \
    --infilter="$filter" --convert-to fods --outdir "$out" "$@" >>"$out/soffice.log" 2>&1 || true
}
# Converts the prepared files in one locale, set in a user profile of the locale's own.
convert() {
  local profile=$WORK/profile-$1 out=$WORK/calc-$1
  mkdir -p "$profile/user" "$out"
  cat >"$profile/user/registrymodifications.xcu" <<XCU
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooSetupSystemLocale" oor:op="fuse"><value>$1</value></prop></item>
</oor:items>
XCU
  calc "$profile" "$out" "$HTML_FILTER" "$WORK"/html/*.html
  calc "$profile" "$out" "$CSV_FILTER" "$WORK"/csv/*.csv
}
START=$EPOCHREALTIME
for locale in "${LOCALES[@]}"; do
  convert "$locale" &
done
wait
echo "Calc converted in $(((${EPOCHREALTIME/./} - ${START/./}) / 1000)) ms"
python3 "$HELPER" report "$WORK" "$EXPECT" "${INPUTS[@]}"
