#!/usr/bin/env bash
# The real program under Xvfb sets up and runs the gas analyser over MCTC-NET. A simulated
# analyser plays the gas-analyser scenario (warm-up, auto-zero, measuring) on a
# pseudo-terminal behind the station's COM2; the station starts configured for a binary
# analyser. Checked from the simulator's log and "Conf.ini":
#   - F2 opens the set-up, "Rileva" asks COM2 "ID", and "Applica" stores the MCTC-NET model
#     the answer names, with the identity, in [COMKYMRA] and [MODKYMRA];
#   - F1 then opens the gas test, which talks MCTC-NET: identity, clock, P.E.F. and status
#     polling; "START MISURA" reads the leak check, which leads through auto-zero and the
#     HC residue check to readings while measuring.
# Screenshots go to <build>/artifacts/. Skips only when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"

station_open
# The station's settings with the analyser on COM2 at 9600 and a binary model stored.
station_conf COMKYMRA TCOM 2
station_conf COMKYMRA TModCom 1
station_conf MODKYMRA Modello 0
on_failure() {
  echo "--- COM2"
  cat "$station/sim.txt" || true
  echo "--- Conf.ini"
  cat "$station/Conf.ini" || true
  station_output
}

station_sim 2 sim.txt --scenario "$src/tests/sim/scenarios/gas-analyser.scn"
station_absent_ports 1 $(seq 3 16)

# The commands the analyser was asked, one a line, in order.
asked() { sed -n 's/^request GAS \([^ ]*\).*$/\1/p' "$station/sim.txt"; }
has_asked() { asked | grep -qx -- "$1"; }
# Whether the first command came before the second one, each at its first time.
asked_before() {
  local a b
  a=$(asked | grep -nx -- "$1" | head -n 1 | cut -d: -f1)
  b=$(asked | grep -nx -- "$2" | tail -n 1 | cut -d: -f1)
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ]
}

station_start

# F2: the set-up identifies the analyser and stores it.
keys "$menu" F2
setup=$(window "^Analizzatore") || fail "the gas-analyser set-up did not open"
sleep 0.5
keys "$setup" alt+r
waitfor 10 has_asked ID || fail "the set-up did not ask COM2 for the identity"
sleep 1
shot gas-setup-identified
keys "$setup" alt+a
box=$(window "^Vantoscope$") || fail "Applica showed no message"
keys "$box" Return
stored_model() { station_section MODKYMRA | grep -qx "Modello=3"; }
waitfor 10 stored_model || fail "Applica did not store the MCTC-NET model"
for setting in TModCom=2 Modello=TOPAZ TCOM=2; do
  station_section COMKYMRA | grep -qx "$setting" ||
    fail "$setting was not stored: $(station_section COMKYMRA)"
done
keys "$setup" Escape
station_closed "^Analizzatore" "Esc did not close the set-up"

# F1: the gas test over MCTC-NET, to measuring.
keys "$menu" F1
test_form=$(window "^Analisi Gas") || fail "the gas test did not open"
waitfor 15 has_asked @LU || fail "the gas test did not ask for the P.E.F."
waitfor 10 has_asked @VA || fail "the gas test did not poll the analyser"
keys "$test_form" alt+m
waitfor 10 has_asked ET || fail "Start did not read the leak check"
waitfor 10 asked_before ET AZ || fail "no auto-zero after the leak check"
waitfor 20 has_asked HC || fail "the gas test did not reach the HC residue check"
waitfor 10 asked_before HC @VA || fail "no readings after the HC residue check"
sleep 1
shot gas-test-measuring
# The set-up's question, then the test's opening.
[ "$(asked | head -n 5 | tr '\n' ' ')" = "ID ID @SD @LU @ST " ] ||
  fail "the opening was: $(asked | head -n 5 | tr '\n' ' ')"

keys "$test_form" Escape
station_closed "^Analisi Gas" "Esc did not close the gas test"
station_quit
echo "gas mcn e2e: ok"
