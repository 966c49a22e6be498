#!/usr/bin/env bash
# The real program under Xvfb runs a smoke test with a binary opacimeter of model 0 (address
# 'Q') on COM1, a simulator behind a pseudo-terminal. F3 opens the smoke test form; its
# first tick shows the start notice, and nothing goes out while the notice is open (three
# seconds here). After it is closed the simulator's log shows the conversation: the serial
# number '1' once, the expiry date 'a', the channel list '#' (count 8, channels 3 5 6 0 2 8
# 1 7), the status '?', then the readings 'P' and the status in turn. Screenshots of the
# notice and of the form with its identity and readings go to <build>/artifacts/. Skips only when Xvfb is
# not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_under_xvfb "$@"

program="$bin/src/vantoscope"
sim="$bin/tests/vantoscope-sim"
[ -x "$program" ] || fail "no program at $program"
[ -x "$sim" ] || fail "no simulator at $sim"

station=$(mktemp -d)
simpid=
cleanup() {
  kill "${pid:-}" 2>/dev/null || true
  [ -n "$simpid" ] && kill "$simpid" 2>/dev/null || true
  rm -rf "$station"
}
trap cleanup EXIT
cp "$src/data/Conf.ini" "$src/data/Lingua.ini" "$station/"
cd "$station"
on_failure() {
  echo "--- COM1"
  cat "$station/sim1.txt" || true
  tail -n 40 "$station/out.txt" 2>/dev/null || true
}

# The opacimeter: model 0 on COM1, with the model and serial number the form shows (the
# file's lines end in CR LF).
sed -i -e '/^\[MODOPA\]/,/^\[/ s/^Modello=.*\r$/Modello=0\r/' \
  -e '/^\[COMOPA\]/,/^\[/ s/^TCOM=.*\r$/TCOM=1\r/' \
  -e '/^\[COMOPA\]/,/^\[/ s/^Modello=.*\r$/Modello=OPA-264\r/' \
  -e '/^\[COMOPA\]/,/^\[/ s/^Nserie=.*\r$/Nserie=AM123456\r/' "$station/Conf.ini"
grep -a -A1 '^\[MODOPA\]' "$station/Conf.ini" | grep -q -a '^Modello=0' ||
  fail "Conf.ini: no model 0"
"$sim" --device opa --protocol binary --model 0 --pty --link "$station/COM1" \
  >"$station/sim1.txt" 2>&1 &
simpid=$!
waitfor 10 test -L "$station/COM1" || fail "the simulator on COM1 did not start"

# The commands the opacimeter was asked, one a line, in order.
asked() { sed -n 's/^request 81 \(.\).*$/\1/p' "$station/sim1.txt"; }
count() { asked | grep -c "^$1\$" || true; }
has_asked() { [ "$(count "$1")" -ge "$2" ]; }

"$program" >"$station/out.txt" 2>&1 &
pid=$!

menu=$(window "^Start men") || fail "the start menu did not appear"
sleep 1
keys "$menu" F3
form=$(window "^Analisi Fumo") || fail "F3 did not open the smoke test form"
notice=$(window "^Vantoscope") || fail "the start notice did not appear"
sleep 3
shot smoke-binary-notice
[ -z "$(asked)" ] || fail "requests went out behind the start notice: $(asked | tr '\n' ' ')"
keys "$notice" Return

waitfor 15 has_asked P 3 || fail "no readings were asked"
sleep 1
shot smoke-binary-readings
[ "$(asked | head -n 5 | tr '\n' ' ')" = "1 a # ? P " ] ||
  fail "the conversation began: $(asked | head -n 8 | tr '\n' ' ')"
[ "$(count 1)" -eq 1 ] || fail "the serial number was asked $(count 1) times"
grep -q -a '^request 81 # \\x08\\x03\\x05\\x06\\x00\\x02\\x08\\x01\\x07$' "$station/sim1.txt" ||
  fail "no channel list of channels 3 5 6 0 2 8 1 7"
# Ready: readings and status alternate, each reply handled before the next request.
[ "$(asked | sed -n '5,10p' | tr '\n' ' ')" = "P ? P ? P ? " ] ||
  fail "readings and status did not alternate: $(asked | tr '\n' ' ')"
kill -0 "$pid" || fail "the program ended"

keys "$form" alt+e # "&ESC" closes the smoke test form
waitfor 10 bash -c "! xdotool search --onlyvisible --name '^Analisi Fumo' >/dev/null" ||
  fail "ESC did not close the smoke test form"
keys "$menu" Escape
status=0
waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "smoke binary e2e: ok"
