# Shared by the scripts: paths, the Wine environment, package installation and the display.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
export WINEDEBUG=-all
# No Mono or Gecko prompts when a prefix is created.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEARCH=win32

PACKAGES=(wine wine32:i386 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 cmake ninja-build g++ googletest
          xvfb xauth x11-utils xdotool xclip imagemagick)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever of PACKAGES is missing (i386 architecture included).
install_packages() {
  local missing=()
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    missing=(update-needed)
  fi
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${PACKAGES[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${PACKAGES[@]}" >/dev/null
}

# Creates the Wine prefix given as $1 if it does not exist yet.
make_prefix() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
}

# Configures once, then builds the given targets (all when none is named).
build() {
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DSANDRIVO_TESTS=ON >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$BUILD_DIR" --target "$@"
  else
    cmake --build "$BUILD_DIR"
  fi
}

XVFB_PID=
# Starts an Xvfb of our own on a free display number when none is set.
start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

stop_display() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  fi
}

# Waits for a top-level window with exactly this title and sets X, Y, WIDTH and HEIGHT to its
# client area (without a window manager the X window is the client area).
wait_for_window() {
  local title=$1 window=
  for _ in $(seq 100); do
    window=$(xdotool search --name "^$title\$" 2>/dev/null | tail -n 1) && [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "the window \"$title\" did not appear" >&2; return 1; }
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
}
