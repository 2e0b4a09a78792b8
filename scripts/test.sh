#!/usr/bin/env bash
# Builds everything and runs every test under Wine, on an Xvfb display of its own.
set -euo pipefail
source "$(dirname "$0")/common.sh"

# Drives that the tests expect in their prefix: a CD-ROM and a diskette drive whose media are
# missing (their links lead nowhere), and a letter with nothing behind it.
export SANDRIVO_TEST_CDROM=M SANDRIVO_TEST_FLOPPY=N SANDRIVO_TEST_NODRIVE=Q

prepare_test_prefix() {
  local devices=$WINEPREFIX/dosdevices
  [ -f "$WINEPREFIX/.sandrivo-test-prefix" ] && return 0
  # Unmanaged windows: without a window manager, Wine would wait two seconds for one at every
  # window that a test closes.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  ln -sfn /nonexistent/sandrivo-cdrom "$devices/m:"
  ln -sfn /nonexistent/sandrivo-floppy "$devices/n:"
  rm -f "$devices/q:" "$devices/q::"
  wine reg add 'HKLM\Software\Wine\Drives' /v m: /d cdrom /f >/dev/null
  wine reg add 'HKLM\Software\Wine\Drives' /v n: /d floppy /f >/dev/null
  # The mount manager reads the drives when the server starts.
  wineserver -k || true
  wineserver -w
  touch "$WINEPREFIX/.sandrivo-test-prefix"
}

install_packages
build
make_prefix "$ROOT/.wine/test"
prepare_test_prefix

# Never the user's own display: the tests click and type.
unset DISPLAY
start_display
cleanup() {
  wineserver -k 2>/dev/null || true
  stop_display
}
trap cleanup EXIT
wineserver -p
# Start Wine's own services now, apart from CTest: a service that inherits a test's output pipe
# keeps CTest waiting for the pipe's end.
wine cmd /c exit >/dev/null 2>&1 </dev/null

ctest --test-dir "$BUILD_DIR" --output-on-failure
