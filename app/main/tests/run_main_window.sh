#!/usr/bin/env bash
# End to end under Xvfb: a copy of Vistrel.exe in a folder of its own beside a generated
# DICOMDIR of 2 patients made by make_viewer_fileset.py (with what it needs: resources, the
# language module, the dictionary, the engine and the codecs). The test answers the start-up
# question and the patient navigator with real input (xdotool), waits for the study boxes,
# checks the caption and the studies title in the program's own report line and, from the
# window's pixels, that the study boxes show their tiles; it clicks the first tile, checks that
# the engine draws the stack's picture in the client area and that a wheel step changes it.
# Screenshots of each step go to screenshots/main_window*.png. Skipped (77) without xvfb-run,
# xdotool or import.
set -euo pipefail
out=$(cd "$1" && pwd)  # $2: the dicom_dump tool
source_dir=$(cd "$(dirname "$0")/../../.." && pwd)
shots="$out/screenshots"
for tool in xvfb-run xdotool import convert compare; do
  command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
done
mkdir -p "$shots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in Vistrel.exe Vistrel.exe.res Lingopack_English.dll Tagbook.dll Pixtrane.exe Packwell.dll Unpackwell.dll Motivar.dll; do
  [ -e "$out/$f" ] && cp "$out/$f" "$work/"
done
[ -d "$out/LEXICA_DATA" ] && cp -r "$out/LEXICA_DATA" "$work/"
/usr/bin/python3 "$source_dir/tests/tools/make_viewer_fileset.py" "$work/DATA" >/dev/null
"$2" --build "$work/DATA" >/dev/null
mv "$work/DATA/DICOMDIR" "$work/DICOMDIR"
# The DICOMDIR names its files relative to its own folder.
mv "$work/DATA"/* "$work/" && rmdir "$work/DATA"
echo "101 200" >"$work/tile"; echo "900 500" >"$work/area"
shot="$shots/main_window.png"
shot_tiles="$shots/main_window_tiles.png"
shot_open="$shots/main_window_stack.png"
shot_wheel="$shots/main_window_wheel.png"
rm -f "$shot" "$shot_tiles" "$shot_open" "$shot_wheel"
export LSAN_OPTIONS="suppressions=$source_dir/platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

cat >"$work/inside.sh" <<INNER
set -euo pipefail
cd "$work"
QT_QPA_PLATFORM=xcb VISTREL_REPORT_WINDOW=1 ./Vistrel.exe >"$work/log" 2>"$work/err" &
pid=\$!
trap 'kill -9 \$pid 2>/dev/null || true' EXIT
# The start-up question: Yes.
about=\$(timeout 90 xdotool search --sync --onlyvisible --name "About Vistrel" | head -n 1)
sleep 0.5
xdotool mousemove --window "\$about" 273 290 click 1
# Three patients: the navigator opens on patient 1; Ok keeps it.
nav=\$(timeout 90 xdotool search --sync --onlyvisible --name "DICOMDIR Navigator" | head -n 1)
sleep 1
eval \$(xdotool getwindowgeometry --shell "\$nav")
# Its Ok button, at the place the navigator lays it out for its width.
xdotool mousemove --window "\$nav" \$((WIDTH * 812 / 982)) \$((HEIGHT - 17)) click 1
for i in \$(seq 1 300); do
  grep -q "boxes complete" "$work/log" && break
  sleep 0.2
done
sleep 3
import -window root "$shot"
win=\$(xdotool search --onlyvisible --name "^Vistrel" | head -n 1)
eval \$(xdotool getwindowgeometry --shell "\$win")
echo "main window \$X \$Y \$WIDTH \$HEIGHT" >"$work/geometry"
# The first study box opens with a click on its title and shows its tiles.
xdotool mousemove --window "\$win" 120 115 click 1
sleep 4
import -window root "$shot_tiles"
# The first tile's icon.
xdotool mousemove --window "\$win" \$(cat "$work/tile") click 1
sleep 6
import -window root "$shot_open"
# One wheel step over the middle of the client area.
xdotool mousemove --window "\$win" \$(cat "$work/area") click 5
sleep 3
import -window root "$shot_wheel"
INNER
rc=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/inside.sh" || rc=$?
cat "$work/err" >&2 || true
echo "exit code $rc; output:"; cat "$work/log"
[ "$rc" = 0 ]
grep -q "stand-alone mode" "$work/log"
grep -q "^window: Vistrel; Studies: 2; boxes complete: 2" "$work/log"
test -s "$shot"
echo "screenshot: $shot"

# What the window shows, read from its pixels (regions of the 1280 x 1024 screen).
region() { convert "$1" -crop "$2" +repage -format "$3" info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
# The white title strips of the study boxes at the top of the grey studies panel.
boxes=$(region "$shot" 300x40+5+105 '%[fx:mean]')
above "$boxes" 0.8 || { echo "no study boxes in $shot (mean $boxes)"; exit 1; }
# The opened box shows its tile's icon (a picture, not the plain panel).
icon=$(region "$shots/main_window_tiles.png" 100x90+50+150 '%[fx:standard_deviation]')
above "$icon" 0.15 || { echo "no tile icon in main_window_tiles.png (deviation $icon)"; exit 1; }
# The client area was black before the click and holds the stack's picture after it.
before=$(region "$shot" 700x750+540+130 '%[fx:mean]')
lit=$(convert "$shot_open" -crop 700x750+540+130 +repage -threshold 10% -format '%[fx:mean]' info:)
above 0.01 "$before" || { echo "the client area was not empty before the click ($before)"; exit 1; }
above "$lit" 0.05 || { echo "no stack picture after the click (lit $lit)"; exit 1; }
convert "$shot_open" -crop 700x750+540+130 +repage "$work/a.png"
convert "$shot_wheel" -crop 700x750+540+130 +repage "$work/b.png"
changed=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)
above "${changed%% *}" 1000 || { echo "the wheel step did not change the picture ($changed pixels)"; exit 1; }
echo "boxes $boxes, icon $icon, picture lit $lit, wheel changed $changed pixels"
