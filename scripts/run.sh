#!/usr/bin/env bash
# Builds the program and runs it under Wine (on a new Xvfb display when DISPLAY is unset).
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages "${PACKAGES[@]}"
build "$BUILD_DIR" "$TOOLCHAIN_I686" OFF
make_prefix "$ROOT/.wine/run"
start_display
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT
if [ -n "$XVFB_PID" ]; then
  echo "Running on the virtual display $DISPLAY (take a look with: DISPLAY=$DISPLAY import -window root shot.png)"
fi
wine "$BUILD_DIR/Sandrivo.exe"
