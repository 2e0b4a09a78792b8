#!/usr/bin/env bash
# Makes the README's screenshots on an Xvfb display of its own: the main window with drive C selected
# (docs/main-window.png, or the file given), and the about dialog's icon page, its "System" page
# with figures and its first info page (docs/about-icon.png, docs/about-system.png,
# docs/about-info.png), and the help window (docs/help-window.png); then the main window and the
# about dialog's "System" page at 150 % scaling (docs/main-window-150.png, docs/about-system-150.png).
# Usage: scripts/screenshot.sh [output.png]
set -euo pipefail
source "$(dirname "$0")/common.sh"
OUT=${1:-$ROOT/docs/main-window.png}

install_packages "${PACKAGES[@]}" xdotool imagemagick
build "$BUILD_DIR" "$TOOLCHAIN_I686" OFF
make_prefix "$ROOT/.wine/run"
unset DISPLAY
SCREEN_SIZE=1280x1024x24 start_display
set_dpi() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ "$1" = 96 ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  fi
  DPI=$1
}
trap 'set_dpi 96; wineserver -k 2>/dev/null || true; stop_display' EXIT
# A length of the 96-dpi layout at the current DPI.
px() { echo $((($1 * DPI + 48) / 96)); }

set_dpi 96
# German regional settings, to match the German texts of the window.
LC_ALL=de_DE.UTF-8 wine "$BUILD_DIR/Sandrivo.exe" >/dev/null 2>&1 &
wait_for_window "Quelix Disk-Info"
# Drive C is the first icon of the drive list, which starts below the 41-pixel button bar.
xdotool mousemove $((X + $(px 38))) $((Y + $(px 63))) click 1
sleep 1
# Away from the list, so that no tool tip covers the picture.
xdotool mousemove $((X + WIDTH + 20)) $((Y + HEIGHT + 20))
sleep 0.5
mkdir -p "$(dirname "$OUT")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$OUT"
echo "Wrote $OUT"

# The "i" button, fourth in the button bar.
xdotool mousemove $((X + $(px 124))) $((Y + $(px 20))) click 1
wait_for_window "Infos"
about_shot() {
  # New pixels reach the screen with the next input event.
  xdotool mousemove $((X + WIDTH + 20)) $((Y + HEIGHT + 20)) mousemove $((X + WIDTH + 21)) $((Y + HEIGHT + 20))
  sleep 0.5
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$ROOT/docs/$1"
  echo "Wrote docs/$1"
}
about_shot about-icon.png
# PageDown: the "System" page; its figures come with the timer's next tick.
xdotool key Next
sleep 2
about_shot about-system.png
xdotool key Next
sleep 1
about_shot about-info.png
xdotool key Escape
sleep 1

# F1 in the main window: the help window.
wait_for_window "Quelix Disk-Info"
xdotool key F1
wait_for_window "Quelix Disk-Info.*Hilfe"
about_shot help-window.png
xdotool key Escape

sleep 1

# The same at 150 %: the main window with drive C, and the about dialog's "System" page.
wineserver -k 2>/dev/null || true
set_dpi 144
LC_ALL=de_DE.UTF-8 wine "$BUILD_DIR/Sandrivo.exe" >/dev/null 2>&1 &
wait_for_window "Quelix Disk-Info"
xdotool mousemove $((X + $(px 38))) $((Y + $(px 63))) click 1
sleep 1
about_shot main-window-150.png
xdotool mousemove $((X + $(px 124))) $((Y + $(px 20))) click 1
wait_for_window "Infos"
xdotool key Next
sleep 2
about_shot about-system-150.png
xdotool key Escape
