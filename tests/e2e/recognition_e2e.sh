#!/usr/bin/env bash
# The real program under Xvfb scans a station's serial ports from "Utilità > Lettura COM".
# Simulated instruments answer on pseudo-terminals behind the station's COM links: a silent
# line on COM1, a gas analyser on COM2, an engine-speed counter on COM5; the other COM links
# point nowhere, so those ports cannot be opened. Checked from the simulators' logs:
#   - a full scan asks COM1 "GAS", "OPA", "RPM" (nobody answers), COM2 only "GAS" (answered
#     at once) and COM5 "GAS", "OPA", "RPM" (the counter answers the last);
#   - a scan stopped with Esc while COM1 is open releases it: the next scan asks COM1 again.
# Screenshots of the report go to <build>/artifacts/. Skips only when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"

station_open
on_failure() {
  for n in 1 2 5; do echo "--- COM$n"; cat "$station/sim$n.txt" || true; done
  station_output
}

# The instruments, each on its own pseudo-terminal behind COM<n>.
station_sim 1 sim1.txt --device gas --silent --protocol mctc
station_sim 2 sim2.txt --device gas --protocol mctc
station_sim 5 sim5.txt --device rpm --reply "ID=GIRITEC|RX-2|OM-0815|R0042|01022031|2.5|7" --protocol mctc
station_absent_ports 3 4 $(seq 6 16)

# The addresses asked on COM<n>, one a line, in order.
asked() { sed -n 's/^request \([A-Z]*\) ID$/\1/p' "$station/sim$1.txt"; }
count() { asked "$1" | grep -c "^$2\$" || true; }
has_asked() { [ "$(count "$1" "$2")" -ge "$3" ]; }

station_start

# Utilità > Lettura COM, the third item.
keys "$menu" alt+u Down Down Down Return
form=$(window "^Lettura COM") || fail "the recognition form did not open"
sleep 0.5
shot recognition-before

# A full scan. COM5 is the last port that opens; the eleven unopenable ports after it take
# one tick (0.5 s) each, and one more tick ends the scan.
keys "$form" alt+r
waitfor 10 has_asked 2 GAS 1 || fail "the scan did not reach COM2"
shot recognition-scanning
waitfor 30 has_asked 5 RPM 1 || fail "COM5 was not asked for an engine-speed counter"
sleep 7
shot recognition-report
[ "$(asked 1 | tr '\n' ' ')" = "GAS OPA RPM " ] || fail "COM1 was asked: $(asked 1 | tr '\n' ' ')"
[ "$(asked 2 | tr '\n' ' ')" = "GAS " ] || fail "COM2 was asked: $(asked 2 | tr '\n' ' ')"
[ "$(asked 5 | tr '\n' ' ')" = "GAS OPA RPM " ] || fail "COM5 was asked: $(asked 5 | tr '\n' ' ')"

# The start button is enabled again once the scan has ended (Alt+R does nothing before): a
# second scan, stopped while COM1 is under test.
for ((k = 0; k < 20; k++)); do
  has_asked 1 GAS 2 && break
  keys "$form" alt+r
  sleep 1
done
has_asked 1 GAS 2 || fail "the second scan did not start"
keys "$form" Escape
sleep 1.5
[ "$(count 2 GAS)" -eq 1 ] || fail "Esc did not stop the scan on COM1"
shot recognition-stopped

# The next scan opens COM1 again.
keys "$form" alt+r
waitfor 10 has_asked 1 GAS 3 || fail "the scan after Esc did not ask COM1 again"
waitfor 10 has_asked 2 GAS 2 || fail "the scan after Esc did not go on to COM2"
keys "$form" Escape
sleep 0.5
keys "$form" Escape
station_closed "^Lettura COM" "Esc outside a scan did not close the recognition form"

station_quit
echo "recognition e2e: ok"
