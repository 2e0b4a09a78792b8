#!/usr/bin/env bash
# Makes a picture of every gauge style at 0, 25, 50, 75 and 100 % (the last column without border).
# Usage: scripts/gauge-gallery.sh [output.png]   (default: docs/gauge-styles.png)
set -euo pipefail
source "$(dirname "$0")/common.sh"
OUT=${1:-$ROOT/docs/gauge-styles.png}

install_packages
build gauge_gallery
make_prefix "$ROOT/.wine/run"
unset DISPLAY
start_display
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT

wine "$BUILD_DIR/tests/gauge_gallery.exe" >/dev/null 2>&1 &
window=
for _ in $(seq 100); do
  window=$(xdotool search --name '^Gauge styles$' 2>/dev/null | tail -n 1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "the gallery did not appear" >&2; exit 1; }
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
mkdir -p "$(dirname "$OUT")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$OUT"
echo "Wrote $OUT"
