#!/usr/bin/env bash
# Builds everything for 32-bit and for 64-bit Windows, warnings as errors, and runs every test of
# both builds under Wine (a 32-bit and a 64-bit prefix), each on an Xvfb display of its own.
#
# On two cores the work overlaps where it can: the prefixes are made while the 32-bit build compiles,
# the 64-bit build compiles (at a lower priority) while the 32-bit tests run, and the 64-bit tests
# run beside the release's tests. The stall check, which measures latencies, runs alone at the end.
# Each part's output is shown whole when it ends, with its time.
#
# SANDRIVO_TEST_FILTER=regex runs only the matching tests (ctest -R), of the 32-bit build alone and
# without the release's files: for a quick round while working on one part.
set -euo pipefail
source "$(dirname "$0")/common.sh"

# Drives that the tests expect in their prefix: a CD-ROM and a diskette drive whose media are
# missing (their links lead nowhere), a letter with nothing behind it, a fixed drive whose label is
# beyond code page 1252, and a drive mapped to the share \\server\share.
export SANDRIVO_TEST_CDROM=M SANDRIVO_TEST_FLOPPY=N SANDRIVO_TEST_NODRIVE=Q SANDRIVO_TEST_LABELLED=L
export SANDRIVO_TEST_SHARE=U

prepare_test_prefix() {
  local devices=$WINEPREFIX/dosdevices
  # The labelled drive's folder, linked at every run and relative to the prefix, so that a checkout
  # that moved (with its prefix) does not show the old tree's folder. The mount manager reads the
  # links when the server starts, which run_tests does afresh.
  ln -sfn ../sandrivo-labelled "$devices/l:"
  # The windows' pixel tests expect Windows' default light app mode, whatever a developer switched
  # the prefix to (the dark mode tests set it themselves).
  wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' /v AppsUseLightTheme /f \
    >/dev/null 2>&1 || true
  [ -f "$WINEPREFIX/.sandrivo-test-prefix-3" ] && return 0
  # Unmanaged windows: without a window manager, Wine would wait two seconds for one at every
  # window that a test closes.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  ln -sfn /nonexistent/sandrivo-cdrom "$devices/m:"
  ln -sfn /nonexistent/sandrivo-floppy "$devices/n:"
  rm -f "$devices/q:" "$devices/q::"
  # The mount manager reads a folder drive's label from its ".windows-label" file (UTF-8).
  mkdir -p "$WINEPREFIX/sandrivo-labelled"
  printf 'B\xc3\xbccher-\xe6\x97\xa5\xe6\x9c\xac-\xf0\x9f\x98\x80' >"$WINEPREFIX/sandrivo-labelled/.windows-label"
  # The mount manager reads the native view of the registry, not a 32-bit program's.
  local view=/reg:32
  [ "$WINEARCH" = win64 ] && view=/reg:64
  wine reg add 'HKLM\Software\Wine\Drives' /v m: /d cdrom /f $view >/dev/null
  wine reg add 'HKLM\Software\Wine\Drives' /v n: /d floppy /f $view >/dev/null
  wine reg add 'HKLM\Software\Wine\Drives' /v l: /d hd /f $view >/dev/null
  # A mapped drive: a link under dosdevices/unc names the share (its folder must exist), the type
  # "network" makes it one; WNetGetConnectionW then answers \\server\share.
  mkdir -p "$WINEPREFIX/sandrivo-share" "$devices/unc/server"
  ln -sfn ../../../sandrivo-share "$devices/unc/server/share"
  ln -sfn unc/server/share "$devices/u:"
  wine reg add 'HKLM\Software\Wine\Drives' /v u: /d network /f $view >/dev/null
  # The mount manager reads the drives when the server starts.
  wineserver -k || true
  wineserver -w
  touch "$WINEPREFIX/.sandrivo-test-prefix-3"
}

# The tests of one build run in two prefixes at once, each on a display of its own: most of a test's
# time is Wine starting its process, which waits more than it computes. Two prefixes, since tests in
# one share its focus, clipboard and registry. The split is by executable, about half the time each.
LANE_A='^(app_tests|runtime_tests|failure_tests)'

# Makes a test prefix (no display needed), ready for run_tests, and its copy "<prefix>-b" for the
# second half of the tests (a copy takes a second, a new prefix half a minute).
make_test_prefixes() {
  make_prefix "$1" "$2"
  prepare_test_prefix
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$1-b"
  cp -a "$1" "$1-b"
}

# Runs the tests of one build folder in one prefix, on a display of its own: the tests click, type
# and take the focus. The screen holds the main window at 200 % scaling. Further arguments select
# the tests (ctest -R or -E).
run_tests() {
  local dir=$1 prefix=$2 arch=$3
  shift 3
  make_prefix "$prefix" "$arch"
  prepare_test_prefix
  unset DISPLAY
  SCREEN_SIZE=1280x1024x24 start_display
  trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT
  # A server left from another display would serve the tests' windows from there: start afresh.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p
  # Start Wine's own services now, apart from CTest: a service that inherits a test's output pipe
  # keeps CTest waiting for the pipe's end. Under a UTF-8 locale: the mount manager reads labels
  # from files in its own Unix locale, and the German one may be missing from the machine.
  LC_ALL=C.UTF-8 wine cmd /c exit >/dev/null 2>&1 </dev/null
  echo "== Tests of $(basename "$dir") in a $arch prefix ($(basename "$prefix"))"
  local status=0
  export SANDRIVO_START_LOG=$dir/wine-starts-retried-$(basename "$prefix").log
  rm -f "$SANDRIVO_START_LOG"
  ctest --test-dir "$dir" --output-on-failure "$@" || status=$?
  if [ -s "$SANDRIVO_START_LOG" ]; then
    echo "Starts that Wine failed and that were tried once more:"
    cat "$SANDRIVO_START_LOG"
  else
    echo "No start failed in Wine."
  fi
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  return $status
}

started=$SECONDS
# Seconds since the start, for the log.
clock() { echo "$((SECONDS - started)) s"; }
LOGS=$ROOT/build-logs
rm -rf "$LOGS"
mkdir -p "$LOGS"
declare -A PART_PID PART_TITLE
# Runs a part in the background with its output in a log of its own: start_part id title command...
start_part() {
  local id=$1
  PART_TITLE[$id]=$2
  shift 2
  (
    begun=$SECONDS
    status=0
    "$@" >"$LOGS/$id.log" 2>&1 || status=$?
    echo "$((SECONDS - begun))" >"$LOGS/$id.seconds"
    exit "$status"
  ) &
  PART_PID[$id]=$!
}
# Waits for a part and shows its output; returns the part's status.
finish_part() {
  local id=$1 status=0 took
  wait "${PART_PID[$id]}" || status=$?
  took=$(cat "$LOGS/$id.seconds" 2>/dev/null || echo '?')
  if [ "$status" = 0 ]; then
    echo "== ${PART_TITLE[$id]}: done in $took s (at $(clock))"
  else
    echo "== ${PART_TITLE[$id]}: FAILED with status $status after $took s (at $(clock))"
  fi
  cat "$LOGS/$id.log"
  return "$status"
}
# The 64-bit build yields to the 32-bit tests that run beside it.
build64() {
  renice -n 10 "$BASHPID" >/dev/null
  build "$ROOT/build64" "$TOOLCHAIN_X86_64" ON -DSANDRIVO_WERROR=ON
}

install_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
unset DISPLAY
if [ -n "${SANDRIVO_TEST_FILTER:-}" ]; then
  build "$BUILD_DIR" "$TOOLCHAIN_I686" ON -DSANDRIVO_WERROR=ON
  run_tests "$BUILD_DIR" "$ROOT/.wine/test" win32 -R "$SANDRIVO_TEST_FILTER"
  exit
fi
install_packages "${RELEASE_PACKAGES[@]}"

status=0
start_part prefix32 "32-bit test prefixes" make_test_prefixes "$ROOT/.wine/test" win32
start_part prefix64 "64-bit test prefixes" make_test_prefixes "$ROOT/.wine/test64" win64
# The stall check's prefix too: it runs last, when nothing else is left to overlap with.
start_part prefixstall "stall check's prefix" make_prefix "$ROOT/.wine/stall" win32
echo "== Building 32-bit (at $(clock))"
build "$BUILD_DIR" "$TOOLCHAIN_I686" ON -DSANDRIVO_WERROR=ON
finish_part prefix32 || status=$?
start_part tests32a "32-bit tests, first half" run_tests "$BUILD_DIR" "$ROOT/.wine/test" win32 -R "$LANE_A"
start_part tests32b "32-bit tests, second half" run_tests "$BUILD_DIR" "$ROOT/.wine/test-b" win32 -E "$LANE_A"
echo "== Building 64-bit beside the 32-bit tests (at $(clock))"
( build64 )
echo "== Built (at $(clock))"
finish_part prefix64 || status=$?
start_part tests64a "64-bit tests, first half" run_tests "$ROOT/build64" "$ROOT/.wine/test64" win64 -R "$LANE_A"
start_part tests64b "64-bit tests, second half" run_tests "$ROOT/build64" "$ROOT/.wine/test64-b" win64 -E "$LANE_A"
start_part release "release tests" bash "$ROOT/scripts/release-tests.sh" "$BUILD_DIR" "$ROOT/build64"
for part in tests32a tests32b release tests64a tests64b; do
  finish_part $part || status=$?
done
finish_part prefixstall || status=$?
# The window against a drive that really stalls (FUSE; skipped where the machine has none).
echo "== Stall check (at $(clock))"
SANDRIVO_STALL_EXE=$BUILD_DIR/Sandrivo.exe bash "$ROOT/scripts/stall-check.sh" || status=$?
echo "== All done in $(clock), status $status"
exit $status
