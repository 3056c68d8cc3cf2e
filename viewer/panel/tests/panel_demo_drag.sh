#!/usr/bin/env bash
# Starts panel_demo, waits for its "ready x y w h" line, drags across the panel with the real
# mouse (xdotool, when there is a display), and waits for the demo to end.
set -uo pipefail
demo="$1"
out="$2"
ct="$3"
log="$out.log"
"$demo" "$out" "$ct" > "$log" 2>&1 &
pid=$!
for _ in $(seq 1 300); do
  grep -q '^ready' "$log" 2>/dev/null && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if grep -q '^ready' "$log" && command -v xdotool >/dev/null 2>&1 && [ -n "${DISPLAY:-}" ]; then
  read -r _ x y w h < <(grep '^ready' "$log")
  cx=$((x + w / 2))
  cy=$((y + h / 2))
  xdotool mousemove $cx $cy
  sleep 0.2
  xdotool mousedown 1
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((cx - 6 * step)) $((cy - 3 * step))
    sleep 0.05
  done
  xdotool mouseup 1
fi
wait $pid
rc=$?
cat "$log"
exit $rc
