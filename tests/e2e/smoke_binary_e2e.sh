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
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"

station_open
on_failure() {
  echo "--- COM1"
  cat "$station/sim1.txt" || true
  station_output
}

# The opacimeter: model 0 on COM1, with the model and serial number the form shows.
station_conf MODOPA Modello 0
station_conf COMOPA TCOM 1
station_conf COMOPA Modello OPA-264
station_conf COMOPA Nserie AM123456
station_sim 1 sim1.txt --device opa --protocol binary --model 0

# The commands the opacimeter was asked, one a line, in order.
asked() { sed -n 's/^request 81 \(.\).*$/\1/p' "$station/sim1.txt"; }
count() { asked | grep -c "^$1\$" || true; }
has_asked() { [ "$(count "$1")" -ge "$2" ]; }

station_start
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
station_closed "^Analisi Fumo" "ESC did not close the smoke test form"
station_quit
echo "smoke binary e2e: ok"
