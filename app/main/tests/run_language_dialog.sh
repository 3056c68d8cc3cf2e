#!/usr/bin/env bash
# Under Xvfb: Vistrel.exe with a language selection pending shows the language dialog; the
# test answers it with real input (xdotool), saves screenshots and checks that the chosen
# module's full path was written back into the ini and that the start-up went on (its mode line).
# Skipped (77) without xvfb-run, xdotool or import.
set -euo pipefail
out=$(cd "$1" && pwd)
shots="$out/screenshots"
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
done
mkdir -p "$shots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$out/Vistrel.exe" "$out/Vistrel.exe.res" "$out/Lingopack_English.dll" "$work/"
cp "$out/Lingopack_English.dll" "$work/Lingopack_Deutsch.dll"
printf "[GUI]\nTextDLL=%s/Lingopack_English.dll\nLanguageSelection=1\n" "$work" >"$work/Vistrel.ini"
rm -f "$shots/language_dialog.png" "$shots/language_dialog_choice.png"
export LSAN_OPTIONS="suppressions=$(dirname "$0")/../../../platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

cat >"$work/inside.sh" <<INNER
set -euo pipefail
cd "$work"
QT_QPA_PLATFORM=xcb ./Vistrel.exe >"$work/log" 2>"$work/err" &
pid=\$!
trap 'kill -9 \$pid 2>/dev/null || true' EXIT
wid=\$(timeout 60 xdotool search --sync --onlyvisible --name "Select Language" | head -n 1)
sleep 1
import -window root "$shots/language_dialog.png"
# Open the list, take its first item (Deutsch) and look again.
xdotool mousemove --window "\$wid" 150 47 click 1
sleep 0.5
xdotool key Home Return
sleep 0.5
import -window root "$shots/language_dialog_choice.png"
xdotool mousemove --window "\$wid" 163 90 click 1
# The start-up goes on to the main window, which asks its start-up question: the mode line
# says the sequence ran; then the program is ended.
rc=1
for i in \$(seq 1 600); do
  if grep -q "stand-alone mode" "$work/log"; then rc=0; break; fi
  kill -0 \$pid 2>/dev/null || break
  sleep 0.1
done
kill -9 \$pid 2>/dev/null || true
exit \$rc
INNER
rc=0
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/inside.sh" || rc=$?
cat "$work/err" >&2 || true
echo "exit code $rc; output: $(cat "$work/log")"
echo "ini afterwards:"; cat "$work/Vistrel.ini"
[ "$rc" = 0 ]
# The profile functions write lines ending in CR LF.
tr -d '\r' <"$work/Vistrel.ini" | grep -qx "TextDLL=$work/Lingopack_Deutsch.dll"
tr -d '\r' <"$work/Vistrel.ini" | grep -qx "LanguageSelection=1"
grep -q "stand-alone mode" "$work/log"
test -s "$shots/language_dialog.png"
test -s "$shots/language_dialog_choice.png"
