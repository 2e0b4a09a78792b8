#!/usr/bin/env bash
# Builds the 32-bit release with its benchmarks and runs every benchmark under Wine on an Xvfb
# display of its own, then prints one table: each figure as a ratio against a baseline measured in
# the same run (median of the rounds, with their minimum and maximum), and the size budgets.
#
#   scripts/bench.sh [rounds]      (default 15; start-up uses them too)
set -euo pipefail
source "$(dirname "$0")/common.sh"
ROUNDS=${1:-15}

install_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
build "$BUILD_DIR" "$TOOLCHAIN_I686" ON -DSANDRIVO_EXTRAS=ON >/dev/null

unset DISPLAY
start_display
cleanup() {
  wineserver -k 2>/dev/null || true
  stop_display
}
trap cleanup EXIT

make_prefix "$ROOT/.wine/bench" win32
if [ ! -f "$WINEPREFIX/.sandrivo-bench-prefix" ]; then
  # Unmanaged windows: no wait for a window manager when a started program closes.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  touch "$WINEPREFIX/.sandrivo-bench-prefix"
fi
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -p
# Wine's services start with the first program; the first volume query waits for them.
wine cmd /c vol c: >/dev/null 2>&1 </dev/null || true

results=$(mktemp)
run() {
  echo "running $1" >&2
  (cd "$BUILD_DIR/bench" && wine "./$1.exe" "${@:2}") | tee /dev/stderr | grep '^RESULT|' >>"$results"
}
run probe_bench "$ROUNDS"
run gauge_bench "$ROUNDS"
run report_bench "$ROUNDS"
run startup_bench "$ROUNDS"

size_row() {
  local file=$1 budget=$2 bytes
  bytes=$(stat -c %s "$file")
  printf 'SIZE|%s|%d|%d\n' "$(basename "$file")" "$bytes" "$budget" >>"$results"
}
size_row "$BUILD_DIR/Sandrivo.exe" 340
size_row "$BUILD_DIR/sandrivo-report.exe" 250

echo
awk -F'|' '
  BEGIN {
    printf "| %-42s | %-40s | %-24s | %-8s | %-4s |\n", "Figure", "Baseline (same run)", "Ratio: median (min-max)", "Goal", "Met"
    printf "|%s|%s|%s|%s|%s|\n", "--------------------------------------------", "------------------------------------------", "--------------------------", "----------", "------"
  }
  $1 == "RESULT" && $8 + 0 <= 0 {
    printf "| %-42s | %-40s | %5.2f (%.2f-%.2f), %2d r. | %-8s | %-4s |\n", $2, $3, $4, $5, $6, $7, "-", "-"
  }
  $1 == "RESULT" && $8 + 0 > 0 {
    met = ($4 + 0 <= $8 + 0) ? "yes" : "NO"
    printf "| %-42s | %-40s | %5.2f (%.2f-%.2f), %2d r. | <= %-5g | %-4s |\n", $2, $3, $4, $5, $6, $7, $8, met
  }
  $1 == "SIZE" {
    kb = $3 / 1024
    met = (kb <= $4) ? "yes" : "NO"
    printf "| %-42s | %-40s | %-24s | <= %-5s | %-4s |\n", $2 " (i686 release)", "-", sprintf("%.1f KB", kb), $4 " KB", met
  }' "$results"
rm -f "$results"
