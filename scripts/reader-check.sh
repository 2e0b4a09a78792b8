#!/usr/bin/env bash
# What a screen reader hears of the program: a listener in a process of its own hooks the program's
# WinEvents out of context, as NVDA and Narrator do, and reads each event's object back through
# MSAA (scripts/tools/readerlog.cpp); the script works the program with the keyboard and the mouse
# (xdotool) on an Xvfb display of its own, in a prefix of its own (.wine/reader), German settings.
#
#   1. a click on drive C:, Tab into the table, two rows down (an empty volume name reads "leer");
#   2. the main window's object tree, as object navigation walks it;
#   3. Ctrl+I: the about dialog and its object tree; PageDown twice, Escape;
#   4. a drive that answers late: the prefix's mount manager is stopped (every drive then hangs),
#      C: is clicked again and the mark put on its "Status" row, then the manager goes on.
#
# Writes the listener's log, with a line before each step, to docs/reader-log.txt (or the file given).
# Usage: scripts/reader-check.sh [log.txt]
set -euo pipefail
source "$(dirname "$0")/common.sh"
OUT=${1:-$ROOT/docs/reader-log.txt}

install_packages "${PACKAGES[@]}" xdotool
wine() { env LC_ALL=de_DE.UTF-8 wine "$@"; }
build "$BUILD_DIR" "$TOOLCHAIN_I686" OFF
TOOLS=$BUILD_DIR/reader-tools
mkdir -p "$TOOLS"
i686-w64-mingw32-g++-posix -std=c++20 -O1 -Wall -Wextra -Werror -municode -static -o "$TOOLS/readerlog.exe" \
  "$ROOT/scripts/tools/readerlog.cpp" -loleacc -lole32 -loleaut32 -luuid
i686-w64-mingw32-g++-posix -O1 -static -o "$TOOLS/windowrect.exe" "$ROOT/scripts/tools/windowrect.cpp"

make_prefix "$ROOT/.wine/reader"
# Unmanaged windows, as in the tests.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
unset DISPLAY
SCREEN_SIZE=1280x1024x24 start_display
DEVICES=
cleanup() {
  # A stopped mount manager first, or Wine's server waits on it.
  [ -n "$DEVICES" ] && kill -CONT $DEVICES 2>/dev/null
  wineserver -k 2>/dev/null || true
  stop_display
}
trap cleanup EXIT
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -p
LC_ALL=C.UTF-8 wine cmd /c exit >/dev/null 2>&1 </dev/null

RAW=$(mktemp)
step() {
  echo "--- $*" >>"$RAW"
  echo "$*"
}
: >"$RAW"
wine "$BUILD_DIR/Sandrivo.exe" >/dev/null 2>&1 &
wine "$TOOLS/readerlog.exe" listen TkForm 'Quelix Disk-Info' >>"$RAW" 2>&1 &
LISTENER=$!
# The client area's corner on the screen: CX, CY.
read -r _ _ _ _ CX CY < <(wine "$TOOLS/windowrect.exe" "Quelix Disk-Info" | tr -d '\r')
# A fresh server answers its first volume query after about ten seconds: the drives are listed then.
sleep 12
click_at() { xdotool mousemove $((CX + $1)) $((CY + $2)) click 1; }

step "A click on drive C:, the first in the list"
click_at 38 63
sleep 2
step "Tab into the table, then Down twice"
xdotool key Tab
sleep 1
xdotool key Down Down
sleep 1
step "The main window's object tree"
wine "$TOOLS/readerlog.exe" tree TkForm 'Quelix Disk-Info' >>"$RAW" 2>&1

step "Ctrl+I: the about dialog"
xdotool key ctrl+i
sleep 2
step "The about dialog's object tree"
wine "$TOOLS/readerlog.exe" tree TkForm Infos >>"$RAW" 2>&1
step "PageDown: the System page"
xdotool key Next
sleep 2
step "PageDown: the first note"
xdotool key Next
sleep 1
step "Escape"
xdotool key Escape
sleep 1

# The mount manager of this prefix alone: other prefixes on the machine have their own.
for pid in $(pgrep -f 'winedevice.exe' || true); do
  if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
    DEVICES="$DEVICES $pid"
  fi
done
[ -n "$DEVICES" ] || { echo "reader-check: no mount manager of $WINEPREFIX found" >&2; exit 1; }
step "Every drive hangs (the mount manager stopped); a click on C: again"
kill -STOP $DEVICES
click_at 38 63
sleep 1
step "Tab into the table, the mark on the Status row's value"
xdotool key Tab
sleep 0.5
xdotool key Down Down Right
sleep 2
step "The drives answer again"
kill -CONT $DEVICES
DEVICES=
sleep 4
step "Alt+F4"
xdotool key alt+F4
wait "$LISTENER" 2>/dev/null || true
mkdir -p "$(dirname "$OUT")"
tr -d '\r' <"$RAW" >"$OUT"
rm -f "$RAW"
echo "Wrote ${OUT#"$ROOT"/}"
