#!/usr/bin/env bash
# Runs stack_window_demo under Xvfb on a generated CT stack: clicks the VOI button, turns the
# wheel three steps towards the user and drags across the work area with the real mouse
# (xdotool), and checks that the screenshot was written. Without xvfb-run it runs offscreen
# and the input is sent by nobody, so the demo reports what did not happen.
set -uo pipefail
demo="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
root="$here/../../.."
drive() {
  files=$(ls "$3"/PID0001/ST1/SE1/IM* | sort)
  log="$out.log"
  "$demo" "$out" $files > "$log" 2>&1 &
  pid=$!
  for _ in $(seq 1 400); do
    grep -q '^ready' "$log" 2>/dev/null && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  if grep -q '^ready' "$log" && command -v xdotool >/dev/null 2>&1 && [ -n "${DISPLAY:-}" ]; then
    read -r _ x y w h vx vy < <(grep '^ready' "$log")
    xdotool mousemove "$vx" "$vy" click 1
    sleep 0.3
    cx=$((x + w / 2))
    cy=$((y + h / 2))
    xdotool mousemove $cx $cy
    sleep 0.2
    for _ in 1 2 3; do xdotool click 5; sleep 0.3; done
    xdotool mousedown 1
    for step in 1 2 3 4 5 6 7 8; do
      xdotool mousemove $((cx + 8 * step)) $((cy + 4 * step))
      sleep 0.05
    done
    xdotool mouseup 1
  fi
  wait $pid
  rc=$?
  cat "$log"
  return $rc
}
# Inside the X server: run and drive the demo on the file set folder given third.
if [ "${4:-}" = "--inside" ]; then
  drive "$@"
  exit $?
fi
set -e
mkdir -p "$(dirname "$out")"
rm -f "$out"
set_dir=$(mktemp -d)
trap 'rm -rf "$set_dir"' EXIT
/usr/bin/python3 "$root/tests/tools/make_viewer_fileset.py" "$set_dir" >/dev/null
export LSAN_OPTIONS="suppressions=$root/platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if command -v xvfb-run >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb bash "$0" "$demo" "$out" "$set_dir" --inside
else
  echo "Xvfb not available: rendering offscreen without input"
  QT_QPA_PLATFORM=offscreen bash "$0" "$demo" "$out" "$set_dir" --inside || true
fi
test -s "$out"
