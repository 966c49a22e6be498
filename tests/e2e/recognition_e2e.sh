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
e2e_under_xvfb "$@"

program="$bin/src/vantoscope"
sim="$bin/tests/vantoscope-sim"
[ -x "$program" ] || fail "no program at $program"
[ -x "$sim" ] || fail "no simulator at $sim"

station=$(mktemp -d)
sims=()
cleanup() {
  kill "${pid:-}" 2>/dev/null || true
  for s in "${sims[@]}"; do kill "$s" 2>/dev/null || true; done
  rm -rf "$station"
}
trap cleanup EXIT
cp "$src/data/Conf.ini" "$src/data/Lingua.ini" "$station/"
cd "$station"
on_failure() {
  for n in 1 2 5; do echo "--- COM$n"; cat "$station/sim$n.txt" || true; done
  tail -n 40 "$station/out.txt" 2>/dev/null || true
}

# The instruments, each on its own pseudo-terminal behind COM<n>.
start_sim() {
  local port=$1
  shift
  "$sim" "$@" --protocol mctc --pty --link "$station/COM$port" >"$station/sim$port.txt" 2>&1 &
  sims+=($!)
}
start_sim 1 --device gas --silent
start_sim 2 --device gas
start_sim 5 --device rpm --reply "ID=GIRITEC|RX-2|OM-0815|R0042|01022031|2.5|7"
for n in 3 4 $(seq 6 16); do ln -s "$station/absent" "$station/COM$n"; done
for n in 1 2 5; do
  waitfor 10 test -L "$station/COM$n" || fail "the simulator on COM$n did not start"
done

# The addresses asked on COM<n>, one a line, in order.
asked() { sed -n 's/^request \([A-Z]*\) ID$/\1/p' "$station/sim$1.txt"; }
count() { asked "$1" | grep -c "^$2\$" || true; }
has_asked() { [ "$(count "$1" "$2")" -ge "$3" ]; }

"$program" >"$station/out.txt" 2>&1 &
pid=$!

menu=$(window "^Start men") || fail "the start menu did not appear"
sleep 1

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
waitfor 10 bash -c "! xdotool search --onlyvisible --name '^Lettura COM' >/dev/null" ||
  fail "Esc outside a scan did not close the recognition form"

keys "$menu" Escape
status=0
waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "recognition e2e: ok"
