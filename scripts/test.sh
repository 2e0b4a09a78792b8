#!/usr/bin/env bash
# Builds everything for 32-bit and for 64-bit Windows, warnings as errors, and runs every test of
# both builds under Wine (a 32-bit and a 64-bit prefix) on an Xvfb display of its own.
#
# SANDRIVO_TEST_FILTER=regex runs only the matching tests (ctest -R), of the 32-bit build alone and
# without the release's files: for a quick round while working on one part.
set -euo pipefail
source "$(dirname "$0")/common.sh"

# Drives that the tests expect in their prefix: a CD-ROM and a diskette drive whose media are
# missing (their links lead nowhere), a letter with nothing behind it, and a fixed drive whose
# label is beyond code page 1252.
export SANDRIVO_TEST_CDROM=M SANDRIVO_TEST_FLOPPY=N SANDRIVO_TEST_NODRIVE=Q SANDRIVO_TEST_LABELLED=L

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
  [ -f "$WINEPREFIX/.sandrivo-test-prefix-2" ] && return 0
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
  # The mount manager reads the drives when the server starts.
  wineserver -k || true
  wineserver -w
  touch "$WINEPREFIX/.sandrivo-test-prefix-2"
}

# Runs the tests of one build folder in one prefix.
run_tests() {
  local dir=$1 prefix=$2 arch=$3
  make_prefix "$prefix" "$arch"
  prepare_test_prefix
  # A server left from another display would serve the tests' windows from there: start afresh.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p
  # Start Wine's own services now, apart from CTest: a service that inherits a test's output pipe
  # keeps CTest waiting for the pipe's end. Under a UTF-8 locale: the mount manager reads labels
  # from files in its own Unix locale, and the German one may be missing from the machine.
  LC_ALL=C.UTF-8 wine cmd /c exit >/dev/null 2>&1 </dev/null
  echo "== Tests of $(basename "$dir") in a $arch prefix"
  local status=0
  export SANDRIVO_START_LOG=$dir/wine-starts-retried.log
  rm -f "$SANDRIVO_START_LOG"
  ctest --test-dir "$dir" --output-on-failure ${SANDRIVO_TEST_FILTER:+-R "$SANDRIVO_TEST_FILTER"} || status=$?
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

install_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
build "$BUILD_DIR" "$TOOLCHAIN_I686" ON -DSANDRIVO_WERROR=ON
[ -n "${SANDRIVO_TEST_FILTER:-}" ] || build "$ROOT/build64" "$TOOLCHAIN_X86_64" ON -DSANDRIVO_WERROR=ON

# Never the user's own display: the tests click and type. The screen holds the main window at
# 200 % scaling.
unset DISPLAY
SCREEN_SIZE=1280x1024x24 start_display
cleanup() {
  wineserver -k 2>/dev/null || true
  stop_display
}
trap cleanup EXIT

status=0
if [ -n "${SANDRIVO_TEST_FILTER:-}" ]; then
  run_tests "$BUILD_DIR" "$ROOT/.wine/test" win32 || status=$?
  exit $status
fi
bash "$ROOT/scripts/release-tests.sh" "$BUILD_DIR" "$ROOT/build64" || status=$?
run_tests "$BUILD_DIR" "$ROOT/.wine/test" win32 || status=$?
run_tests "$ROOT/build64" "$ROOT/.wine/test64" win64 || status=$?
# The window against a drive that really stalls (FUSE; skipped where the machine has none).
echo "== Stall check"
SANDRIVO_STALL_EXE=$BUILD_DIR/Sandrivo.exe bash "$ROOT/scripts/stall-check.sh" || status=$?
exit $status
