#!/usr/bin/env bash
# What only the real display shows, on the test form display_demo under Xvfb (the program's
# own windows are walked by station_day_e2e.sh): a click left of a centred box's text puts
# the cursor before it; Enter typed into a multi-line box comes back to the model as CR LF; a
# label inside a frame stays drawn when both boxes around it are redrawn at once. Skips only
# when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_under_xvfb "$@"

demo=$bin/tests/display_demo
out=$shots/display_demo.out
on_failure() { cat "$out" 2>/dev/null || true; }
[ -x "$demo" ] || fail "display_demo is not built ($demo)"
"$demo" >"$out" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# Waits (at most 20 s) until the demo has written the line $1.
said() { waitfor 20 grep -qxF -- "$1" "$out" || fail "no '$1' within 20 s"; }
said ready
wid=$(window '^Display demo$')
xdotool windowfocus "$wid" 2>/dev/null || true
# Positions inside the window: the menu bar is 25 pixels high above the form.
click_at() { xdotool mousemove --sync --window "$wid" "$1" "$2" click 1; }

click_at 135 128 # the centred box, left of "mid"
xdotool type --delay 60 "A"
said "change Text2=Amid"

click_at 100 170 # the multi-line box
xdotool key ctrl+End type --delay 60 x
xdotool key Return type --delay 60 y
said 'change Memo=line 1\r\nline 2x\r\ny'

xdotool key F4 # fills the frame's boxes
said "menu mnuFill"
sleep 0.3
import -window "$wid" "$shots/display_e2e.png"
label=$(convert "$shots/display_e2e.png" -format '%[hex:p{416,193}]' info:)
[ "$label" = "0000FF" ] || fail "the label inside the frame is not shown (pixel $label)"
echo "display e2e: ok; screenshot in $shots"
