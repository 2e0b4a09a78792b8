#!/usr/bin/env bash
# Measures the main window against a network drive that really stalls: a FUSE file system
# (scripts/tools/stallfs.py) mapped to N: as a network drive, in a Wine prefix of its own
# (.wine/stall) on an Xvfb display of its own. Beside the program runs a bare window, measured the
# same way, so that what Wine itself does is not blamed on the program.
#
# (a) the program starts while N: stalls: when does its window exist, show and answer;
# (b) N: stalls while it runs: click C:, then N:, read the table (as a screen reader does); hold
#     Enter on N:;
# (c) the stall ends: does N:'s answer come, and is the table N:'s;
# (d) a drive comes and goes: a new dosdevices link K: and the device message, then both gone: is
#     K: in the list within a second, and out of it again.
# A pinger sends each window WM_NULL every 25 ms from before the stall; the threads and memory of
# both processes are read from /proc every 250 ms. Prints a table of figures and the goals; exits
# 0 when every goal is met, 1 when one is missed, 2 when the check itself failed. Skips (exit 0,
# with a message) where FUSE is missing.
#
# Wine and a stalled drive: Wine's server reads a drive's file-system figures when a handle on it
# is opened and no other handle on that drive is open; while the drive stalls that freezes the
# server and every Wine process with it. A helper keeps a handle on N:\ open from before the stall,
# so that only the threads that ask the drive wait, as on Windows. All helpers start before the
# stall too: a Wine process that starts while a drive stalls may wait for it in Wine's own start.
#
# Settings (environment):
#   SANDRIVO_STALL_EXE    the program to measure (default: built here, 32-bit, in build-stall/)
#   SANDRIVO_STALL_HOLD   seconds that Enter is held on N: (default 30)
#   SANDRIVO_STALL_MODE   share (default): new handles open and access checks answer during the
#                         stall and names and attributes stay cached (as a client's cache answers
#                         for a dead server); the free-space query, listings, lookups and reads
#                         wait. full: every request waits, the attributes of the drive's root too
#                         (after libfuse's one second); then Wine itself waits on N: when a process
#                         starts and when any drive's volume is asked (C: too), which no program can
#                         avoid: for comparison only.
#   SANDRIVO_STALL_LIMIT  seconds after which the whole check gives up (default 600)
set -euo pipefail
source "$(dirname "$0")/common.sh"

HOLD=${SANDRIVO_STALL_HOLD:-30}
MODE=${SANDRIVO_STALL_MODE:-share}
LIMIT=${SANDRIVO_STALL_LIMIT:-600}
FORM_CLASS=TkForm
FORM_TITLE="Quelix Disk-Info"
BARE_TITLE="Stall-Check Bare"
# Goals.
START_GOAL_MS=3000
LATENCY_GOAL_MS=100
THREAD_GOAL=5

RUN=$ROOT/.wine/stall-run
MNT=$ROOT/.wine/stall-mnt
CONTROL=$RUN/stall
PYTHON=/usr/bin/python3

skip() {
  echo "stall-check: skipped: $*"
  exit 0
}

case "$MODE" in
  share) FS_OPTIONS=(--attr-cache 3600 --answer opendir,access) ;;
  full) FS_OPTIONS=() ;;
  *) echo "SANDRIVO_STALL_MODE is share or full" >&2; exit 2 ;;
esac
[ -c /dev/fuse ] || skip "no /dev/fuse on this machine (FUSE is needed for a drive that stalls)"

install_packages "${PACKAGES[@]}" xdotool python3-fusepy fuse3
if [ -n "${SANDRIVO_STALL_EXE:-}" ]; then
  EXE=$(realpath "$SANDRIVO_STALL_EXE")
else
  build "$ROOT/build-stall" "$TOOLCHAIN_I686" OFF
  EXE=$ROOT/build-stall/Sandrivo.exe
fi
PROBE=$ROOT/build-stall/stallprobe.exe
mkdir -p "$ROOT/build-stall"
i686-w64-mingw32-g++-posix -std=c++20 -O1 -Wall -Wextra -Werror -municode -static -o "$PROBE" \
  "$ROOT/scripts/tools/stallprobe.cpp" -loleacc -lole32 -loleaut32 -luuid -lcomctl32

now() { echo $((${EPOCHREALTIME/./} / 1000)); }
sleep_until() {
  local left=$(($1 - $(now)))
  [ $left -gt 0 ] && sleep "$((left / 1000)).$(printf %03d $((left % 1000)))"
  return 0
}
log() { echo "[$(date +%T)] $*"; }

# Everything this run started, ended on every way out.
FS_PID= SAMPLER_PID= WATCHDOG_PID= APP_PID=
cleanup() {
  local status=$?
  trap - EXIT INT TERM
  # Every step, whatever the one before it did.
  set +e
  # The stall first: whatever waits on the drive goes on, Wine's server too.
  rm -f "$CONTROL"
  { exec 7>&-; } 2>/dev/null || true
  [ -n "$SAMPLER_PID" ] && kill "$SAMPLER_PID" 2>/dev/null
  if [ -n "$WATCHDOG_PID" ]; then
    # Its sleep too.
    pkill -P "$WATCHDOG_PID" 2>/dev/null
    kill "$WATCHDOG_PID" 2>/dev/null
  fi
  if ! timeout -s KILL 20 wineserver -k 2>/dev/null; then
    # A server that does not answer waits on the drive: ending the file system fails its requests.
    [ -n "$FS_PID" ] && kill -KILL "$FS_PID" 2>/dev/null
    timeout -s KILL 20 wineserver -k 2>/dev/null || true
  fi
  if grep -q " $MNT fuse" /proc/mounts; then
    fusermount3 -u -z "$MNT" 2>/dev/null || umount -l "$MNT" 2>/dev/null || true
  fi
  if [ -n "$FS_PID" ]; then
    kill "$FS_PID" 2>/dev/null
    timeout 10 tail --pid="$FS_PID" -f /dev/null 2>/dev/null || kill -KILL "$FS_PID" 2>/dev/null
  fi
  stop_display
  exit $status
}
trap cleanup EXIT
trap '[ -f "$RUN/gave-up" ] && echo "stall-check: gave up after $LIMIT s" >&2; exit 2' INT TERM

# --- The prefix, the drive and the display ---------------------------------------------------------
make_prefix "$ROOT/.wine/stall" win32
if [ ! -f "$WINEPREFIX/.sandrivo-stall-prefix" ]; then
  # Unmanaged windows, as in the tests: no window manager to wait for.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f /reg:32 >/dev/null
  wineserver -w
  touch "$WINEPREFIX/.sandrivo-stall-prefix"
fi
ln -sfn "$MNT" "$WINEPREFIX/dosdevices/n:"
rm -f "$WINEPREFIX/dosdevices/k:"  # left by a run that ended early
timeout -s KILL 20 wineserver -k 2>/dev/null || true
# A mount left by a run that was killed outright.
grep -q " $MNT fuse" /proc/mounts && { fusermount3 -u -z "$MNT" 2>/dev/null || umount -l "$MNT"; }
rm -rf "$RUN"
mkdir -p "$RUN" "$MNT"

# (Quiet: the shell reports the end of its sleep when cleanup ends it.)
( sleep "$LIMIT" && touch "$RUN/gave-up" && kill -TERM $$ ) 2>/dev/null &
WATCHDOG_PID=$!
disown

unset DISPLAY
SCREEN_SIZE=1280x1024x24 start_display

"$PYTHON" "$ROOT/scripts/tools/stallfs.py" "${FS_OPTIONS[@]}" "$MNT" "$CONTROL" >"$RUN/fs.log" 2>&1 &
FS_PID=$!
for _ in $(seq 50); do grep -q " $MNT fuse" /proc/mounts && break; sleep 0.1; done
grep -q " $MNT fuse" /proc/mounts || skip "FUSE cannot mount here: $(tail -n 1 "$RUN/fs.log")"

stall() {
  touch "$CONTROL"
  log "N: stalls"
}
release() {
  rm -f "$CONTROL"
  log "N: answers again"
}

# --- Wine and the helpers, all started before any stall ------------------------------------------
# (A Wine process that starts while N: stalls may wait for it in Wine's own start-up.)
wineserver -p
LC_ALL=C.UTF-8 wine cmd /c exit >/dev/null 2>&1 </dev/null
wine "$PROBE" hold 'N:\' >"$RUN/hold.log" 2>&1 &
wine "$PROBE" bare "$BARE_TITLE" >/dev/null 2>&1 &
BARE_PID=$!
wine "$PROBE" ping StallProbeBare "$BARE_TITLE" 25 >"$RUN/ping-bare.log" 2>&1 &
wine "$PROBE" ping "$FORM_CLASS" "$FORM_TITLE" 25 >"$RUN/ping-main.log" 2>&1 &
mkfifo "$RUN/agent.in"
wine "$PROBE" agent "$FORM_CLASS" "$FORM_TITLE" <"$RUN/agent.in" >"$RUN/agent.log" 2>&1 &
exec 7>"$RUN/agent.in"
for _ in $(seq 100); do grep -q held "$RUN/hold.log" 2>/dev/null && break; sleep 0.1; done
grep -q held "$RUN/hold.log" || { echo "stall-check: N:\\ did not open: $(cat "$RUN/hold.log")" >&2; exit 2; }

# Threads and resident memory of the program and the bare window, every 250 ms:
# "<ms> main|bare <threads> <kB>".
sample() {
  local pid=$1 who=$2 key value rest threads= rss=
  [ -n "$pid" ] && [ -r "/proc/$pid/status" ] || return 0
  while read -r key value rest; do
    case $key in
      Threads:) threads=$value ;;
      VmRSS:) rss=$value ;;
    esac
  done <"/proc/$pid/status" 2>/dev/null || return 0
  # A read cut short (seen once: no Threads line) gives no sample rather than a shifted one.
  [ -n "$threads" ] && [ -n "$rss" ] || return 0
  echo "$(now) $who $threads $rss"
}
(
  while :; do
    sample "$(cat "$RUN/app.pid" 2>/dev/null)" main
    sample "$BARE_PID" bare
    sleep 0.25
  done
) >"$RUN/samples.log" 2>/dev/null &
SAMPLER_PID=$!
disown

# Asks the agent; its answer's lines in AGENT_LINES, its status (ok, failed, timeout) in AGENT_STATUS.
agent() {
  local ends
  ends=$(grep -c '^end ' "$RUN/agent.log" || true)
  echo "$1" >&7
  for _ in $(seq 100); do
    [ "$(grep -c '^end ' "$RUN/agent.log" || true)" -gt "$ends" ] && break
    sleep 0.05
  done
  AGENT_LINES=$(awk -v n="$ends" '/^end /{ seen++; next } seen == n' "$RUN/agent.log")
  read -r AGENT_STATUS AGENT_MS < <(awk -v n="$ends" '/^end /{ if (++seen == n + 1) print $2, $3 }' "$RUN/agent.log") ||
    true
  AGENT_STATUS=${AGENT_STATUS:-none}
}
# The letter the table shows ("Laufwerksbuchstabe: C"), "-" for an empty table, "?" when the
# table could not be read.
table_letter() {
  TABLE_ROWS=0
  agent table
  echo "$(now) $AGENT_STATUS ${AGENT_MS:-}" >>"$RUN/reads.log"
  if [ "$AGENT_STATUS" != ok ]; then
    TABLE_LETTER="?"
    return
  fi
  TABLE_LETTER=$(sed -n 's/^row Laufwerksbuchstabe: \(.\).*/\1/p' <<<"$AGENT_LINES" | head -n 1)
  TABLE_LETTER=${TABLE_LETTER:--}
  TABLE_ROWS=$(grep -c '^row .' <<<"$AGENT_LINES" || true)
}
# Waits up to $2 seconds for the table to show drive $1, with at least $3 rows (1 without it: a
# drive that is asked shows its letter before its figures); TABLE_MS how long it took.
wait_table() {
  local start rows=${3:-1}
  start=$(now)
  while :; do
    table_letter
    { [ "$TABLE_LETTER" = "$1" ] && [ "$TABLE_ROWS" -ge "$rows" ]; } ||
      [ $(($(now) - start)) -ge $(($2 * 1000)) ] && break
    sleep 0.25
  done
  TABLE_MS=$(($(now) - start))
  [ "$TABLE_LETTER" = "$1" ] && [ "$TABLE_ROWS" -ge "$rows" ]
}
# Screen centres of the drive items: ITEM_X[C], ITEM_Y[C].
declare -A ITEM_X ITEM_Y
read_items() {
  agent items
  while IFS=$'\t' read -r _ caption x y; do
    ITEM_X[${caption:0:1}]=$x
    ITEM_Y[${caption:0:1}]=$y
  done < <(sed -n 's/^item //p' <<<"$AGENT_LINES")
}
click() {
  xdotool mousemove "${ITEM_X[$1]}" "${ITEM_Y[$1]}" click 1
}

# Starts the program: APP_PID, LAUNCHED.
launch() {
  LAUNCHED=$(now)
  wine "$EXE" >/dev/null 2>&1 &
  APP_PID=$!
  echo "$APP_PID" >"$RUN/app.pid"
}
# The first answered ping to a visible window after $1: ANSWERED (ms, empty for none yet).
answered_since() {
  ANSWERED=$(awk -v since="$1" '
    $1 == "window" && $2 >= since { found = 1; visible = $3 }
    $1 == "visible" && found { visible = 1 }
    $1 == "ping" && found && $4 == 1 && visible && $2 >= since { printf "%.0f\n", $2 + $3; exit }
  ' "$RUN/ping-main.log")
}
wait_answered() {
  for _ in $(seq $(($2 * 10))); do
    answered_since "$1"
    [ -n "$ANSWERED" ] && return 0
    sleep 0.1
  done
  return 1
}
close_program() {
  agent close
  timeout 10 tail --pid="$APP_PID" -f /dev/null 2>/dev/null || kill -KILL "$APP_PID" 2>/dev/null || true
  rm -f "$RUN/app.pid"
  APP_PID=
  sleep 0.5
}

# Figures over a span: pings (count, worst wait, 99th percentile, over the goal, timed out) of the
# window ($1: main or bare) between $2 and $3 ms, and its threads and memory (start, max, end). The
# worst wait is the longest time without an answer, from the span's start: pings that timed out
# add up, and so does a silence of the pinger itself (a Wine server that does not answer holds up
# the pinger too).
figures() {
  local who=$1 from=$2 to=$3 p99
  p99=$(awk -v from="$from" -v to="$to" '$1 == "ping" && $2 >= from && $2 <= to { print $3 }' "$RUN/ping-$who.log" |
    sort -n | awk '{ lat[NR] = $1 } END { i = int(NR * 0.99); if (i < 1) i = 1; if (NR) print lat[i]; else print "-" }')
  awk -v from="$from" -v to="$to" -v goal="$LATENCY_GOAL_MS" -v p99="$p99" '
    BEGIN { answered = from }
    $1 == "ping" && $2 >= from && $2 <= to {
      n++; if ($3 > goal) over++
      if ($4 == 0) { lost++; next }
      if ($3 > worst) worst = $3
      if ($2 + $3 - answered - 25 > worst) worst = $2 + $3 - answered - 25
      answered = $2 + $3
    }
    END {
      if (to - answered - 25 > worst) worst = to - answered - 25
      if (!n) { printf "%6d %8.0f %7s %6s %5s", 0, worst, "-", "-", "-"; exit }
      printf "%6d %8.0f %7s %6d %5d", n, worst, p99, over, lost
    }' "$RUN/ping-$who.log"
  awk -v from="$from" -v to="$to" -v who="$who" '
    $2 == who && $1 >= from && $1 <= to {
      if (!n++) { t0 = $3; r0 = $4 } if ($3 > tmax) tmax = $3; if ($4 > rmax) rmax = $4; t1 = $3; r1 = $4
    }
    END {
      if (!n) { printf "   %-13s %-15s\n", "-", "-"; exit }
      printf "   %-13s %-15s\n", t0 "/" tmax "/" t1, sprintf("%.0f/%.0f/%.0f", r0 / 1024, rmax / 1024, r1 / 1024)
    }' "$RUN/samples.log"
}
# The worst wait of a window over a span, for the goals.
worst_wait() {
  figures "$1" "$2" "$3" | awk '{ print $2 }'
}
# The table reads (through the screen reader's interface, whose calls reach the window as posted
# messages, behind any input still queued) over a span.
reads() {
  awk -v from="$1" -v to="$2" '$1 >= from && $1 <= to { n++; if ($2 == "ok") { if ($3 > m) m = $3 } else lost++ }
    END { printf "table reads while N: stalls: %d, slowest answered %d ms, %d not answered within 3 s\n", n, m, lost }' \
    "$RUN/reads.log"
}
max_threads() {
  awk -v from="$2" -v to="$3" -v who="$1" '$2 == who && $1 >= from && $1 <= to && $3 > m { m = $3 } END { print m + 0 }' \
    "$RUN/samples.log"
}
threads_at() {
  awk -v at="$2" -v who="$1" '$2 == who && $1 <= at { t = $3 } END { print t + 0 }' "$RUN/samples.log"
}

declare -a PHASES
phase() { PHASES+=("$1|$2|$3"); }
declare -a NOTES GOALS
note() { NOTES+=("$*"); }
FAILED=0
goal() {
  local met=$1 text=$2
  if [ "$met" = 1 ]; then GOALS+=("[met]    $text"); else GOALS+=("[MISSED] $text"); FAILED=1; fi
}

# --- (a) Start while N: stalls ----------------------------------------------------------------------
log "(a) start with N: stalled"
stall
sleep 1
launch
A_STALLED=$LAUNCHED
A_AFTER=
if wait_answered "$LAUNCHED" 15; then
  A_ANSWER=$((ANSWERED - LAUNCHED))
  A_AFTER=$ANSWERED
  note "(a) window answers ${A_ANSWER} ms after the start, N: stalled"
  # The window while N: still stalls, after it answered first.
  sleep 5
  A_RELEASED=$(now)
  release
else
  A_RELEASED=$(now)
  release
  if wait_answered "$LAUNCHED" 30; then
    A_ANSWER=$((ANSWERED - LAUNCHED))
    note "(a) window answers only when N: answers: ${A_ANSWER} ms after the start, $((ANSWERED - A_RELEASED)) ms after the stall ended"
  else
    A_ANSWER=
    note "(a) window did not answer within 30 s after the stall ended"
  fi
fi
phase "(a) start, N: stalled" "$A_STALLED" "$A_RELEASED"
[ -n "$A_AFTER" ] && phase "(a) after start, N: stalled" "$A_AFTER" "$A_RELEASED"
goal $([ -n "$A_ANSWER" ] && [ "$A_ANSWER" -le $START_GOAL_MS ] && echo 1 || echo 0) \
  "answers within $((START_GOAL_MS / 1000)) s of a start with N: stalled: ${A_ANSWER:-none} ms"
if [ -n "$A_ANSWER" ]; then
  sleep 2
  read_items
  note "(a) drive list after the stall: $(sed -n 's/^item [0-9]*\t\([^\t]*\).*/\1/p' <<<"$AGENT_LINES" | paste -sd, -)"
  close_program
else
  kill -KILL "$APP_PID" 2>/dev/null || true
  rm -f "$RUN/app.pid"
fi

# --- (b) N: stalls while the program runs -----------------------------------------------------------
log "(b) N: stalls while the program runs"
launch
wait_answered "$LAUNCHED" 20 || { echo "stall-check: the program did not start" >&2; exit 2; }
sleep 1
read_items
[ -n "${ITEM_X[C]:-}" ] && [ -n "${ITEM_X[N]:-}" ] || { echo "stall-check: no items C: and N: in the drive list" >&2; exit 2; }
click C
wait_table C 5 || { echo "stall-check: the table does not show C: (it shows $TABLE_LETTER)" >&2; exit 2; }
click N
wait_table N 5 16 || { echo "stall-check: the table does not show N:'s 16 rows before the stall ($TABLE_LETTER, $TABLE_ROWS rows)" >&2; exit 2; }
N_ROWS=$TABLE_ROWS
sleep 1
B_STALLED=$(now)
B_THREADS=$(threads_at main "$B_STALLED")
stall
sleep 1
click C
if wait_table C 5; then
  note "(b) C: clicked while N: stalls: the table shows C: after ${TABLE_MS} ms"
else
  note "(b) C: clicked while N: stalls: the table still shows $TABLE_LETTER after ${TABLE_MS} ms"
fi
# While N: is asked, the table shows N: or nothing, never another drive.
declare -A SHOWN=()
OTHER=
shown() {
  table_letter
  SHOWN[$TABLE_LETTER]=$((${SHOWN[$TABLE_LETTER]:-0} + 1))
  case $TABLE_LETTER in N | - | "?") ;; *) OTHER=$TABLE_LETTER ;; esac
}
click N
CLICKED_N=$(now)
while [ $(($(now) - CLICKED_N)) -lt 4000 ]; do
  sleep 0.5
  shown
done
agent focus
FOCUS=$(sed -n 's/^focus //p' <<<"$AGENT_LINES")
ENTER_FROM=$(now)
log "(b) Enter held on N: for $HOLD s (focus: ${FOCUS:-none})"
xdotool keydown Return
# The table is read about every two seconds; a read that the window does not answer takes three.
while [ $(($(now) - ENTER_FROM)) -lt $((HOLD * 1000 - 2000)) ]; do
  sleep 2
  shown
done
sleep_until $((ENTER_FROM + HOLD * 1000))
xdotool keyup Return
sleep 2
shown
B_RELEASED=$(now)
# Presses still queued when the key goes up are handled after it.
ENTER_MAX=$(max_threads main "$ENTER_FROM" "$B_RELEASED")
phase "(b) stalled: clicks, Enter held" "$B_STALLED" "$B_RELEASED"
note "(b) table while N: was asked: $(for k in "${!SHOWN[@]}"; do printf '%s %sx, ' "$k" "${SHOWN[$k]}"; done)(- empty, ? not read)"
note "(b) $(reads "$B_STALLED" "$B_RELEASED")"

# --- (c) The stall ends -----------------------------------------------------------------------------
log "(c) N: answers again"
release
C_RELEASED=$(now)
if wait_table N 30 "$N_ROWS"; then
  C_ANSWER=$TABLE_MS
  note "(c) table shows N:'s $TABLE_ROWS rows ${C_ANSWER} ms after the stall ended"
else
  C_ANSWER=
  note "(c) table shows $TABLE_LETTER ($TABLE_ROWS rows) 30 s after the stall ended, not N:'s $N_ROWS rows"
fi
sleep 5
C_END=$(now)
phase "(c) released" "$C_RELEASED" "$C_END"
note "(c) threads 5 s after the stall ended: $(threads_at main "$C_END") (before the stall: $B_THREADS)"

# --- (d) A drive comes and goes ---------------------------------------------------------------------
# Milliseconds until the drive list has (1) or lacks (0) K:, at most two seconds; empty when never.
wait_listed() {
  local start
  start=$(now)
  while [ $(($(now) - start)) -lt 2000 ]; do
    agent items
    if [ "$(grep -c $'^item [0-9]*\tK:' <<<"$AGENT_LINES" || true)" = "$1" ]; then
      echo $(($(now) - start))
      return
    fi
    sleep 0.1
  done
}
log "(d) K: comes and goes"
mkdir -p "$RUN/k-drive"
ln -sfn "$RUN/k-drive" "$WINEPREFIX/dosdevices/k:"
agent "device arrive K"
D_ARRIVED=$(wait_listed 1)
rm -f "$WINEPREFIX/dosdevices/k:"
agent "device remove K"
D_REMOVED=$(wait_listed 0)
close_program

# --- Goals and figures ------------------------------------------------------------------------------
B_WORST=$(worst_wait main "$B_STALLED" "$B_RELEASED")
BARE_WORST=$(worst_wait bare "$B_STALLED" "$B_RELEASED")
WORST=$B_WORST
for p in "${PHASES[@]}"; do
  IFS='|' read -r name from to <<<"$p"
  [[ $name == "(a) after start"* ]] && w=$(worst_wait main "$from" "$to") && [ "${w%.*}" -gt "${WORST%.*}" ] && WORST=$w
done
wine_too=
[ "${BARE_WORST%.*}" -gt $LATENCY_GOAL_MS ] && wine_too=" (the bare window waited too: ${BARE_WORST} ms, Wine's own)"
goal $([ "${WORST%.*}" -le $LATENCY_GOAL_MS ] && echo 1 || echo 0) \
  "answers every message within $LATENCY_GOAL_MS ms while N: stalls (after start): worst ${WORST} ms$wine_too"
goal $([ "$ENTER_MAX" -le $((B_THREADS + THREAD_GOAL)) ] && echo 1 || echo 0) \
  "threads flat while Enter is held (at most +$THREAD_GOAL): $B_THREADS before the stall, at most $ENTER_MAX"
if [ -n "$OTHER" ]; then
  goal 0 "table never shows another drive while N: is asked: showed $OTHER:"
elif [ $((${SHOWN[N]:-0} + ${SHOWN[-]:-0})) = 0 ]; then
  goal 0 "table never shows another drive while N: is asked: the table could not be read"
else
  goal 1 "table never shows another drive while N: is asked: N: or empty only"
fi
UNREAD=$(awk -v from="$B_STALLED" -v to="$B_RELEASED" '$1 >= from && $1 <= to && $2 != "ok" { n++ } END { print n + 0 }' \
  "$RUN/reads.log")
goal $([ "$UNREAD" = 0 ] && echo 1 || echo 0) \
  "a screen reader reads the table while N: stalls (its calls queue behind input): $UNREAD reads not answered within 3 s"
goal $([ -n "$C_ANSWER" ] && echo 1 || echo 0) "N:'s answer comes when the stall ends: ${C_ANSWER:-none} ms"
goal $([ -n "$D_ARRIVED" ] && [ "$D_ARRIVED" -le 1000 ] && echo 1 || echo 0) \
  "a new drive letter is listed within 1 s of its device message: ${D_ARRIVED:-not in 2 s} ms"
goal $([ -n "$D_REMOVED" ] && [ "$D_REMOVED" -le 1000 ] && echo 1 || echo 0) \
  "a removed one is gone within 1 s: ${D_REMOVED:-not in 2 s} ms"

echo
echo "Stall check of ${EXE#"$ROOT"/} ($MODE stall, Enter held $HOLD s)"
printf '%-32s %-5s %6s %8s %7s %6s %5s   %-13s %-15s\n' phase window pings "worst ms" "p99 ms" ">${LATENCY_GOAL_MS}ms" "t/o" \
  "threads" "RSS MB"
printf '%-32s %-5s %6s %8s %7s %6s %5s   %-13s %-15s\n' "" "" "" "" "" "" "" "start/max/end" "start/max/end"
for p in "${PHASES[@]}"; do
  IFS='|' read -r name from to <<<"$p"
  printf '%-32s %-5s ' "$name" ours
  figures main "$from" "$to"
  printf '%-32s %-5s ' "  ($(((to - from) / 1000)) s)" bare
  figures bare "$from" "$to"
done
echo
printf '%s\n' "${NOTES[@]}"
echo
printf '%s\n' "${GOALS[@]}"
[ "$MODE" = full ] &&
  echo "(full stall: Wine waits on N: at every process start and for every drive's volume: figures of Wine, not of the program)"
echo "(logs in ${RUN#"$ROOT"/}/)"
exit $FAILED
