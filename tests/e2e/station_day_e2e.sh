#!/usr/bin/env bash
# One operator's day at the station under Xvfb, driven only by keys, with simulated instruments
# on pseudo-terminals behind COM1 (gas analyser), COM2 (opacimeter) and COM3 (engine-speed
# counter, MCTC-NET) and a private CUPS server that prints PDF files (lib.sh: e2e_printer).
#   station_day_e2e.sh [mcn|binary]: the gas analyser over MCTC-NET and the opacimeter over the
#   binary protocol (mcn, the default), or the other way round (binary).
# The day: English, the operator and ambient data, the port scan (it finds the MCTC-NET
# instruments only), F2/F4/F6 identify and store the instruments (a binary one cannot be asked
# and keeps the model the station knew), a gas test of a petrol car with catalyst to its passed
# certificate, printed with the diagnosis sheet, a timed smoke series to its passed verdict and
# report B, printed, the engine speed (F5), Esc. Each port is opened by the scan, the set-up and
# the test in turn: a window that kept its port (held exclusively) would stop the next one.
# Screenshots of every window and the printed files go to <build>/artifacts/station-<mode>-*.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
E2E_SECONDS=400 e2e_under_xvfb "$@"
[ "${1:-}" = "--inside" ] && shift
mode=${1:-mcn}
case $mode in
  mcn) gas_protocol=mctc opa_protocol=binary ;;
  binary) gas_protocol=binary opa_protocol=mctc ;;
  *) fail "unknown protocols '$mode' (mcn or binary)" ;;
esac
e2e_station
trap 'kill ${pid:-} "${sims[@]}" 2>/dev/null; printer_stop; rm -rf "$station"' EXIT
# The program runs from the station folder, where it keeps its logs: they are this run's own.
cd "$station"
shopt -s nullglob
keep_printed() { local n=0 f; for f in "$printed"/*.pdf; do cp "$f" "$shots/station-$mode-printed-$((++n)).pdf"; done; }
on_failure() { keep_printed; for f in sim{1,2,3}.txt out.txt Conf.ini; do echo "--- $f" && tail -n 80 "$f"; done; }
e2e_printer "$station"

# Conf.ini (CR LF lines): a key's value, and setting keys (SECTION KEY VALUE...).
conf() { sed -n "/^\\[$1\\]/,/^\\[/p" Conf.ini | tr -d '\r' | sed -n "s/^$2=//p" | head -n 1; }
conf_set() {
  while (($#)); do
    sed -i "/^\\[$1\\]/,/^\\[/ s/^$2=.*\\r\$/$2=$3\\r/" Conf.ini
    [ "$(conf "$1" "$2")" = "$3" ] || fail "Conf.ini: could not set [$1] $2"
    shift 3
  done
}
# What each step stores: STEP SECTION KEY VALUE (a pattern), SECTION "report.log" naming that
# file's keys. expect STEP waits (at most 10 s) until all the step's values are there.
expected() {
  grep "^$1 " <<'ROWS' | cut -d' ' -f2-
english LINGUA TLingua 2
operator UTENTE Operatore Ada Rossi
operator UTENTE ResponsabileTecn Bruno Verdi
operator UTENTE Ente Officina Nord
ambient AMBIENTE Temperatura 23
ambient AMBIENTE Pressione 99,8
gas-setup-mctc MODKYMRA Modello 3
gas-setup-mctc COMKYMRA TModCom 2
gas-setup-mctc COMKYMRA Modello TOPAZ
gas-setup-binary MODKYMRA Modello 0
gas-setup-binary COMKYMRA TModCom 1
opacimeter-setup-mctc MODOPA Modello 5
opacimeter-setup-mctc COMOPA TModCom 2
opacimeter-setup-mctc COMOPA Nserie OP777001
opacimeter-setup-binary MODOPA Modello 0
opacimeter-setup-binary COMOPA TModCom 1
rpm-setup-mctc RPM Nserie R0042
vehicle VEICOLO Targa AB123CD
certificate report.log Result TEST PASSED
certificate report.log Plate AB123CD
certificate report.log Fuel PETROL CAT
certificate report.log Tech Bruno Verdi
certificate report.log Agency Officina Nord
certificate report.log AmbTemp 23
certificate report.log RPM ?*
report-b report.log Result PASSED
ROWS
}
actual() {
  expected "$1" | while read -r s k _; do echo "$s $k $([ "$s" = report.log ] && report "$k" || conf "$s" "$k")"; done
}
report() { tr -d '\r' <report.log | sed -n "s/^$1=//p"; }
stored() { [[ $(actual "$1") == $(expected "$1") ]]; }
expect() { waitfor 10 stored "$1" || fail "after $1: $(diff <(expected "$1") <(actual "$1"))"; }

# The gas test's measuring window: 200 ticks of 25 ms; the raised idle from 800 rpm, so that
# the simulated engine's steady 850 rpm passes. The station knew binary instruments of model 0.
conf_set IA MCS 200 IA CGLPP 800 COMKYMRA TModCom 1 MODKYMRA Modello 0 COMOPA TModCom 1 MODOPA Modello 0

start_sim() { "$sim" "${@:2}" --pty --link "$station/COM$1" >"sim$1.txt" 2>&1 & sims+=($!); }
start_sim 1 --scenario "$src/tests/sim/scenarios/gas-analyser$([ "$gas_protocol" = binary ] && echo -binary).scn"
if [ "$opa_protocol" = mctc ]; then
  start_sim 2 --device opa --protocol mctc --model 5 --reply "ID=KARVESTON|OPA-150|OM-4712|OP777001|31122030|2.1|7"
else start_sim 2 --device opa --protocol binary --model 0; fi
start_sim 3 --device rpm --protocol mctc --reply "ID=GIRITEC|RX-2|OM-0815|R0042|01022031|2.5|7"
for n in $(seq 4 16); do ln -s "$station/absent" "COM$n"; done
for n in 1 2 3; do waitfor 10 test -L "COM$n" || fail "the simulator on COM$n did not start"; done

# The MCTC-NET requests COM$1 saw for address $2 ("GAS", "OPA", "RPM"), one a line; whether
# one was $3; whether COM$1 was polled for readings (@VA over MCTC-NET, else the binary P).
mcn_asked() { sed -n "s/^request $2 \\([^ ]*\\).*\$/\\1/p" "sim$1.txt"; }
asked() { mcn_asked "$1" "$2" | grep -qx -- "$3"; }
polled() { if [ "$3" = mctc ]; then asked "$1" "$2" @VA; else grep -q '^request [0-9]* P' "sim$1.txt"; fi; }

step=0
rm -f "$shots"/station-"$mode"-*
# A screenshot named after the run, its order in the day and $1, after $2 seconds.
snap() {
  sleep "${2:-0}" && step=$((step + 1)) && printf -v f '%s/station-%s-%02d-%s.png' "$shots" "$mode" "$step" "$1"
  import -window root "$f" && [ -s "$f" ] || fail "no screenshot $f"
}
# Presses keys $3... in window $1 and waits for a window titled $2 (its id in $win).
open_win() { keys "$1" "${@:3}" && win=$(window "$2") && sleep 1 || fail "${*:3} did not open '$2'"; }
# Presses key $3 in window $1 and waits until no window titled $2 is shown.
close_win() { keys "$1" "$3" && gone "$2" || fail "$3 did not close '$2'"; }
# Opens window $2 with keys $4 in window $1, types texts $5... into its boxes (Tab after
# each, a box's old text goes first), screenshot $3, Enter applies, then expect $3.
data() {
  open_win "$1" "$2" $4
  for text in "${@:5}"; do
    keys "$win" End shift+Home BackSpace && xdotool type --delay 30 "$text" && keys "$win" Tab
  done
  snap "$3" 0.3
  close_win "$win" "$2" Return
  expect "$3"
}
# Waits for the program's message box, screenshot $1, Enter closes it.
answer() { box=$(window "^Vantoscope$") && snap "$1" 0.5 && keys "$box" Return || fail "no message box for $1"; }
# The colour of the screen's pixel at $1,$2 ("#RRGGBB").
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1; }
# Presses Tab in window $1 until the pixel at $2,$3 turns navy, the selection colour of a
# list that has the focus (at most 15 times), then opens the list and picks with keys $4...
pick() {
  for ((i = 0; i < 15; i++)); do [ "$(pixel "$2" "$3")" = "#000080" ] && break || keys "$1" Tab && sleep 0.3; done
  [ "$(pixel "$2" "$3")" = "#000080" ] || fail "Tab never reached the list at $2,$3"
  keys "$1" space && sleep 0.5 && keys "$1" "${@:4}" && sleep 0.5
}
# The set-up window $2 opened with key $1 for address $3 on COM$4 over protocol $5: over
# MCTC-NET, Identify asks the instrument (the scan asked once before) and Apply stores it and
# says so; screenshots and the expected values named after $6.
setup() {
  open_win "$menu" "$2" "$1"
  snap "$6"
  if [ "$5" = mctc ]; then
    keys "$win" alt+i
    waitfor 10 bash -c "[ \$(grep -cx 'request $3 ID' sim$4.txt) -ge 2 ]" || fail "the set-up did not ask $3"
    snap "$6-identified" 1
    keys "$win" alt+a && answer "$6-stored"
  fi
  close_win "$win" "$2" Escape
  expect "$6-$5"
}
# Tab from the copies box (one copy) to the print button of window $win, Enter; then waits (at
# most 60 s) until that sheet is printed (with CUPS: no job left queued) and the newest
# printed file's text holds each text after $1 (what it is).
print_sheet() {
  keys "$win" Tab Return && sheets=$((${sheets:-0} + 1))
  waitfor 60 eval '[ $(ls "$printed" | grep -c "\.pdf$") -ge $sheets ] &&
    { [ $printer_kind != cups ] || [ -z "$(lpstat -o 2>/dev/null)" ]; }' || fail "the $1 was not printed"
  text=$(pdftotext -layout "$(ls -t "$printed"/*.pdf | head -n 1)" -)
  for want in "${@:2}"; do grep -qF -- "$want" <<<"$text" || fail "the printed $1 lacks '$want': $text"; done
}

./vantoscope >out.txt 2>&1 & pid=$!
menu=$(window "^Start men") || fail "the start menu did not appear"
snap menu 1
keys "$menu" ctrl+e
expect english
snap menu-english 0.5
data "$menu" "^User Data" operator "alt+u Down Return" "Ada Rossi" "Bruno Verdi" "Officina Nord"
data "$menu" "^Ambient Data" ambient "alt+u Down Down Return" 23 "99,8" 61

# The port scan asks every port for "GAS", "OPA" and "RPM" in turn; an MCTC-NET instrument
# answers the first question meant for it, and its port is asked nothing more.
open_win "$menu" "^COM Scan" alt+u Down Down Down Return
keys "$win" Return
waitfor 10 asked 3 RPM ID || fail "the scan did not reach COM3"
sleep 8 # the unopenable ports 4 to 16 take a tick each
snap port-scan
[ "$gas_protocol" = mctc ] && set -- 1 GAS OPA || set -- 2 OPA RPM
[ "$(mcn_asked "$1" "$2" | tr '\n' ' ')/$(mcn_asked "$1" "$3")" = "ID /" ] ||
  fail "the scan asked COM$1's $2 $(mcn_asked "$1" "$2" | tr '\n' ' '), then $3 $(mcn_asked "$1" "$3")"
close_win "$win" "^COM Scan" Escape

setup F2 "^Analyser" GAS 1 "$gas_protocol" gas-setup
setup F4 "^Smoke Meter" OPA 2 "$opa_protocol" opacimeter-setup
setup F6 "^RPM$" RPM 3 mctc rpm-setup
asked 3 RPM TE || fail "the counter was not told the strokes"

open_win "$menu" "^Gas Analysis" F1 && gas=$win
waitfor 15 polled 1 GAS "$gas_protocol" || fail "the gas test did not poll the analyser"
snap gas-test 0.5
# The mode list: certification (its first entry). Then Tab on to the logging button, which
# Space switches on, over the buttons enabled in between (stand-by and leak test only over
# MCTC-NET, printing not in certification mode).
pick "$gas" 700 528 Up Return
keys "$gas" Tab Tab Tab Tab $([ "$gas_protocol" = mctc ] && echo Tab Tab) space
snap gas-test-set 0.5
data "$gas" "^Vehicle Data" vehicle alt+v "Fiat Panda" AB123CD ZFA16900000123456 2009 "1.2 8V"
keys "$gas" alt+s
waitfor 30 test -s gas.log || fail "nothing was logged while measuring"
snap gas-measuring 2
# The readings on the screen as the log copies them: CO, CO2, HC, O2, NOx, corrected CO,
# lambda, engine speed and oil temperature, the date and time, and the serial number of the
# last instrument identified: the analyser's own over MCTC-NET (the test asks for it), the
# counter's with the binary analyser (its identity goes elsewhere).
[ "$gas_protocol" = mctc ] && serial=AQ123456 || serial=R0042
grep -qaP "^0\\.[0-9]+\\t14\\.[56]\\t(([0-9.]+|- - -)\\t){7}\\d\\d/\\d\\d/\\d{4} [\\d:]{8}\\t$serial \\r\$" gas.log ||
  fail "the logged readings: $(head -n 2 gas.log)"
# The verdict takes idle, then raised idle; Print (Alt+P) is refused until then, and then
# writes "report.log" and shows the certificate.
for ((k = 0; k < 60; k++)); do shown "^EXHAUST GAS TEST REPORT" && break || keys "$gas" alt+p && sleep 1; done
win=$(window "^EXHAUST GAS TEST REPORT") || fail "no certificate after the gas test"
snap gas-certificate 1
expect certificate
print_sheet certificate "EXHAUST GAS TEST REPORT" "TEST PASSED" AB123CD "Fiat Panda" \
  "Officina Nord" "Bruno Verdi" "ADDITIONAL TEST FOR VEHICLES WITH CATALYST"
close_win "$win" "^EXHAUST GAS TEST REPORT" Escape
# Diagnosis (the mode list's second entry): Print shows the sheet of the readings on screen.
pick "$gas" 700 528 Down Return
open_win "$gas" "^EXHAUST GAS DIAGNOSIS" alt+p
snap gas-diagnosis-sheet
print_sheet "diagnosis sheet" "EXHAUST GAS DIAGNOSIS SHEET" AB123CD "NOx(ppm)" "Officina Nord"
close_win "$win" "^EXHAUST GAS DIAGNOSIS" Escape
close_win "$gas" "^Gas Analysis" Escape

open_win "$menu" "^Smoke Analysis" F3 && smoke=$win
# The binary opacimeter's start notice holds the link until it is closed.
[ "$opa_protocol" = binary ] && answer smoke-notice
waitfor 15 polled 2 OPA "$opa_protocol" || fail "the smoke test did not poll the opacimeter"
snap smoke-test 1
# The test mode: "Time" (the fourth entry), a cycle the instruction line times; then
# logging on with Enter (the log button is the default button), and START.
pick "$smoke" 400 381 Down Down Down Return
keys "$smoke" Return && sleep 0.3 && keys "$smoke" alt+s
# The series decides once three accelerations agree; over MCTC-NET a message box closes it;
# #8080FF is the instruction line's colour of a complete series.
series_end() { [ "$opa_protocol" = mctc ] && shown "^Vantoscope$" || [ "$(pixel 300 310)" = "#8080FF" ]; }
waitfor 90 series_end || fail "the smoke series did not end"
[ "$opa_protocol" = mctc ] && answer smoke-series-end
snap smoke-verdict 1
[ "$(pixel 160 345)" = "#00FF00" ] || fail "the smoke verdict is not the green of a passed series"
# "smoke.log" takes the readings only while the status line shows the measuring text: the
# MCTC-NET opacimeter's; the binary one's status line never does.
if [ "$opa_protocol" = mctc ]; then
  grep -qaP '^0\.35\t14\.1\t800\t80\t75\t95\t\d\d/\d\d/\d{4} [\d:]{8}\t[A-Z0-9]+ \r$' smoke.log ||
    fail "the logged smoke readings: $(head -n 2 smoke.log 2>&1)"
else [ ! -s smoke.log ] || fail "smoke.log was written with a binary opacimeter"; fi
# Report B: PRINT shows it and writes "report.log"; printing closes it. Every value of the
# accelerations and the result in "report.log" is on the printed page.
open_win "$smoke" "^Referto Opacimetro" alt+p
snap smoke-report
expect report-b
mapfile -t values < <(report '\([1-8]Meas\(OPA\|RPM\)\|MidOPA[KP]\)' | sed -n 's/^ *\(.*[^ ]\) *$/\1/p')
[ "${#values[@]}" -ge 4 ] || fail "report.log holds too few values: ${values[*]}"
print_sheet "report B" PASSED AB123CD "Officina Nord" "${values[@]}"
gone "^Referto Opacimetro" || fail "printing did not close report B"
close_win "$smoke" "^Smoke Analysis" alt+e

open_win "$menu" "^  RPM$" F5
waitfor 10 asked 3 RPM VA || fail "the counter was not polled"
snap engine-speed
close_win "$win" "^  RPM$" alt+e

keys "$menu" Escape
waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
wait "$pid" || fail "exit status $?"
expect english
keep_printed
echo "station day ($mode) e2e: ok (printer: $printer_kind)"
