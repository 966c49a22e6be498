#!/usr/bin/env bash
# The real program under Xvfb in a fresh station folder: the start menu comes up in Italian,
# takes its F-key and Ctrl-key shortcuts, opens the operator dialog from the keyboard,
# switches to English and Spanish (writing TLingua to Conf.ini at once), and ends with
# status 0 on Esc. Screenshots of the menu in each language go to <build>/artifacts/.
# Skips only when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"

station_open
on_failure() { station_output; }
conf_has() { grep -q -a "$1" "$station/Conf.ini"; }

station_start
shot menu-italiano

# F-key items open the forms of the tests and set-ups, each tried in its own run
# (gas_window_e2e.sh, gas_mcn_e2e.sh, rpm_e2e.sh); the menu keeps answering. F2 opens the
# gas-analyser set-up modally, and Esc closes it.
keys "$menu" F2
setup=$(window "^Analizzatore") || fail "F2 did not open the gas-analyser set-up"
keys "$setup" Escape
station_closed "^Analizzatore" "Esc did not close the gas-analyser set-up"
kill -0 "$pid" || fail "the program ended on an F key"

# Utilità > Dati Utente from the keyboard (Alt+U opens the menu, Down and Enter pick the
# first item): type an operator and apply with Enter.
keys "$menu" alt+u Down Return
dialog=$(window "^Dati Utente") || fail "the operator dialog did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 40 "Operatore Prova"
keys "$dialog" Return
waitfor 10 conf_has "Operatore=Operatore Prova" || fail "the operator was not saved"

keys "$menu" ctrl+e
waitfor 10 conf_has "TLingua=2" || fail "Ctrl+E did not write TLingua=2"
sleep 1
shot menu-english

keys "$menu" ctrl+s
waitfor 10 conf_has "TLingua=3" || fail "Ctrl+S did not write TLingua=3"
sleep 1
shot menu-espanol

keys "$menu" ctrl+e
station_quit
conf_has "TLingua=2" || fail "the language code was not saved at the end"
echo "menu e2e: ok"
