#!/usr/bin/env bash
# Starts tools_demo, waits for its "ready x y w h" line (the left panel on the screen) and
# makes the gestures of each measurement kind with xdotool, waiting for the demo to choose
# the next kind after each; then presses and holds the magnifier until the screenshot is saved.
set -uo pipefail
demo="$1"; out="$2"; left="$3"; right="$4"
log="$out.log"
"$demo" "$out" "$left" "$right" > "$log" 2>&1 &
pid=$!
wait_for() {  # a line of the log, at most 15 s
  for _ in $(seq 1 150); do
    grep -q "^$1" "$log" 2>/dev/null && return 0
    kill -0 $pid 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
if wait_for ready; then
  read -r _ x y w h < <(grep '^ready' "$log")
  at() { xdotool mousemove $((x + $1 * w / 480)) $((y + $2 * h / 480)); sleep 0.08; }
  drag() { at "$1" "$2"; xdotool mousedown 1; sleep 0.08; at $((($1 + $3) / 2)) $((($2 + $4) / 2)); at "$3" "$4"; xdotool mouseup 1; sleep 0.15; }
  click() { at "$1" "$2"; xdotool click 1; sleep 0.15; }
  drag 60 420 250 440;            wait_for "kind 1"   # distance
  drag 150 150 260 240;           wait_for "kind 2"   # ellipse
  drag 300 60 420 150;            wait_for "kind 3"   # rectangle
  drag 60 300 110 230; at 180 300; click 180 300; wait_for "kind 4"   # angle
  drag 300 300 440 360; drag 300 380 440 300;  wait_for "kind 6"      # angle between lines
  click 200 100;                  wait_for "kind 9"   # density
  drag 420 200 350 250;           wait_for "kind 10"  # arrow
  click 60 60; click 160 50; click 180 110; at 80 125; xdotool click --repeat 2 --delay 80 1
  wait_for magnifier
  at 210 200; xdotool mousedown 1
  wait_for "saved" || wait_for "not saved"
  xdotool mouseup 1
fi
wait $pid
rc=$?
cat "$log"
exit $rc
