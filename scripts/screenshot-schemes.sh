#!/usr/bin/env bash
# Makes the screenshots of the schemes and scalings beyond the README's (scripts/screenshot.sh), each
# window with its frame as Wine's virtual desktop draws it:
#   docs/main-window-contrast-black.png, docs/about-contrast-black.png     High Contrast Black, 100 %
#   docs/main-window-contrast-white-150.png, docs/about-contrast-white-150.png
#                                                                          High Contrast White, 150 %
#   docs/main-window-dark-150.png, docs/about-icon-dark-150.png           dark, 150 %
#   docs/screen-150-1024x768.png      a 1024 x 768 screen at 150 %: the main window and F1's help
#                                     window beside it, both inside the screen (the whole screen)
# Wine cannot switch high contrast on: a test program's entry runs the program with that decision
# forced (app_tests' HighContrastProgram.DISABLED_RunsUntilClosed, the machine's drives and help), and
# the scheme's colours are set under HKCU\Control Panel\Colors before it starts, as Windows sets them.
# Builds the tests (in $BUILD_DIR, as scripts/test.sh does).
# Usage: scripts/screenshot-schemes.sh
set -euo pipefail
COLORS='HKCU\Control Panel\Colors'
COLOR_NAMES=(Window WindowText HotTrackingColor GrayText Hilight HilightText ButtonFace ButtonText InfoWindow InfoText)
default_colors() {
  for name in "${COLOR_NAMES[@]}"; do wine reg delete "$COLORS" /v "$name" /f >/dev/null 2>&1 || true; done
}
SHOTS_CLEANUP=default_colors
SHOTS_TESTS=ON
source "$(dirname "$0")/shots.sh"
APP_TESTS=$BUILD_DIR/tests/app_tests.exe

# Windows 10's high-contrast schemes, in the order of COLOR_NAMES: the colours their settings page
# names (text, hyperlinks, disabled text, selected text and its background, button text and its
# background, background), tool tips in the window's colours; as the tests set them.
contrast_colors() {
  local values
  case $1 in
    black) values=("0 0 0" "255 255 255" "255 255 0" "63 242 63" "26 235 255" "0 0 0" "0 0 0" "255 255 255"
                   "0 0 0" "255 255 255") ;;
    white) values=("255 255 255" "0 0 0" "0 0 159" "96 0 0" "55 0 110" "255 255 255" "255 255 255" "0 0 0"
                   "255 255 255" "0 0 0") ;;
  esac
  for i in "${!COLOR_NAMES[@]}"; do
    wine reg add "$COLORS" /v "${COLOR_NAMES[$i]}" /d "${values[$i]}" /f >/dev/null
  done
}
start_contrast() {
  start_program "$APP_TESTS" --gtest_also_run_disabled_tests --gtest_filter=HighContrastProgram.DISABLED_RunsUntilClosed
}
# The main window with drive C, then the about dialog (its "i" button, fourth in the button bar).
main_and_about() {
  find_window "Quelix Disk-Info"
  click_at 38 63
  sleep 1
  shot "$1"
  click_at 124 20
  find_window "Infos"
  shot "$2"
  xdotool key Escape
  sleep 1
}

set_dpi 96
contrast_colors black
start_contrast
main_and_about "$ROOT/docs/main-window-contrast-black.png" "$ROOT/docs/about-contrast-black.png"

set_dpi 144
contrast_colors white
start_contrast
main_and_about "$ROOT/docs/main-window-contrast-white-150.png" "$ROOT/docs/about-contrast-white-150.png"

set_dpi 144
default_colors
wine reg add "$PERSONALIZE" /v AppsUseLightTheme /t REG_DWORD /d 0 /f >/dev/null
start_program
main_and_about "$ROOT/docs/main-window-dark-150.png" "$ROOT/docs/about-icon-dark-150.png"
light_mode

# A small screen at 150 %: the help window would be taller than the screen.
desktop_size 1024x768
set_dpi 144
start_program
find_window "Quelix Disk-Info"
xdotool mousemove $((WX + WW / 2)) $((WY + 8)) click 1
sleep 0.5
xdotool key F1
find_window "Quelix Disk-Info *"
xdotool mousemove $((DX + 2)) $((DY + 2)) mousemove $((DX + 3)) $((DY + 2))
sleep 0.5
import -window root -crop "1024x768+${DX}+${DY}" +repage "$ROOT/docs/screen-150-1024x768.png"
echo "Wrote docs/screen-150-1024x768.png"
