#!/usr/bin/env bash
# End-to-end check of the real display under Xvfb: the test form (display_demo) shows its
# window; a mouse click, typing (into a centred box, a multi-line box with CR LF line ends
# and a locked box, which takes none), menu shortcuts, an access key, a message box (which
# keeps the form below from taking clicks) and Esc, sent as real X input with xdotool, reach
# the model (the demo writes what it receives); a label inside a frame stays on screen when
# the frame is redrawn around it; screenshots are kept in <build>/artifacts/.
# Skips only when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_under_xvfb "$@"

demo=$bin/tests/display_demo
out=$shots/display_demo.out
err=$shots/display_demo.err
on_failure() {
  echo "--- demo output:"
  cat "$out" 2>/dev/null || true
  echo "--- demo errors:"
  tail -n 40 "$err" 2>/dev/null || true
}

[ -x "$demo" ] || fail "display_demo is not built ($demo)"

"$demo" >"$out" 2>"$err" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# Whether the demo has written the line $1 at least $2 times; fails when the demo has ended.
said() {
  [ "$(grep -cxF -- "$1" "$out" || true)" -ge "${2:-1}" ] && return 0
  kill -0 "$pid" 2>/dev/null || fail "the demo ended while waiting for '$1'"
  return 1
}
# Waits (at most 20 s) until the demo has written the line $1 at least $2 times.
wait_for() { waitfor 20 said "$@" || fail "no '$1' (x${2:-1}) within 20 s"; }

wait_for ready
wid=$(window '^Display demo$') || fail "the window did not appear"
xdotool windowfocus "$wid" 2>/dev/null || true

# Positions inside the window: the menu bar is 25 pixels high above the form.
click_at() { xdotool mousemove --sync --window "$wid" "$1" "$2" click 1; }

# Filling two text boxes of a frame at once redraws the frame for both: the label between
# them must still be there (its blue box, at a point right of its text).
xdotool key F4
wait_for "menu mnuFill"
sleep 0.3
import -window "$wid" "$shots/display_e2e-frame.png"
label=$(convert "$shots/display_e2e-frame.png" -format '%[hex:p{416,193}]' info:)
[ "$label" = "0000FF" ] || fail "the label inside the frame is not shown (pixel $label)"

click_at 360 92            # Command1
wait_for "click Command1"

click_at 195 92            # Text1
xdotool type --delay 60 "abc"
wait_for "change Text1=abc"

# A centred box: a click left of its text puts the cursor before the text.
click_at 135 128           # Text2, left of "mid"
xdotool type --delay 60 "A"
wait_for "change Text2=Amid"

# A multi-line box: its CR LF lines go back to the model as they were, a new line with
# CR LF too.
click_at 100 170           # Memo
xdotool key ctrl+End
xdotool type --delay 60 "x"
xdotool key Return
xdotool type --delay 60 "y"
memo="change Memo=line 1"
for i in $(seq 2 12); do memo+="\\r\\nline $i"; done
wait_for "$memo""x\\r\\ny"

# A locked box takes no typing, and Enter in it leaves the focus there (so the "w" after it
# reaches no box either); the menu shortcut after them shows the keys were handled.
changes=$(grep -c "^change" "$out")
click_at 100 280           # Log
xdotool type --delay 60 "q"
xdotool key BackSpace Delete Return
xdotool type --delay 60 "w"

xdotool key F2             # menu shortcut
wait_for "menu mnuHello"
[ "$(grep -c "^change" "$out")" -eq "$changes" ] || fail "typing into the locked box changed a text"
sleep 0.3
shot display_e2e-boxes

xdotool key alt+p          # access key of "&Press me"
wait_for "click Command1" 2

# A message box holds the input: a click on the form below it is refused.
xdotool key F3
wait_for "menu mnuBox"
box=$(window '^Demo box$') || fail "the message box did not appear"
click_at 360 92
sleep 0.5

shot display_e2e

[ "$(grep -cxF "click Command1" "$out")" -eq 2 ] || fail "a click went past the message box"
timeout 10 xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool mousemove --sync --window "$box" 5 5
xdotool key Return         # OK of the message box
wait_for "box OK"

xdotool key Escape         # the cancel button ends the program
wait_for "click CmdOut"
waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "the demo did not end after Esc"
trap - EXIT
rc=0
wait "$pid" || rc=$?
[ "$rc" -eq 0 ] || fail "the demo exited with $rc"
grep -qx "end 0" "$out" || fail "no 'end 0'"
echo "display e2e: click, typing, multi-line and locked boxes, F2, Alt+P, the message box and Esc reached the model; screenshot in $shots"
