#!/usr/bin/env bash
# The exports as their real clients read them (a developer's check, not part of the tests):
#  1. the program, run under Wine, copies a drive whose label is "=1+1" and whose serial is 00012345;
#     the X clipboard (xclip) then offers its "HTML Format" and text/html, as Linux programs paste
#     them, beside the text;
#  2. headless LibreOffice Calc reads that block, and the test suite's HTML and CSV files of eleven
#     drives (scripts/spreadsheet-check.sh), in a German and an English locale, cell for cell
#     against what the ";" text says (scripts/tools/expected_cells.py).
# Usage: scripts/export-check.sh   (after scripts/test.sh or a build in build/)
set -uo pipefail
source "$(dirname "$0")/common.sh"
command -v xclip >/dev/null || install_packages xclip
command -v xdotool >/dev/null || install_packages xdotool

work=$(mktemp -d)
export WINEPREFIX=$ROOT/.wine/export-check WINEARCH=win32
make_prefix "$WINEPREFIX"
unset DISPLAY
start_display
trap 'wineserver -k 2>/dev/null; stop_display; rm -f "$WINEPREFIX/dosdevices/x:"; rm -rf "$work"' EXIT
wineserver -p

# X: a folder whose label and serial Wine reads from these files.
mkdir -p "$work/drive"
printf '=1+1' >"$work/drive/.windows-label"
printf '00012345' >"$work/drive/.windows-serial"
ln -sfn "$work/drive" "$WINEPREFIX/dosdevices/x:"

wine "$BUILD_DIR/Sandrivo.exe" &
wait_for_window "Quelix Disk-Info"
sleep 12 # a fresh wineserver answers its first volume queries late
# Into the drive list's empty lower part (without a window manager the X window is the client
# area), then "x" finds "X: Festplatte", and Ctrl+C copies it, as a user does.
xdotool mousemove $((X + 100)) $((Y + 300)) click 1
sleep 1
xdotool key x
sleep 2
xdotool key ctrl+c
sleep 2
xclip -selection clipboard -t UTF8_STRING -o >"$work/text.txt"
xclip -selection clipboard -t "HTML Format" -o >"$work/block.html"
xclip -selection clipboard -t text/html -o >"$work/fragment.html"

status=0
if ! grep -q "^Volume-Name;=1+1" "$work/text.txt"; then
  echo "[not met]   the program copied X: with its label (text: $(head -c 200 "$work/text.txt"))"
  exit 1
fi
echo "[met]       the program copied X: (label \"=1+1\", serial 00012345) to the X clipboard"
if cmp -s <(python3 -c 'import sys; d=open(sys.argv[1],"rb").read(); import re; f=dict((k.decode(),int(v)) for k,v in re.findall(rb"(StartFragment|EndFragment):(\d+)",d)); sys.stdout.buffer.write(d[f["StartFragment"]:f["EndFragment"]])' "$work/block.html") "$work/fragment.html"; then
  echo "[met]       text/html, which Linux programs paste, is the HTML Format's fragment"
else
  echo "[not met]   text/html is not the HTML Format's fragment"; status=1
fi
python3 "$ROOT/scripts/tools/expected_cells.py" "$work/text.txt" >"$work/one.json"
echo "== The copied drive (HTML Format block)"
bash "$ROOT/scripts/spreadsheet-check.sh" --html "$work/block.html" "$work/one.json" || status=1
echo "== All drives of the tests' golden files (HTML file and CSV file as saved)"
python3 "$ROOT/scripts/tools/expected_cells.py" "$ROOT/tests/drive/golden/table-wide.txt" >"$work/all.json"
bash "$ROOT/scripts/spreadsheet-check.sh" --html "$ROOT/tests/drive/golden/drives.html" \
  --csv "$ROOT/tests/drive/golden/drives.csv" "$work/all.json" || status=1
exit $status
