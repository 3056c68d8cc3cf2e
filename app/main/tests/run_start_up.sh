#!/usr/bin/env bash
# Starts a copy of Vistrel.exe (with its resources and the English module, in a folder of its
# own) with the command lines of the cases and checks the mode it prints once its start-up
# sequence has run. The program then shows its main window and waits for the user (the
# start-up question, or the error of a session without a host), so each case ends it and
# checks that no process of it is left.
set -euo pipefail
out=$(cd "$1" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
cp "$out/Vistrel.exe" "$out/Vistrel.exe.res" "$out/Lingopack_English.dll" "$work/"
export QT_QPA_PLATFORM=offscreen
failures=0

# Processes whose executable is this copy.
left_over() {
  for exe in /proc/[0-9]*/exe; do
    [ "$(readlink "$exe" 2>/dev/null)" = "$work/Vistrel.exe" ] && echo "${exe%/exe}"
  done
  return 0
}

# run_case <name> <expected output line> <show value or -> [arguments...]
run_case() {
  local name="$1" expected="$2" show="$3"
  shift 3
  local log="$work/log"
  if [ "$show" = "-" ]; then
    "$work/Vistrel.exe" "$@" >"$log" 2>"$work/err" &
  else
    VISTREL_SHOW_WINDOW="$show" "$work/Vistrel.exe" "$@" >"$log" 2>"$work/err" &
  fi
  local pid=$!
  pids+=("$pid")
  local i
  for i in $(seq 1 1200); do
    [ -s "$log" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  local rc=0
  kill -0 "$pid" 2>/dev/null || { wait "$pid" || rc=$?; }
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  local line
  line=$(head -n 1 "$log")
  if [ "$rc" != 0 ] || [ "$line" != "$expected" ] || [ -n "$(left_over)" ]; then
    echo "FAIL $name: exit $rc, output '$line', expected '$expected'"
    cat "$work/err"
    failures=$((failures + 1))
  else
    echo "ok   $name: $line"
  fi
}

standalone="Vistrel: stand-alone mode"
run_case "no ini, no command line" "$standalone" -
run_case "session number and more" "Vistrel: session 1234" - 1234 end
run_case "number alone" "$standalone" - 1234
run_case "number, tab, more" "$standalone" - $'1234\tend'
run_case "minus one" "$standalone" - -1 more
run_case "minus five" "Vistrel: session -5" - -5 more
run_case "beyond 32 bits" "$standalone" - 99999999999 more
run_case "no number" "$standalone" - abc def
run_case "started hidden" "$standalone" 0 1234 end
run_case "started shown" "Vistrel: session 1234" 10 1234 end

# An ini with modules that cannot be loaded, bad numbers and placement: still a clean start.
cat >"$work/Vistrel.ini" <<'INI'
[MULTIMONITOR]
Monitor=7
Width=abc
[GUI]
TextDLL=Lingopack_English.dll
ImagesDLL=/elsewhere/Images.dll
Broken=1
[CALIBRATION]
default=mm
mm=x
INI
cp "$work/Vistrel.ini" "$work/expected.ini"
run_case "ini with bad entries" "Vistrel: session 77" - 77 end
cmp -s "$work/Vistrel.ini" "$work/expected.ini" || { echo "FAIL: the ini changed"; failures=$((failures + 1)); }

# A module file that is not a module at all.
printf 'garbage' >"$work/Lingopack_Broken.dll"
printf '[GUI]\nTextDLL=Lingopack_Broken.dll\n' >"$work/Vistrel.ini"
run_case "broken module" "$standalone" -

exit "$failures"
