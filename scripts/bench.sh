#!/usr/bin/env bash
# Builds the 32-bit release with its benchmarks and runs every benchmark under Wine on an Xvfb
# display of its own, then prints one table: each figure as a ratio against a baseline measured in
# the same run (median of the rounds, with their minimum and maximum), and the size budgets.
#
#   scripts/bench.sh [rounds]      (default 21, for every benchmark)
set -euo pipefail
source "$(dirname "$0")/common.sh"
ROUNDS=${1:-21}

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
# Starts the prefix's server (and, with the first program, Wine's services) on the processors given
# as $1. Programs inherit the processors of whoever starts them.
start_server() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  PROCESSORS=$1
  taskset -c "$PROCESSORS" wineserver -p
  # Wine's services start with the first program; the first volume query waits for them.
  taskset -c "$PROCESSORS" wine cmd /c vol c: >/dev/null 2>&1 </dev/null || true
}

results=$(mktemp)
run() {
  echo "running $1" >&2
  (cd "$BUILD_DIR/bench" && taskset -c "$PROCESSORS" wine "./$1.exe" "${@:2}") | tee >(cat >&2) |
    grep '^RESULT|' >>"$results"
}
start_server "$(awk '/^Cpus_allowed_list/ {print $2}' /proc/self/status)"
run probe_bench "$ROUNDS"
run gauge_bench "$ROUNDS"
run report_bench "$ROUNDS"
run about_bench 7
# Under Wine every system call is a round trip to the server process. Spread over processors, each
# may have to wake the server on another one, at a cost the host sets (in some virtual machines
# 60 us instead of 4, in whole starts at a time), and a program that makes a dozen windows pays it
# some hundred times more often than the bare one: the start on all processors is printed as a
# fact. The start-up goal is measured with the session on one processor, where a system call is a
# switch on the same processor, as a kernel call is on Windows. (The goals with threads of the
# program's own are measured on all processors: on one, each hand-over waits for a time slice.)
run startup_bench "$ROUNDS"
start_server "$(awk '/^Cpus_allowed_list/ {split($2, cpu, /[-,]/); print cpu[1]}' /proc/self/status)"
run startup_bench "$ROUNDS"

# The budgets as the size tests hold them (tests/CMakeLists.txt, "foreach(budget Name:KB ...)").
size_row() {
  local name=$1 budget bytes
  budget=$(grep -o "${name}:[0-9]*" "$ROOT/tests/CMakeLists.txt" | head -n 1 | cut -d: -f2)
  bytes=$(stat -c %s "$BUILD_DIR/$name.exe")
  printf 'SIZE|%s|%d|%d\n' "$name.exe" "$bytes" "$budget" >>"$results"
}
size_row Sandrivo
size_row sandrivo-report

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
