# Shared by the scripts: paths, the Wine environment, package installation and the display.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
export WINEDEBUG=-all
# No Mono or Gecko prompts when a prefix is created.
export WINEDLLOVERRIDES="mscoree=;mshtml="

# What building and running the program needs; the tests add theirs.
PACKAGES=(wine wine32:i386 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 cmake ninja-build g++ zlib1g-dev
          xvfb xauth x11-utils)
TEST_PACKAGES=(wine64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest nlohmann-json3-dev
               xdotool xclip imagemagick)

# What the release's files need: the installer builder and its table tool, Python with YAML and a
# JSON-schema validator for the manifests, and the signing tools.
RELEASE_PACKAGES=(wixl msitools python3 python3-yaml python3-jsonschema osslsigncode openssl)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs those of the named packages that are missing (the i386 architecture first).
install_packages() {
  local missing=() update=
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    update=1
  fi
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
    [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Where the prefixes take Windows' fonts from: Wine's own faces (MS Sans Serif, Tahoma) and the
# faces with the metrics of Arial and Times New Roman. Each folder can be given instead of its
# package, e.g. an unpacked copy.
WINE_FONTS_DIR=${SANDRIVO_WINE_FONTS:-/usr/share/wine/fonts}
LIBERATION_FONTS_DIR=${SANDRIVO_LIBERATION_FONTS:-/usr/share/fonts/truetype/liberation}
[ -n "${SANDRIVO_WINE_FONTS:-}" ] || PACKAGES+=(fonts-wine)
[ -n "${SANDRIVO_LIBERATION_FONTS:-}" ] || PACKAGES+=(fonts-liberation)

# Wine takes every font that fontconfig finds, and of a face installed twice (a host package such as
# LibreOffice's fonts-liberation2 beside fonts-liberation) it takes the newer version: the pictures
# would depend on what else the machine has. Wine, and whatever else the scripts start, sees the
# folders of the fonts above and no other; fontconfig's cache of them stays in .wine/ too.
use_project_fonts() {
  local dir=$ROOT/.wine/fontconfig conf
  conf=$dir/fonts.conf
  mkdir -p "$dir/cache"
  xml() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' <<<"$1"; }
  cat >"$conf.new" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$(xml "$WINE_FONTS_DIR")</dir>
  <dir>$(xml "$LIBERATION_FONTS_DIR")</dir>
  <cachedir>$(xml "$dir/cache")</cachedir>
</fontconfig>
EOF
  mv "$conf.new" "$conf"
  export FONTCONFIG_FILE=$conf
}
use_project_fonts

# Gives the current prefix Windows' font metrics: the fonts in its Fonts folder, and Arial, Times
# New Roman and Microsoft Sans Serif (the scalable interface face) replaced by their metric twins.
# Without them every face falls back to a wider one, and text is measured as Windows never does.
setup_prefix_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  [ -f "$WINEPREFIX/.sandrivo-fonts" ] && return 0
  mkdir -p "$fonts"
  cp "$WINE_FONTS_DIR"/*.ttf "$WINE_FONTS_DIR"/*.fon "$fonts"/
  cp "$LIBERATION_FONTS_DIR"/LiberationSans-*.ttf "$LIBERATION_FONTS_DIR"/LiberationSerif-*.ttf "$fonts"/
  local key='HKCU\Software\Wine\Fonts\Replacements'
  wine reg add "$key" /v Arial /d 'Liberation Sans' /f >/dev/null
  wine reg add "$key" /v 'Microsoft Sans Serif' /d 'Liberation Sans' /f >/dev/null
  wine reg add "$key" /v 'Times New Roman' /d 'Liberation Serif' /f >/dev/null
  wineserver -w
  touch "$WINEPREFIX/.sandrivo-fonts"
}

# Creates the Wine prefix given as $1 if it does not exist yet, of the architecture $2 (win32 or
# win64), with Windows' fonts.
make_prefix() {
  export WINEPREFIX=$1 WINEARCH=${2:-win32}
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  setup_prefix_fonts
}

TOOLCHAIN_I686=$ROOT/cmake/mingw-i686.cmake
TOOLCHAIN_X86_64=$ROOT/cmake/mingw-x86_64.cmake

# Configures the build folder $1 with the toolchain file $2, the tests on or off ($3) and further
# CMake options, then builds it.
build() {
  local dir=$1 toolchain=$2 tests=$3
  shift 3
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/scripts/wine-test-run.sh" -DSANDRIVO_TESTS="$tests" "$@" >/dev/null
  cmake --build "$dir"
}

XVFB_PID=
# Starts an Xvfb of our own when no display is set; it picks a free display number itself.
start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local fifo number
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE:-1024x768x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  if ! read -r -t 20 number <"$fifo"; then
    rm -f "$fifo"
    echo "Xvfb did not start" >&2
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=:$number
}

stop_display() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  fi
}

# In a prefix whose programs share one virtual desktop (HKCU\Software\Wine\Explorer): starts a
# program and waits for the desktop's X window, DX and DY its place on the screen.
start_in_desktop() {
  wine "$@" >/dev/null 2>&1 &
  local desktop=
  for _ in $(seq 100); do
    desktop=$(xdotool search --name '^Default - Wine desktop$' 2>/dev/null | tail -n 1) && [ -n "$desktop" ] && break
    sleep 0.2
  done
  [ -n "$desktop" ] || { echo "the virtual desktop did not appear" >&2; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$desktop")"
  DX=$X DY=$Y
}

# Inside the virtual desktop, where X tools see only the desktop: sets WX, WY, WW, WH to the outer
# rectangle of the window with this title (a trailing '*': that starts so) and CX, CY to its client
# area's corner, on the screen. WINDOWRECT is scripts/tools/windowrect.cpp built for Wine.
find_window() {
  local rect
  rect=$(wine "$WINDOWRECT" "$1" 2>/dev/null | tr -d '\r')
  [ -n "$rect" ] || { echo "the window \"$1\" did not appear" >&2; return 1; }
  read -r WX WY WW WH CX CY <<<"$rect"
  WX=$((WX + DX)) WY=$((WY + DY)) CX=$((CX + DX)) CY=$((CY + DY))
  sleep 1
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
