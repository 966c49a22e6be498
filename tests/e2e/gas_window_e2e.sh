#!/usr/bin/env bash
# The real program under Xvfb runs a gas test against the simulated binary gas analyser on a
# pseudo-terminal behind COM3 at 9600 baud (tests/sim/scenarios/gas-analyser-binary.scn:
# warm-up, calibration, ready). Checked from the simulator's log:
#   - F1 in the start menu opens the gas test: identification, check date, channel list,
#     then status polls, and once the analyser is ready status and values alternate (each
#     answer taken, the next request follows);
#   - Start (Alt+M) sends 'E'; measuring values follow, and with logging on "gas.log" holds
#     the readings the screen shows;
#   - Esc ends the test: the requests stop, the port is closed, and F1 opens the test again
#     on the same port, beginning with the identification.
# Screenshots go to <build>/artifacts/. Skips only when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"

station_open
on_cleanup() { rm -f "$bin/src/gas.log"; }
on_failure() {
  echo "--- COM3"
  tail -n 40 "$station/sim3.txt" || true
  station_output
}

# The gas analyser of model 0, binary protocol, COM3 at 9600 baud.
station_conf COMKYMRA TModCom 1
station_conf COMKYMRA TCOM 3
station_conf COMKYMRA TBRate 2
station_conf MODKYMRA Modello 0

station_sim 3 sim3.txt --scenario "$src/tests/sim/scenarios/gas-analyser-binary.scn"

# The binary commands asked so far, one a line.
asked() { sed -n 's/^request 49 \(.\).*$/\1/p' "$station/sim3.txt"; }
count() { asked | grep -c "^$1\$" || true; }
has_asked() { [ "$(count "$1")" -ge "$2" ]; }
total() { asked | wc -l; }

station_start

keys "$menu" F1
form=$(window "^Analisi Gas") || fail "F1 did not open the gas test"
waitfor 10 has_asked P 3 || fail "no values were asked"
[ "$(asked | head -n 4 | tr '\n' ' ')" = "1 . # ? " ] ||
  fail "the opening asked: $(asked | head -n 4 | tr '\n' ' ')"
# Ready: '?' and 'P' alternate, each request following the answer to the one before.
[ "$(asked | tail -n 4 | sort | uniq -c | awk '{print $1}' | tr '\n' ' ')" = "2 2 " ] ||
  fail "status and values do not alternate: $(asked | tail -n 6 | tr '\n' ' ')"
shot gas-window-ready

# Logging on (the button has no access key: a click on it), then Start.
log="$bin/src/gas.log"
xdotool mousemove --window "$form" 646 488 click 1
keys "$form" alt+m
waitfor 10 has_asked E 1 || fail "Start did not send 'E'"
before=$(count P)
waitfor 10 has_asked P $((before + 4)) || fail "no values while measuring"
sleep 0.5
shot gas-window-measuring
# The readings on the screen, as "gas.log" copies them: CO, CO2, HC and O2 of the
# scenario, engine speed 850 (idle) or 2500 (revved), the serial number last.
[ -s "$log" ] || fail "nothing was logged while measuring"
grep -qaP '^0\.(25|12)\t14\.6\t60\t0\.3\t- - -\t[0-9.]+\t1(\.0[01])?\t(850|2500)\t[0-9.]+\t' "$log" ||
  fail "the logged readings: $(head -n 2 "$log")"

keys "$form" Escape
station_closed "^Analisi Gas" "Esc did not close the gas test"
sleep 0.3
stopped=$(total)
sleep 1
[ "$(total)" -eq "$stopped" ] || fail "requests went on after Esc"

# The port was released: the test opens again on it, identification first.
keys "$menu" F1
form=$(window "^Analisi Gas") || fail "F1 did not open the gas test again"
waitfor 10 has_asked 1 2 || fail "the reopened test did not ask for identification"
[ "$(asked | sed -n "$((stopped + 1))p")" = "1" ] || fail "the reopened test did not begin with '1'"
keys "$form" Escape
sleep 0.5
station_quit
echo "gas window e2e: ok"
