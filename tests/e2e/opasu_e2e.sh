#!/usr/bin/env bash
# The real program under Xvfb opens the opacimeter set-up with F4, identifies the opacimeter
# that a simulator plays on a pseudo-terminal behind COM2 (the station's stored port), and
# stores what it found with "Applica": the model it names is chosen in the list and both
# sections, [COMOPA] and [MODOPA], hold it. Checked from the simulator's log and Conf.ini.
# Screenshots go to <build>/artifacts/. Skips only when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"

station_open
on_failure() {
  echo "--- COM2"
  cat "$station/sim.txt" || true
  echo "--- Conf.ini"
  cat -A "$station/Conf.ini" | sed -n '/COMOPA/,/MODKYMRA/p' || true
  station_output
}
conf_has() { grep -q -a -x "$1"$'\r' "$station/Conf.ini"; }

station_sim 2 sim.txt --device opa --protocol mctc --model 5 --split 3 \
  --reply "ID=KARVESTON|OPA-735/HD  |OM-9|AN555|01022031|3.2|7"
station_start
keys "$menu" F4
form=$(window "^Opacimetro") || fail "F4 did not open the opacimeter set-up"
sleep 0.5
shot opasu-opened

keys "$form" alt+r
waitfor 10 grep -q "request OPA ID" "$station/sim.txt" || fail "the set-up did not ask the opacimeter"
sleep 1
shot opasu-identified

keys "$form" alt+a
box=$(window "^Vantoscope") || fail "no message after saving"
shot opasu-saved
keys "$box" Return
waitfor 10 conf_has "Nserie=AN555" || fail "the serial number was not saved"
conf_has "Modello=OPA-735/HD" || fail "the model text was not saved"
conf_has "Scadenza=01/02/2031" || fail "the check expiry was not saved"
conf_has "TModCom=1" || fail "the binary protocol of the model was not saved"
conf_has "Modello=2" || fail "the model index was not saved"
conf_has "TCOM=2" || fail "the port was not saved"

keys "$form" Escape
station_closed "^Opacimetro" "Esc did not close the set-up"
station_quit
echo "opasu e2e: ok"
