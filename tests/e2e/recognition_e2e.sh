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

if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "skipped: no Xvfb (xvfb-run not found)"
  exit 0
fi

src=${VS_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
bin=${VS_BINARY_DIR:-$src/build/test}
program="$bin/src/vantoscope"
sim="$bin/tests/vantoscope-sim"
shots="$bin/artifacts"
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }
[ -x "$sim" ] || { echo "no simulator at $sim" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is missing" >&2; exit 1; }

station=$(mktemp -d)
sims=()
cleanup() {
  for s in "${sims[@]}"; do kill "$s" 2>/dev/null || true; done
  rm -rf "$station"
}
trap cleanup EXIT
cp "$src/data/Conf.ini" "$src/data/Lingua.ini" "$station/"
mkdir -p "$shots"

# The instruments, each on its own pseudo-terminal behind COM<n>.
start_sim() {
  local port=$1; shift
  "$sim" "$@" --protocol mctc --pty --link "$station/COM$port" >"$station/sim$port.txt" 2>&1 &
  sims+=($!)
}
start_sim 1 --device gas --silent
start_sim 2 --device gas
start_sim 5 --device rpm --reply "ID=GIRITEC|RX-2|OM-0815|R0042|01022031|2.5|7"
for n in 3 4 $(seq 6 16); do ln -s "$station/absent" "$station/COM$n"; done
for n in 1 2 5; do
  for ((i = 0; i < 100; i++)); do [ -L "$station/COM$n" ] && break; sleep 0.1; done
  [ -L "$station/COM$n" ] || { echo "the simulator on COM$n did not start" >&2; exit 1; }
done

# The part that runs inside the X server.
cat >"$station/inside.sh" <<'INSIDE'
set -euo pipefail
program=$1 station=$2 shots=$3
cd "$station"
fail() {
  echo "FAIL: $*" >&2
  kill "$pid" 2>/dev/null || true
  for n in 1 2 5; do echo "--- COM$n" >&2; cat "$station/sim$n.txt" >&2 || true; done
  tail -n 40 "$station/out.txt" >&2 2>/dev/null || true
  exit 1
}
# Waits (at most $1 seconds) until the command after it succeeds.
waitfor() {
  local limit=$(($1 * 10)); shift
  for ((i = 0; i < limit; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}
window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
keys() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  shift
  xdotool key --clearmodifiers --delay 80 "$@"
}
shot() {
  if command -v import >/dev/null; then
    import -window root "$shots/recognition-$1.png"
  elif command -v xwd >/dev/null; then
    xwd -root -silent >"$shots/recognition-$1.xwd"
  else
    fail "no screenshot tool (import or xwd)"
  fi
}
# The addresses asked on COM<n>, one a line, in order.
asked() { sed -n 's/^request \([A-Z]*\) ID$/\1/p' "$station/sim$1.txt"; }
count() { asked "$1" | grep -c "^$2\$" || true; }
has_asked() { [ "$(count "$1" "$2")" -ge "$3" ]; }

"$program" >"$station/out.txt" 2>&1 &
pid=$!

menu=$(window "^Start men") || fail "the start menu did not appear"
[ -n "$menu" ] || fail "the start menu did not appear"
sleep 1

# Utilità > Lettura COM, the third item.
keys "$menu" alt+u Down Down Down Return
form=$(window "^Lettura COM") || fail "the recognition form did not open"
[ -n "$form" ] || fail "the recognition form did not open"
sleep 0.5
shot before

# A full scan. COM5 is the last port that opens; the eleven unopenable ports after it take
# one tick (0.5 s) each, and one more tick ends the scan.
keys "$form" alt+r
waitfor 10 has_asked 2 GAS 1 || fail "the scan did not reach COM2"
shot scanning
waitfor 30 has_asked 5 RPM 1 || fail "COM5 was not asked for an engine-speed counter"
sleep 7
shot report
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
shot stopped

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
INSIDE

timeout 240 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$station/inside.sh" "$program" "$station" "$shots"
