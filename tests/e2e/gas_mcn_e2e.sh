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
e2e_under_xvfb "$@"

program="$bin/src/vantoscope"
sim="$bin/tests/vantoscope-sim"
[ -x "$program" ] || fail "no program at $program"
[ -x "$sim" ] || fail "no simulator at $sim"

station=$(mktemp -d)
cleanup() {
  kill "${pid:-}" 2>/dev/null || true
  kill "${simpid:-}" 2>/dev/null || true
  rm -rf "$station"
}
trap cleanup EXIT
cp "$src/data/Lingua.ini" "$station/"
# The station's settings with the analyser on COM2 at 9600 and a binary model stored.
sed -e '/^\[COMKYMRA\]/,/^\[/ s/^TCOM=.*/TCOM=2/' -e '/^\[COMKYMRA\]/,/^\[/ s/^TModCom=.*/TModCom=1/' \
  -e '/^\[MODKYMRA\]/,/^\[/ s/^Modello=.*/Modello=0/' "$src/data/Conf.ini" >"$station/Conf.ini"
cd "$station"
on_failure() {
  echo "--- COM2"
  cat "$station/sim.txt" || true
  echo "--- Conf.ini"
  cat "$station/Conf.ini" || true
  tail -n 40 "$station/out.txt" 2>/dev/null || true
}

"$sim" --scenario "$src/tests/sim/scenarios/gas-analyser.scn" --pty --link "$station/COM2" \
  >"$station/sim.txt" 2>&1 &
simpid=$!
waitfor 10 test -L "$station/COM2" || fail "the simulator on COM2 did not start"
for n in 1 $(seq 3 16); do ln -s "$station/absent" "$station/COM$n"; done

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
section() { sed -n "/^\\[$1\\]/,/^\\[/p" "$station/Conf.ini" | tr -d '\r'; }

"$program" >"$station/out.txt" 2>&1 &
pid=$!
menu=$(window "^Start men") || fail "the start menu did not appear"
sleep 1

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
waitfor 10 bash -c "grep -q '^Modello=3' <(sed -n '/^\\[MODKYMRA\\]/,/^\\[/p' '$station/Conf.ini' | tr -d '\\r')" ||
  fail "Applica did not store the MCTC-NET model"
section COMKYMRA | grep -qx "TModCom=2" || fail "the protocol was not stored: $(section COMKYMRA)"
section COMKYMRA | grep -qx "Modello=TOPAZ" || fail "the identity was not stored: $(section COMKYMRA)"
section COMKYMRA | grep -qx "TCOM=2" || fail "the port was not stored: $(section COMKYMRA)"
keys "$setup" Escape
waitfor 10 bash -c "! xdotool search --onlyvisible --name '^Analizzatore' >/dev/null" ||
  fail "Esc did not close the set-up"

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
waitfor 10 bash -c "! xdotool search --onlyvisible --name '^Analisi Gas' >/dev/null" ||
  fail "Esc did not close the gas test"
keys "$menu" Escape
status=0
waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "gas mcn e2e: ok"
