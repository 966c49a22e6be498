#!/usr/bin/env bash
# End-to-end check of the real display under Xvfb: the test form (display_demo) shows its
# window; a mouse click, typing, menu shortcuts, an access key, a message box (which keeps
# the form below from taking clicks) and Esc, sent as real X input with xdotool, reach the
# model (the demo writes what it receives); a screenshot is kept in <build>/artifacts/.
# Skips only when Xvfb is not installed.
set -euo pipefail

if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "skipped: no Xvfb (xvfb-run not found)"
  exit 0
fi

root=${VS_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
build=${VS_BINARY_DIR:-$root/build/test}
demo=$build/tests/display_demo
art=$build/artifacts
mkdir -p "$art"

if [ "${1:-}" != "--inside" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside
fi

fail() {
  echo "FAIL: $*"
  echo "--- demo output:"
  cat "$out" 2>/dev/null || true
  echo "--- demo errors:"
  tail -n 40 "$err" 2>/dev/null || true
  exit 1
}

[ -x "$demo" ] || fail "display_demo is not built ($demo)"
command -v xdotool >/dev/null 2>&1 || fail "xdotool is missing"

out=$art/display_demo.out
err=$art/display_demo.err

"$demo" >"$out" 2>"$err" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# Waits (at most 20 s) until the demo has written the line $1 at least $2 times.
wait_for() {
  local line=$1 times=${2:-1}
  for _ in $(seq 1 200); do
    [ "$(grep -cxF -- "$line" "$out" || true)" -ge "$times" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the demo ended while waiting for '$line'"
    sleep 0.1
  done
  fail "no '$line' (x$times) within 20 s"
}

wait_for ready
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Display demo$' | head -n 1) ||
  fail "the window did not appear"
[ -n "$wid" ] || fail "the window did not appear"
xdotool windowfocus "$wid" 2>/dev/null || true

# Positions inside the window: the menu bar is 25 pixels high above the form.
click_at() { xdotool mousemove --sync --window "$wid" "$1" "$2" click 1; }

click_at 360 92            # Command1
wait_for "click Command1"

click_at 195 92            # Text1
xdotool type --delay 60 "abc"
wait_for "change Text1=abc"

xdotool key F2             # menu shortcut
wait_for "menu mnuHello"

xdotool key alt+p          # access key of "&Press me"
wait_for "click Command1" 2

# A message box holds the input: a click on the form below it is refused.
xdotool key F3
wait_for "menu mnuBox"
box=$(timeout 30 xdotool search --sync --onlyvisible --name '^Demo box$' | head -n 1) ||
  fail "the message box did not appear"
click_at 360 92
sleep 0.5

shot=$art/display_e2e.png
if command -v import >/dev/null 2>&1; then
  import -window root "$shot"
elif command -v xwd >/dev/null 2>&1; then
  shot=$art/display_e2e.xwd
  xwd -root -silent >"$shot"
else
  fail "no screenshot tool (import or xwd)"
fi
[ -s "$shot" ] || fail "empty screenshot"

[ "$(grep -cxF "click Command1" "$out")" -eq 2 ] || fail "a click went past the message box"
timeout 10 xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool mousemove --sync --window "$box" 5 5
xdotool key Return         # OK of the message box
wait_for "box OK"

xdotool key Escape         # the cancel button ends the program
wait_for "click CmdOut"
for _ in $(seq 1 200); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the demo did not end after Esc"
trap - EXIT
rc=0
wait "$pid" || rc=$?
[ "$rc" -eq 0 ] || fail "the demo exited with $rc"
grep -qx "end 0" "$out" || fail "no 'end 0'"
echo "display e2e: click, typing, F2, Alt+P, the message box and Esc reached the model; screenshot $shot"
