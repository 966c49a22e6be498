#!/usr/bin/env bash
# The real program under Xvfb opens the smoke test with F3 against a simulated MCTC-NET
# opacimeter on a pseudo-terminal behind the station's COM2 (the sample "Conf.ini": model 5
# on COM2). Checked from the simulator's log: the form keeps asking while it is open, and
# asks nothing more once "&ESC" has closed it (the port is released: a second opening
# asks again). A screenshot of the window goes to <build>/artifacts/.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"

station_open
on_failure() {
  tail -n 20 "$station/sim.txt" || true
  station_output
}

station_sim 2 sim.txt --device opa --protocol mctc --model 5

requests() { grep -c '^request OPA ' "$station/sim.txt" || true; }
at_least() { [ "$(requests)" -ge "$1" ]; }

station_start

keys "$menu" F3
form=$(window "^Analisi Fumo") || fail "the smoke test window did not open"
waitfor 10 at_least 20 || fail "the opacimeter was asked $(requests) times"
shot smoke-window

keys "$form" alt+e
sleep 0.5
before=$(requests)
sleep 1
[ "$(requests)" -eq "$before" ] || fail "requests went on after the window closed"

keys "$menu" F3
window "^Analisi Fumo" >/dev/null || fail "the smoke test window did not open again"
waitfor 10 at_least $((before + 10)) || fail "the second opening did not ask the opacimeter"
echo "ok: $(requests) requests"
