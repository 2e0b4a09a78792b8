#!/usr/bin/env bash
# Makes pictures of the window's own controls: every gauge style at 0, 25, 50, 75 and 100 % (the
# last column without border) in docs/gauge-styles.png, and the page scroller normal, pressed on its
# right half and disabled, eight times enlarged, in docs/scroller-looks.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
build "$BUILD_DIR" "$TOOLCHAIN_I686" ON -DSANDRIVO_EXTRAS=ON
make_prefix "$ROOT/.wine/run"
unset DISPLAY
start_display
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT

wine "$BUILD_DIR/tests/control_gallery.exe" >/dev/null 2>&1 &
wait_for_window "Control gallery"
mkdir -p "$ROOT/docs"
import -window root -crop "510x400+${X}+${Y}" +repage "$ROOT/docs/gauge-styles.png"
xdotool mousemove $((X + 40 + 18)) $((Y + 410 + 6)) mousedown 1
sleep 0.5
import -window root -crop "95x17+$((X + 8))+$((Y + 408))" +repage "$ROOT/docs/scroller-looks.png"
xdotool mouseup 1
convert "$ROOT/docs/scroller-looks.png" -scale 800% "$ROOT/docs/scroller-looks.png"
echo "Wrote docs/gauge-styles.png and docs/scroller-looks.png"
