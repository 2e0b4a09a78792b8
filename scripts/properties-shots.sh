#!/usr/bin/env bash
# Makes the pictures of the properties window (Alt+Enter in the drive list), each with its frame as a
# user sees it: drive C: and a drive mapped to \\server\share as Wine answers for them
# (docs/properties-wine-c.png, docs/properties-wine-share.png), then the recorded answers of real
# devices through tests/app/PropertiesGallery.cpp: an NVMe SSD, a SATA SSD, a USB stick, a rotating
# disk, a share and a drive that refuses every query (docs/properties-nvme.png, -sata, -usb, -hdd,
# -share, -refusing), the rotating disk at 150 % (docs/properties-hdd-150.png) and the NVMe SSD with
# Windows' app mode dark (docs/properties-nvme-dark.png).
# Usage: scripts/properties-shots.sh
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
wine() { env LC_ALL=de_DE.UTF-8 wine "$@"; }
build "$BUILD_DIR" "$TOOLCHAIN_I686" ON -DSANDRIVO_EXTRAS=ON
WINDOWRECT=$BUILD_DIR/windowrect.exe
i686-w64-mingw32-g++-posix -O1 -static -o "$WINDOWRECT" "$ROOT/scripts/tools/windowrect.cpp"
# A prefix of its own, every program of it in one virtual desktop, with a drive U: mapped to
# \\server\share as the test prefix has it.
make_prefix "$ROOT/.wine/properties-shots"
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1200x900 /f >/dev/null
mkdir -p "$WINEPREFIX/sandrivo-share" "$WINEPREFIX/dosdevices/unc/server"
ln -sfn ../../../sandrivo-share "$WINEPREFIX/dosdevices/unc/server/share"
ln -sfn unc/server/share "$WINEPREFIX/dosdevices/u:"
wine reg add 'HKLM\Software\Wine\Drives' /v u: /d network /f /reg:32 >/dev/null
unset DISPLAY
SCREEN_SIZE=1280x1024x24 start_display
PERSONALIZE='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
restart() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
set_dpi() {
  restart
  if [ "$1" = 96 ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  fi
}
trap 'set_dpi 96; wine reg delete "$PERSONALIZE" /v AppsUseLightTheme /f >/dev/null 2>&1 || true; restart; stop_display' EXIT

# The drive's properties: the main window's caption clicked (the keys go to the active window), the
# letter typed in the drive list (it has the focus), Alt+Enter.
properties_shot() {
  find_window "Quelix Disk-Info"
  xdotool mousemove $((WX + WW / 2)) $((WY + 8)) click 1
  sleep 0.5
  xdotool key "$1"
  sleep 0.5
  xdotool key alt+Return
  find_window "Eigenschaften von ${1^^}:"
  xdotool mousemove $((DX + 2)) $((DY + 2)) mousemove $((DX + 3)) $((DY + 2))
  sleep 1
  import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$2"
  echo "Wrote ${2#"$ROOT"/}"
  xdotool key Escape
  sleep 0.5
}

set_dpi 96
start_in_desktop "$BUILD_DIR/Sandrivo.exe"
properties_shot c "$ROOT/docs/properties-wine-c.png"
properties_shot u "$ROOT/docs/properties-wine-share.png"
restart

GALLERY=$BUILD_DIR/tests/properties_gallery.exe
start_in_desktop "$GALLERY"
for shot in c:nvme d:sata e:usb f:hdd s:share r:refusing; do
  properties_shot "${shot%%:*}" "$ROOT/docs/properties-${shot#*:}.png"
done

set_dpi 144
start_in_desktop "$GALLERY"
properties_shot f "$ROOT/docs/properties-hdd-150.png"

set_dpi 96
wine reg add "$PERSONALIZE" /v AppsUseLightTheme /t REG_DWORD /d 0 /f >/dev/null
start_in_desktop "$GALLERY"
properties_shot c "$ROOT/docs/properties-nvme-dark.png"
