# Shared by the screenshot scripts: the program in a Wine virtual desktop (which draws the windows'
# frames) on an Xvfb display of their own, in a prefix of their own (.wine/screenshot), under German
# regional settings, and the helpers that find, click and photograph its windows. Sourced, not run;
# builds $BUILD_DIR with the tests when SHOTS_TESTS=ON.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages "${PACKAGES[@]}" xdotool imagemagick
# German regional settings, to match the German texts of the windows, for every Wine process: the
# first one of a session sets them for the prefix.
wine() { env LC_ALL=de_DE.UTF-8 wine "$@"; }
if [ "${SHOTS_TESTS:-OFF}" = ON ]; then
  build "$BUILD_DIR" "$TOOLCHAIN_I686" ON -DSANDRIVO_WERROR=ON
else
  build "$BUILD_DIR" "$TOOLCHAIN_I686" OFF
fi
# Finds a window inside the virtual desktop, where X tools see only the desktop.
WINDOWRECT=$BUILD_DIR/windowrect.exe
i686-w64-mingw32-g++-posix -O1 -static -o "$WINDOWRECT" "$ROOT/scripts/tools/windowrect.cpp"
# A prefix of its own: every program of it runs in one virtual desktop.
make_prefix "$ROOT/.wine/screenshot"
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
# The virtual desktop's size: the screen that the program sees.
desktop_size() { wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f >/dev/null; }
desktop_size 1200x900
unset DISPLAY
SCREEN_SIZE=1280x1024x24 start_display
set_dpi() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ "$1" = 96 ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  fi
  DPI=$1
}
PERSONALIZE='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
light_mode() { wine reg delete "$PERSONALIZE" /v AppsUseLightTheme /f >/dev/null 2>&1 || true; }
# What a script changed in the prefix goes back at its end: the DPI, the app mode, the desktop's
# size and whatever SHOTS_CLEANUP names.
SHOTS_CLEANUP=${SHOTS_CLEANUP:-}
trap 'set_dpi 96; light_mode; desktop_size 1200x900; $SHOTS_CLEANUP; wineserver -k 2>/dev/null || true; stop_display' EXIT
# A length of the 96-dpi layout at the current DPI.
px() { echo $((($1 * DPI + 48) / 96)); }

# Starts the program (or the command given, such as a test program's entry that runs it) in the
# virtual desktop.
start_program() {
  if [ $# -gt 0 ]; then start_in_desktop "$@"; else start_in_desktop "$BUILD_DIR/Sandrivo.exe"; fi
}
# Clicks at a point of the 96-dpi layout inside the client area of the window last found.
click_at() {
  xdotool mousemove $((CX + $(px "$1"))) $((CY + $(px "$2"))) click 1
}
shot() {
  # Away from the window, so that no tool tip covers the picture; new pixels reach the screen with
  # the next input event.
  xdotool mousemove $((DX + 2)) $((DY + 2)) mousemove $((DX + 3)) $((DY + 2))
  sleep 0.5
  mkdir -p "$(dirname "$1")"
  import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$1"
  echo "Wrote ${1#"$ROOT"/}"
}
# F1 in the main window: the help window, beside it.
help_shot() {
  find_window "Quelix Disk-Info"
  # Its caption first: the keys go to the active window.
  xdotool mousemove $((WX + WW / 2)) $((WY + 8)) click 1
  sleep 0.5
  xdotool key F1
  # (The title's dash is beyond the command line's ASCII: the title's start finds it.)
  find_window "Quelix Disk-Info *"
  shot "$1"
  xdotool key Escape
}

