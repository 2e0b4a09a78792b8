#!/usr/bin/env bash
# Usage: release-tests.sh [BUILD32 BUILD64]   (default: the tests' build/ and build64/)
# Tests the release's files made from two built release folders:
#  - packaged twice, a moment apart, the files are the same bytes, and their sums and manifests
#    agree (package.sh checks them);
#  - the console report built again in a folder of another name is the same bytes as the build's
#    own, and no executable holds a build folder's path or a time stamp other than the commit's;
#  - each installer, under Wine in a prefix of its own: installs both programs, the read-me and the
#    Start-menu shortcut; the installed window program shows its window and the installed report
#    answers; installing again changes nothing; uninstalling leaves no file, shortcut, folder or
#    entry in the list of installed programs; an installer of a newer version replaces it.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build32=${1:-$BUILD_DIR} build64=${2:-$ROOT/build64}
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

# The same sources compiled and linked in another folder, later: the same console report. (The
# build's own time is given, should a commit have come since its configuration.)
epoch=$(cat "$build32/generated/source-date-epoch")
other=$work/another-folder-name
SOURCE_DATE_EPOCH=$epoch cmake -S "$ROOT" -B "$other" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_I686" \
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
make_prefix "$ROOT/.wine/msi" win64
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
drive_c=$WINEPREFIX/drive_c
shortcut_folders=("$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
                  "$drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
version=$(sed -n 's/^#define SANDRIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$build32/generated/version.h")

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
  [ "$(LC_ALL=C ls "$dir" 2>/dev/null | tr '\n' ' ')" = "LIESMICH.txt Sandrivo.exe sandrivo-report.exe " ] ||
    fail "$what: the install folder holds: $(ls "$dir" 2>&1 | tr '\n' ' ')"
  cmp -s "$dir/Sandrivo.exe" "$build/Sandrivo.exe" && cmp -s "$dir/sandrivo-report.exe" "$build/sandrivo-report.exe" ||
    fail "$what: the installed programs are not the built ones"
  local link
  link=$(installed_shortcut)
  if [ -z "$link" ] || ! strings -a "$link" | grep -q -F "$windows_dir\\Sandrivo.exe"; then
    fail "$what: no Start-menu shortcut to $windows_dir\\Sandrivo.exe"
  fi
  [ "$(listed_products "$view")" = 1 ] || fail "$what: not listed once among the installed programs"
  pass "$what: installed the programs, the read-me and the shortcut"

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

  # A newer version replaces the installed one: its installer made from the same files.
  local newer files=$work/newer-$msi_arch
  newer=$(echo "$version" | awk -F. '{ printf "%d.%d.%d.0", $1, $2, $3 + 1 }')
  mkdir -p "$files/program"
  /usr/bin/python3 -m zipfile -e "$work/dist/Sandrivo-$version-win${build_bits}.zip" "$files/program"
  /usr/bin/python3 "$ROOT/scripts/dist.py" msi "$files/newer.msi" $msi_arch "$newer" "$epoch" \
    "$files/program" "$build/art/program_icon.ico"
  wine msiexec /i "$(winepath -w "$msi")" /qn || fail "$what: msiexec /i returned $?"
  wine msiexec /i "$(winepath -w "$files/newer.msi")" /qn || fail "$what: the newer version's msiexec /i returned $?"
  [ "$(listed_products "$view")" = 1 ] && [ "$(listed_products "$view" "$newer")" = 1 ] ||
    fail "$what: version $newer did not replace $version"
  wine msiexec /x "$(winepath -w "$files/newer.msi")" /qn || fail "$what: msiexec /x of $newer returned $?"
  [ ! -e "$dir" ] && [ -z "$(installed_shortcut)" ] && [ "$(listed_products "$view")" = 0 ] ||
    fail "$what: the newer version left something behind"
  pass "$what: version $newer replaces $version"
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

if [ $failures -ne 0 ]; then
  echo "release tests: $failures failed" >&2
  exit 1
fi
echo "release tests: all passed"
