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
OUT=${1:-$(cd "$(dirname "$0")/.." && pwd)/docs/main-window.png}
source "$(dirname "$0")/shots.sh"
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
