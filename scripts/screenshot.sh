#!/usr/bin/env bash
# Makes the README's screenshots on an Xvfb display of its own, each window with its frame as a user
# sees it (Wine's virtual desktop draws the frames; each picture is cropped to its window): the main
# window with drive C selected (docs/main-window.png, or the file given), and the about dialog's icon
# page, its "System" page with figures and its first info page (docs/about-icon.png,
# docs/about-system.png, docs/about-info.png), and the help window (docs/help-window.png); then the
# main window and the about dialog's "System" page at 150 % scaling (docs/main-window-150.png,
# docs/about-system-150.png); last the main window, the about dialog and the help window with Windows'
# app mode dark (docs/main-window-dark.png, docs/about-icon-dark.png, docs/help-window-dark.png).
# Usage: scripts/screenshot.sh [output.png]
set -euo pipefail
source "$(dirname "$0")/common.sh"
OUT=${1:-$ROOT/docs/main-window.png}

install_packages "${PACKAGES[@]}" xdotool imagemagick
# German regional settings, to match the German texts of the windows, for every Wine process: the
# first one of a session sets them for the prefix.
wine() { env LC_ALL=de_DE.UTF-8 wine "$@"; }
build "$BUILD_DIR" "$TOOLCHAIN_I686" OFF
# Finds a window inside the virtual desktop, where X tools see only the desktop.
WINDOWRECT=$BUILD_DIR/windowrect.exe
i686-w64-mingw32-g++-posix -O1 -static -o "$WINDOWRECT" "$ROOT/scripts/tools/windowrect.cpp"
# A prefix of its own: every program of it runs in one virtual desktop.
make_prefix "$ROOT/.wine/screenshot"
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1200x900 /f >/dev/null
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
PERSONALIZE='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
light_mode() { wine reg delete "$PERSONALIZE" /v AppsUseLightTheme /f >/dev/null 2>&1 || true; }
trap 'set_dpi 96; light_mode; wineserver -k 2>/dev/null || true; stop_display' EXIT
# A length of the 96-dpi layout at the current DPI.
px() { echo $((($1 * DPI + 48) / 96)); }

# The program in the virtual desktop.
start_program() { start_in_desktop "$BUILD_DIR/Sandrivo.exe"; }
# Clicks at a point of the 96-dpi layout inside the client area of the window last found.
click_at() {
  xdotool mousemove $((CX + $(px "$1"))) $((CY + $(px "$2"))) click 1
}
shot() {
  # Away from the window, so that no tool tip covers the picture; new pixels reach the screen with
  # the next input event.
  xdotool mousemove $((DX + 2)) $((DY + 2)) mousemove $((DX + 3)) $((DY + 2))
  sleep 0.5
  mkdir -p "$(dirname "$1")"
  import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$1"
  echo "Wrote ${1#"$ROOT"/}"
}
# F1 in the main window: the help window, beside it.
help_shot() {
  find_window "Quelix Disk-Info"
  # Its caption first: the keys go to the active window.
  xdotool mousemove $((WX + WW / 2)) $((WY + 8)) click 1
  sleep 0.5
  xdotool key F1
  # (The title's dash is beyond the command line's ASCII: the title's start finds it.)
  find_window "Quelix Disk-Info *"
  shot "$1"
  xdotool key Escape
}

set_dpi 96
start_program
find_window "Quelix Disk-Info"
# Drive C is the first icon of the drive list, which starts below the 41-pixel button bar.
click_at 38 63
sleep 1
shot "$OUT"

# The "i" button, fourth in the button bar.
click_at 124 20
find_window "Infos"
shot "$ROOT/docs/about-icon.png"
# PageDown: the "System" page; its figures come with the timer's next tick.
xdotool key Next
sleep 2
shot "$ROOT/docs/about-system.png"
xdotool key Next
sleep 1
shot "$ROOT/docs/about-info.png"
xdotool key Escape
sleep 1

help_shot "$ROOT/docs/help-window.png"
sleep 1

# The same at 150 %: the main window with drive C, and the about dialog's "System" page.
set_dpi 144
start_program
find_window "Quelix Disk-Info"
click_at 38 63
sleep 1
shot "$ROOT/docs/main-window-150.png"
click_at 124 20
find_window "Infos"
xdotool key Next
sleep 2
shot "$ROOT/docs/about-system-150.png"
xdotool key Escape

# The app mode dark ("Choose your app mode: Dark"), at 96 dpi.
set_dpi 96
wine reg add "$PERSONALIZE" /v AppsUseLightTheme /t REG_DWORD /d 0 /f >/dev/null
start_program
find_window "Quelix Disk-Info"
click_at 38 63
sleep 1
shot "$ROOT/docs/main-window-dark.png"
click_at 124 20
find_window "Infos"
shot "$ROOT/docs/about-icon-dark.png"
xdotool key Escape
sleep 1
help_shot "$ROOT/docs/help-window-dark.png"
light_mode
