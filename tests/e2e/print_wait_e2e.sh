#!/usr/bin/env bash
# Printing does not stop the station, under Xvfb: the gas test's diagnosis sheet is printed
# through an `lp` that says nothing for 20 s and then refuses the job (refuse, the default),
# or through one that never ends and is killed at the 30 s time limit (hang: about 40 s, run
# by hand).
# While the sheet waits for `lp`, the simulated analyser on COM1 keeps getting the requests
# of the gas test's 25 ms ticks, the sheet is drawn again without its buttons, Esc (its close
# button is hidden) leaves it open and typed keys reach it. The printer box comes when `lp`
# refuses, wide enough for `lp`'s reason (at the limit: narrow, no reason), and then Esc
# closes the sheet again. Screenshots go to <build>/artifacts/print-wait-<mode>-*.
#   print_wait_e2e.sh [refuse|hang]
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_under_xvfb "$@"
[ "${1:-}" = "--inside" ] && shift
mode=${1:-refuse}
e2e_station
trap 'kill ${pid:-} ${sim_pid:-} 2>/dev/null; rm -rf "$station"' EXIT
cd "$station"
on_failure() { for f in sim1.txt out.txt; do echo "--- $f" && tail -n 20 "$f"; done; }
sed -i 's/^TLingua=1\r$/TLingua=2\r/' Conf.ini # English

# The stand-in `lp` first on PATH; the box is due when it ends (refuse) or at the limit.
reason="lp: Error - The printer STATION-A4 is not responding; check its cable and its power."
mkdir bin
case $mode in
  refuse) printf '#!/bin/sh\nsleep 20\necho "%s" >&2\nexit 1\n' "$reason" >bin/lp && due=20 ;;
  hang) printf '#!/bin/sh\nexec sleep 600\n' >bin/lp && due=30 ;;
  *) fail "unknown mode '$mode' (refuse or hang)" ;;
esac
chmod 755 bin/lp
PATH=$station/bin:$PATH

scenario=$src/tests/sim/scenarios/gas-analyser.scn
"$sim" --scenario "$scenario" --pty --link "$station/COM1" >sim1.txt 2>&1 &
sim_pid=$!
waitfor 10 test -L COM1 || fail "the simulator on COM1 did not start"
requests() { grep -c '^request GAS' sim1.txt || true; }
polling() { [ "$(requests)" -gt 20 ]; }
# Seconds since $1 (a date +%s.%N), to the hundredth.
since() { echo "$(date +%s.%N) - $1" | bc -l | xargs printf '%.2f'; }
shot() { import -window "${2:-root}" "$shots/print-wait-$mode-$1.png" || fail "no screenshot $1"; }
# The number of colours where the sheet's print and close buttons lie in its screenshot $1
# (1: the page's white, the buttons are off the screen).
buttons() { convert "$shots/print-wait-$mode-$1.png" -crop 112x26+613+92 -format %k info:; }
# Whether two screenshots differ.
differ() {
  local a=$shots/print-wait-$mode-$1.png b=$shots/print-wait-$mode-$2.png
  [ "$(compare -metric AE "$a" "$b" null: 2>&1)" != 0 ]
}

./vantoscope >out.txt 2>&1 &
pid=$!
menu=$(window "^Start men")
keys "$menu" F1
gas=$(window "^Gas Analysis")
waitfor 15 polling || fail "the gas test did not poll the analyser"
keys "$gas" alt+p
sheet=$(window "^EXHAUST GAS DIAGNOSIS")
sleep 1
from=$(requests) && sleep 5 && before=$(($(requests) - from))
shot sheet "$sheet"

keys "$sheet" Tab Return # from the copies box to the print button
t0=$(date +%s.%N) from=$(requests)
sleep 1
shot printing "$sheet"
[ "$(buttons sheet)" -gt 1 ] || fail "no buttons where the sheet's buttons should be"
[ "$(buttons printing)" = 1 ] || fail "the sheet was not drawn again without its buttons"
keys "$sheet" Escape
sleep 0.5
shown "^EXHAUST GAS DIAGNOSIS" || fail "Esc closed the sheet while it was printing"
keys "$sheet" Tab Z # into the first box of the sheet
sleep 0.5
shot typed "$sheet"
differ printing typed || fail "the sheet did not take the keys typed while it was printing"
! shown "^Vantoscope$" || fail "a box came before lp had ended"
sleep "$(echo "10 - $(since "$t0")" | bc -l)"
during=$(($(requests) - from))
echo "requests in the 10 s after PRINT: $during of 400 ticks (in 5 s before it: $before of 200)"
[ "$during" -ge 320 ] || fail "only $during requests reached the analyser in the 10 s after PRINT"

box=$(window "^Vantoscope$")
waited=$(since "$t0")
shot box
width=$(xdotool getwindowgeometry "$box" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
echo "the printer box came $waited s after PRINT, $width pixels wide"
(($(echo "$waited >= $due - 0.5 && $waited <= $due + 3" | bc -l))) ||
  fail "the box came after $waited s, not when lp was due to end ($due s)"
if [ "$mode" = refuse ]; then
  [ "$width" -ge 450 ] || fail "the box ($width pixels wide) has no room for lp's reason"
else
  [ "$width" -lt 450 ] || fail "the box is $width pixels wide, with no reason to tell"
  ! pgrep -f "sleep 600" >/dev/null || fail "the hanging lp was not killed"
fi
keys "$box" Return
gone "^Vantoscope$" || fail "the box did not close"
sleep 0.5
shot printed "$sheet"
[ "$(buttons printed)" -gt 1 ] || fail "the sheet's buttons did not come back"
close() {
  keys "$1" Escape
  gone "$2" || fail "Esc did not close '$2'"
}
close "$sheet" "^EXHAUST GAS DIAGNOSIS"
close "$gas" "^Gas Analysis"
keys "$menu" Escape
waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
wait "$pid" || fail "exit status $?"
echo "print wait e2e ($mode): ok"
