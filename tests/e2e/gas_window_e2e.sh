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
e2e_under_xvfb "$@"

program="$bin/src/vantoscope"
sim="$bin/tests/vantoscope-sim"
[ -x "$program" ] || fail "no program at $program"
[ -x "$sim" ] || fail "no simulator at $sim"

station=$(mktemp -d)
cleanup() {
  kill "${pid:-}" 2>/dev/null || true
  rm -f "$bin/src/gas.log"
  kill "${simpid:-}" 2>/dev/null || true
  rm -rf "$station"
}
trap cleanup EXIT
cp "$src/data/Conf.ini" "$src/data/Lingua.ini" "$station/"
cd "$station"
on_failure() {
  echo "--- COM3"
  tail -n 40 "$station/sim3.txt" || true
  tail -n 40 "$station/out.txt" 2>/dev/null || true
}

# The gas analyser of model 0, binary protocol, COM3 at 9600 baud.
python3 - "$station/Conf.ini" <<'PY'
import re, sys
path = sys.argv[1]
text = open(path, encoding="cp1252", newline="").read()
def section(name, key, value, text):
    head = "[" + name + "]"
    start = text.index(head)
    end = text.find("\n[", start)
    end = len(text) if end < 0 else end
    body = re.sub(r"(?m)^" + key + r"=[^\r\n]*", key + "=" + value, text[start:end])
    return text[:start] + body + text[end:]
for key, value in (("TModCom", "1"), ("TCOM", "3"), ("TBRate", "2")):
    text = section("COMKYMRA", key, value, text)
text = section("MODKYMRA", "Modello", "0", text)
open(path, "w", encoding="cp1252", newline="").write(text)
PY

"$sim" --scenario "$src/tests/sim/scenarios/gas-analyser-binary.scn" --pty \
  --link "$station/COM3" >"$station/sim3.txt" 2>&1 &
simpid=$!
waitfor 10 test -L "$station/COM3" || fail "the simulator on COM3 did not start"

# The binary commands asked so far, one a line.
asked() { sed -n 's/^request 49 \(.\).*$/\1/p' "$station/sim3.txt"; }
count() { asked | grep -c "^$1\$" || true; }
has_asked() { [ "$(count "$1")" -ge "$2" ]; }
total() { asked | wc -l; }

"$program" >"$station/out.txt" 2>&1 &
pid=$!
menu=$(window "^Start men") || fail "the start menu did not appear"
sleep 1

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
waitfor 10 bash -c "! xdotool search --onlyvisible --name '^Analisi Gas' >/dev/null" ||
  fail "Esc did not close the gas test"
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
keys "$menu" Escape
status=0
waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "gas window e2e: ok"
