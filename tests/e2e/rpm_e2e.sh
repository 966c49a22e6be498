#!/usr/bin/env bash
# The real program under Xvfb polls an engine-speed counter from "Rpm > Misura" (F5). A
# simulated counter answers on a pseudo-terminal behind the station's COM3 and revs the
# engine from idle to 3000 rpm between its 10th and 20th request. Checked:
#   - the form tells the counter the cylinders ("CI 4") and strokes ("TE 4") of the
#     station's settings, then polls engine speed and oil temperature ("VE") every 300 ms;
#   - the window's readings change while the engine revs (two pictures of it differ);
#   - "ESC" closes the form and its port: the polls stop, and the program ends cleanly.
# Screenshots go to <build>/artifacts/. Skips only when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"

station_open
on_failure() {
  echo "--- COM3"
  cat "$station/sim3.txt" || true
  station_output
}
# The station's counter: COM3, 9600 baud, 4 cylinders, 4 strokes; poll both quantities.
station_section RPM | grep -qx 'TCOMrpm=3' || fail "the station's counter is not on COM3"
station_conf RPM SelrpmT 1

station_sim 3 sim3.txt --device rpm --protocol mctc \
  --scenario "$src/tests/sim/scenarios/engine-speed.scn"

# The requests the counter saw, one a line ("CI 4", "VE").
requests() { sed -n 's/^request RPM \(.*\)$/\1/p' "$station/sim3.txt" | tr '|' ' '; }
polls() { requests | grep -c '^VE$' || true; }
has_polled() { [ "$(polls)" -ge "$1" ]; }

station_start

keys "$menu" F5
form=$(window "^  RPM$") || fail "F5 did not open the engine-speed form"
waitfor 10 has_polled 2 || fail "the counter was not polled"
[ "$(requests | head -n 3 | tr '\n' ',')" = "CI 4,TE 4,VE," ] ||
  fail "the form began with: $(requests | head -n 3 | tr '\n' ',')"
import -window "$form" "$shots/rpm-idle.png"
waitfor 15 has_polled 20 || fail "the polls stopped: $(polls)"
sleep 0.5
import -window "$form" "$shots/rpm-revved.png"
shot rpm-form
cmp -s "$shots/rpm-idle.png" "$shots/rpm-revved.png" &&
  fail "the engine-speed window did not change while the engine revved"

keys "$form" alt+e
station_closed "^  RPM$" "ESC did not close the engine-speed form"
sleep 0.5
before=$(polls)
sleep 1.5
[ "$(polls)" -eq "$before" ] || fail "the counter was still polled after the form closed"

station_quit
echo "rpm e2e: ok"
