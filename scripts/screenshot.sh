#!/usr/bin/env bash
# Makes the README's screenshot: the main window with drive C selected, on an Xvfb display of its own.
# Usage: scripts/screenshot.sh [output.png]   (default: docs/main-window.png)
set -euo pipefail
source "$(dirname "$0")/common.sh"
OUT=${1:-$ROOT/docs/main-window.png}

install_packages "${PACKAGES[@]}" xdotool imagemagick
build "$BUILD_DIR" "$TOOLCHAIN_I686" OFF
make_prefix "$ROOT/.wine/run"
unset DISPLAY
start_display
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT

# German regional settings, to match the German texts of the window.
LC_ALL=de_DE.UTF-8 wine "$BUILD_DIR/Sandrivo.exe" >/dev/null 2>&1 &
wait_for_window "Quelix Disk-Info"
# Drive C is the first icon of the drive list, which starts below the 41-pixel button bar.
xdotool mousemove $((X + 38)) $((Y + 63)) click 1
sleep 1
# Away from the list, so that no tool tip covers the picture.
xdotool mousemove $((X + WIDTH + 20)) $((Y + HEIGHT + 20))
sleep 0.5
mkdir -p "$(dirname "$OUT")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$OUT"
echo "Wrote $OUT"
