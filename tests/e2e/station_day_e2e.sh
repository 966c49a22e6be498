#!/usr/bin/env bash
# One operator's day at the station, under Xvfb, driven only by keys. Three simulated
# instruments answer on pseudo-terminals behind the station's COM links: the gas analyser on
# COM1, the opacimeter on COM2, the engine-speed counter on COM3 (MCTC-NET); the other links
# point nowhere. The printer is a private CUPS server whose default printer writes PDF files
# (lib.sh: e2e_printer).
#
#   station_day_e2e.sh [mcn|binary]
#     mcn     (default) the gas analyser over MCTC-NET, the opacimeter over the binary protocol
#     binary  the gas analyser over the binary protocol, the opacimeter over MCTC-NET
#
# The day: the operator picks English, types the operator and ambient data, scans the ports
# (the scan finds the MCTC-NET instruments only), identifies and stores the instruments in
# their set-up windows (F2, F4, F6: an MCTC-NET instrument answers and is stored with its
# model; a binary one cannot be asked and keeps the model the station knew), runs a gas test
# of a petrol car with catalyst to its passed certificate (vehicle data typed, logging on),
# prints it and the diagnosis sheet, runs a timed smoke series to its passed verdict (logging
# on) and prints report B, looks at the engine speed (F5), and ends with Esc. Each port is
# opened by the scan, the set-up and the test in turn: a window that kept its port (held
# exclusively) would stop the next one.
# Checked: the printed PDFs' text, "report.log", "gas.log", "smoke.log", "Conf.ini", the
# simulators' logs and the program's exit status. The simulated engine idles steadily once
# the analyser measures; the station's limits are set so that such an engine passes (raised
# idle from 800 rpm) and a measuring window lasts 5 s.
# A screenshot of every window on the way, and the printed files, go to
# <build>/artifacts/station-<protocols>-*. Skips only when Xvfb is not installed.
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

program="$bin/src/vantoscope"
sim="$bin/tests/vantoscope-sim"
[ -x "$program" ] || fail "no program at $program"
[ -x "$sim" ] || fail "no simulator at $sim"

station=$(mktemp -d)
sims=()
cleanup() {
  kill "${pid:-}" 2>/dev/null || true
  for s in "${sims[@]}"; do kill "$s" 2>/dev/null || true; done
  printer_stop
  rm -rf "$station"
}
trap cleanup EXIT
# The program runs from the station folder, so that its logs ("gas.log", "smoke.log",
# "report.log", kept beside the executable) are this run's own.
cp "$program" "$station/vantoscope"
cp "$src/data/Conf.ini" "$src/data/Lingua.ini" "$station/"
cd "$station"
on_failure() {
  keep_printed
  for n in 1 2 3; do
    echo "--- COM$n"
    tail -n 30 "$station/sim$n.txt" || true
  done
  echo "--- Conf.ini"
  tr -d '\r' <"$station/Conf.ini" || true
  echo "--- program"
  tail -n 40 "$station/out.txt" 2>/dev/null || true
}

e2e_printer "$station"
# The printed pages go to the artifacts too.
keep_printed() {
  local f n=0
  for f in "$printed"/*.pdf; do
    [ -e "$f" ] || continue
    n=$((n + 1))
    cp "$f" "$shots/station-$mode-printed-$n.pdf"
  done
}

# Conf.ini (CR LF lines): a key of a section, setting one, and waiting for one's value.
conf() { sed -n "/^\\[$1\\]/,/^\\[/p" "$station/Conf.ini" | tr -d '\r' | sed -n "s/^$2=//p" | head -n 1; }
conf_set() {
  sed -i "/^\\[$1\\]/,/^\\[/ s/^$2=.*\\r\$/$2=$3\\r/" "$station/Conf.ini"
  [ "$(conf "$1" "$2")" = "$3" ] || fail "Conf.ini: could not set [$1] $2"
}
conf_is() { [ "$(conf "$1" "$2")" = "$3" ]; }
expect_conf() { waitfor 10 conf_is "$@" || fail "Conf.ini: [$1] $2 is '$(conf "$1" "$2")', not '$3'"; }
# "report.log": a key's value, and checking KEY=VALUE pairs.
report() { tr -d '\r' <"$station/report.log" | sed -n "s/^$1=//p"; }
expect_report() {
  local kv
  for kv; do
    [ "$(report "${kv%%=*}")" = "${kv#*=}" ] || fail "report.log: ${kv%%=*} is '$(report "${kv%%=*}")'"
  done
}

# The gas test's measuring window: 200 ticks of 25 ms; the raised idle from 800 rpm, so
# that the simulated engine's steady 850 rpm passes both speed checks. What the station
# knew before the day: binary instruments of model 0 (a binary instrument cannot be
# identified by the set-up's MCTC-NET question; an MCTC-NET one is corrected by its set-up).
conf_set IA MCS 200
conf_set IA CGLPP 800
for s in KYMRA OPA; do
  conf_set "COM$s" TModCom 1
  conf_set "MOD$s" Modello 0
done

# The instruments.
start_sim() {
  local port=$1
  shift
  "$sim" "$@" --pty --link "$station/COM$port" >"$station/sim$port.txt" 2>&1 &
  sims+=($!)
}
start_sim 1 --scenario "$src/tests/sim/scenarios/gas-analyser$([ "$gas_protocol" = binary ] && echo -binary).scn"
if [ "$opa_protocol" = mctc ]; then
  start_sim 2 --device opa --protocol mctc --model 5 \
    --reply "ID=KARVESTON|OPA-150|OM-4712|OP777001|31122030|2.1|7"
else
  start_sim 2 --device opa --protocol binary --model 0
fi
start_sim 3 --device rpm --protocol mctc --reply "ID=GIRITEC|RX-2|OM-0815|R0042|01022031|2.5|7"
for n in $(seq 4 16); do ln -s "$station/absent" "$station/COM$n"; done
for n in 1 2 3; do
  waitfor 10 test -L "$station/COM$n" || fail "the simulator on COM$n did not start"
done

# The MCTC-NET requests port n saw for address a ("GAS", "OPA", "RPM"), one a line.
mcn_asked() { sed -n "s/^request $2 \\([^ ]*\\).*\$/\\1/p" "$station/sim$1.txt"; }
mcn_has_asked() { mcn_asked "$1" "$2" | grep -qx -- "$3"; }
# The binary commands port n saw, one a line.
own_has_asked() { sed -n 's/^request [0-9]* \(.\).*$/\1/p' "$station/sim$1.txt" | grep -qx -- "$2"; }

step=0
rm -f "$shots"/station-"$mode"-*.png "$shots"/station-"$mode"-*.pdf
# A screenshot named after the run, its order in the day and what it shows.
snap() {
  step=$((step + 1))
  shot "$(printf 'station-%s-%02d-%s' "$mode" "$step" "$1")"
}
# Presses keys $2... in the start menu and waits for the window titled $1 (its id in $win).
open_win() {
  keys "$menu" "${@:2}"
  win=$(window "$1") || fail "${*:2} did not open '$1'"
  sleep 0.5
}
# Presses key $3 in window $1 and waits until no window titled $2 is shown.
close_win() {
  keys "$1" "$3"
  gone "$2" || fail "$3 did not close '$2'"
}
# Types each text after $1 into the boxes of window $1, Tab after each; a box's old text
# goes first.
fill() {
  local w=$1 text
  shift
  for text; do
    keys "$w" End shift+Home BackSpace
    xdotool type --delay 30 "$text"
    keys "$w" Tab
  done
  sleep 0.3
}
# The colour of the screen's pixel at $1,$2 ("#RRGGBB").
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1; }
# Presses Tab in window $1 until the pixel at $2,$3 turns navy, the selection colour of a
# list that has the focus (at most 15 times), then opens the list and picks with keys $4...
pick() {
  local i
  for ((i = 0; i < 15; i++)); do
    [ "$(pixel "$2" "$3")" = "#000080" ] && break
    keys "$1" Tab
    sleep 0.3
  done
  [ "$(pixel "$2" "$3")" = "#000080" ] || fail "Tab never reached the list at $2,$3"
  keys "$1" space
  sleep 0.5
  keys "$1" "${@:4}"
  sleep 0.5
}
# In the set-up window $win: Identify asks COM$2 for address $1's identity (the scan asked
# once before), Apply stores it and says so in a box; screenshots named after $3.
identify() {
  keys "$win" alt+i
  waitfor 10 bash -c "[ \$(grep -cx 'request $1 ID' '$station/sim$2.txt') -ge 2 ]" ||
    fail "the set-up did not ask $1 for its identity"
  sleep 1
  snap "$3"
  keys "$win" alt+a
  box=$(window "^Vantoscope$") || fail "Apply showed no message"
  sleep 0.3
  snap "$3-stored"
  keys "$box" Return
}

./vantoscope >"$station/out.txt" 2>&1 &
pid=$!
menu=$(window "^Start men") || fail "the start menu did not appear"
sleep 1
snap menu

# Language: English, written to Conf.ini at once.
keys "$menu" ctrl+e
expect_conf LINGUA TLingua 2
sleep 0.5
snap menu-english

# The operator's data: Utilities > User Data (the first item).
open_win "^User Data" alt+u Down Return
fill "$win" "Ada Rossi" "Bruno Verdi" "Officina Nord"
snap operator
close_win "$win" "^User Data" Return
expect_conf UTENTE Operatore "Ada Rossi"
expect_conf UTENTE ResponsabileTecn "Bruno Verdi"
expect_conf UTENTE Ente "Officina Nord"

# Ambient data: the second item; the boxes hold the last values.
open_win "^Ambient Data" alt+u Down Down Return
fill "$win" 23 "99,8" 61
snap ambient
close_win "$win" "^Ambient Data" Return
expect_conf AMBIENTE Temperatura 23
expect_conf AMBIENTE Pressione "99,8"

# The port scan: Utilities > COM Scan (the third item), started with Enter. It asks every
# port for "GAS", "OPA" and "RPM" in turn and lists the MCTC-NET instruments that answer.
open_win "^COM Scan" alt+u Down Down Down Return
keys "$win" Return
waitfor 10 mcn_has_asked 3 RPM ID || fail "the scan did not reach COM3"
sleep 8 # the unopenable ports 4 to 16 take a tick each
snap port-scan
if [ "$gas_protocol" = mctc ]; then
  [ "$(mcn_asked 1 GAS | tr '\n' ' ')" = "ID " ] || fail "COM1 was asked: $(mcn_asked 1 GAS)"
  [ -z "$(mcn_asked 1 OPA)" ] || fail "the scan went on asking COM1 after the analyser answered"
else
  [ "$(mcn_asked 2 OPA | tr '\n' ' ')" = "ID " ] || fail "COM2 was asked: $(mcn_asked 2 OPA)"
  [ -z "$(mcn_asked 2 RPM)" ] || fail "the scan went on asking COM2 after the opacimeter answered"
fi
close_win "$win" "^COM Scan" Escape

# F2: the gas analyser's set-up; an MCTC-NET analyser is identified and stored with its
# model, a binary one keeps the model the station knew.
open_win "^Analyser" F2
if [ "$gas_protocol" = mctc ]; then
  identify GAS 1 gas-setup
  expect_conf MODKYMRA Modello 3
  expect_conf COMKYMRA TModCom 2
  expect_conf COMKYMRA Modello TOPAZ
else
  snap gas-setup
fi
close_win "$win" "^Analyser" Escape

# F4: the opacimeter's set-up, the same way.
open_win "^Smoke Meter" F4
if [ "$opa_protocol" = mctc ]; then
  identify OPA 2 opacimeter-setup
  expect_conf MODOPA Modello 5
  expect_conf COMOPA TModCom 2
  expect_conf COMOPA Nserie OP777001
else
  snap opacimeter-setup
fi
close_win "$win" "^Smoke Meter" Escape

# F6: the engine-speed counter's set-up: Apply stores the identity and tells the counter
# the cylinders and strokes.
open_win "^RPM$" F6
identify RPM 3 rpm-setup
expect_conf RPM Nserie R0042
mcn_has_asked 3 RPM TE || fail "the counter was not told the strokes"
close_win "$win" "^RPM$" Escape

# F1: the gas test of a petrol car with catalyst, for its certificate.
open_win "^Gas Analysis" F1
gas=$win
if [ "$gas_protocol" = mctc ]; then
  waitfor 15 mcn_has_asked 1 GAS @VA || fail "the gas test did not poll the analyser"
else
  waitfor 15 own_has_asked 1 P || fail "the gas test did not ask for readings"
fi
sleep 0.5
snap gas-test
# The mode list: certification (its first entry). Then Tab on to the logging button, which
# Space switches on, over the buttons enabled in between (stand-by and leak test only over
# MCTC-NET, printing not in certification mode).
pick "$gas" 700 528 Up Return
if [ "$gas_protocol" = mctc ]; then
  keys "$gas" Tab Tab Tab Tab Tab Tab space
else
  keys "$gas" Tab Tab Tab Tab space
fi
sleep 0.5
snap gas-test-set
# The vehicle: its data window (Alt+V opens it beside the test, Enter applies).
keys "$gas" alt+v
vehicle=$(window "^Vehicle Data") || fail "the vehicle data did not open"
sleep 0.5
fill "$vehicle" "Fiat Panda" "AB123CD" "ZFA16900000123456" 2009 "1.2 8V"
snap vehicle
close_win "$vehicle" "^Vehicle Data" Return
expect_conf VEICOLO Targa AB123CD
# Start: "gas.log" takes the readings while the analyser measures.
keys "$gas" alt+s
waitfor 30 bash -c "grep -q . '$station/gas.log' 2>/dev/null" || fail "nothing was logged while measuring"
sleep 2
snap gas-measuring
# The readings on the screen as the log copies them: CO, CO2, HC, O2, NOx, corrected CO,
# lambda, engine speed and oil temperature, the date and time, and the serial number of the
# last instrument identified: the analyser's own over MCTC-NET (the test asks for it), the
# counter's with the binary analyser (its identity goes elsewhere).
[ "$gas_protocol" = mctc ] && serial=AQ123456 || serial=R0042
value='([0-9.]+|- - -)'
grep -qaP "^0\\.[0-9]+\\t14\\.[56]\\t($value\\t){7}\\d\\d/\\d\\d/\\d{4} [\\d:]{8}\\t$serial \\r\$" \
  "$station/gas.log" || fail "the logged readings: $(head -n 2 "$station/gas.log")"
# The verdict: idle, then raised idle. Print (Alt+P) is refused until the verdict is
# taken; then it writes "report.log" and shows the certificate.
for ((k = 0; k < 60; k++)); do
  shown "^EXHAUST GAS TEST REPORT" && break
  keys "$gas" alt+p
  sleep 1
done
cert=$(window "^EXHAUST GAS TEST REPORT") || fail "no certificate after the gas test"
sleep 1
snap gas-certificate
[ -n "$(report RPM)" ] || fail "report.log: no raised-idle engine speed"
expect_report "Result=TEST PASSED" Plate=AB123CD "Fuel=PETROL CAT" "Tech=Bruno Verdi" \
  "Agency=Officina Nord" AmbTemp=23
# Printed: the focus starts in the copies box (one copy); Tab to the print button, Enter.
keys "$cert" Tab Return
wait_printed 60 1 || fail "the certificate was not printed"
check_printed certificate "EXHAUST GAS TEST REPORT" "TEST PASSED" AB123CD "Fiat Panda" \
  "Officina Nord" "Bruno Verdi" "ADDITIONAL TEST FOR VEHICLES WITH CATALYST"
close_win "$cert" "^EXHAUST GAS TEST REPORT" Escape
# Diagnosis (the mode list's second entry): Print shows the sheet of the readings on the
# screen, printed the same way.
pick "$gas" 700 528 Down Return
keys "$gas" alt+p
sheet=$(window "^EXHAUST GAS DIAGNOSIS") || fail "Print showed no diagnosis sheet"
sleep 1
snap gas-diagnosis-sheet
keys "$sheet" Tab Return
wait_printed 60 2 || fail "the diagnosis sheet was not printed"
check_printed "diagnosis sheet" "EXHAUST GAS DIAGNOSIS SHEET" AB123CD "NOx(ppm)" "Officina Nord"
close_win "$sheet" "^EXHAUST GAS DIAGNOSIS" Escape
close_win "$gas" "^Gas Analysis" Escape

# F3: the smoke test of a diesel car: a timed series of free accelerations to its verdict.
open_win "^Smoke Analysis" F3
smoke=$win
if [ "$opa_protocol" = binary ]; then
  # The binary opacimeter's start notice holds the link until it is closed.
  notice=$(window "^Vantoscope$") || fail "the smoke test's start notice did not appear"
  sleep 0.5
  snap smoke-notice
  keys "$notice" Return
  waitfor 15 own_has_asked 2 P || fail "the smoke test did not ask for readings"
else
  waitfor 15 mcn_has_asked 2 OPA @VA || fail "the smoke test did not poll the opacimeter"
fi
sleep 1
snap smoke-test
# The test mode: "Time" (the fourth entry), a cycle the instruction line times; then
# logging on with Enter (the log button is the default button), and START.
pick "$smoke" 400 381 Down Down Down Return
keys "$smoke" Return
sleep 0.3
keys "$smoke" alt+s
# The series decides once three accelerations agree; over MCTC-NET a message box closes it.
series_end() {
  [ "$opa_protocol" = mctc ] && shown "^Vantoscope$" && return 0
  [ "$(pixel 300 310)" = "#8080FF" ] # the instruction line's colour of a complete series
}
waitfor 90 series_end || fail "the smoke series did not end"
if [ "$opa_protocol" = mctc ]; then
  box=$(window "^Vantoscope$")
  sleep 0.5
  snap smoke-series-end
  keys "$box" Return
fi
sleep 1
snap smoke-verdict
[ "$(pixel 160 345)" = "#00FF00" ] || fail "the smoke verdict is not the green of a passed series"
# "smoke.log" takes the readings only while the status line shows the measuring text: the
# MCTC-NET opacimeter's; the binary one's status line never does.
if [ "$opa_protocol" = mctc ]; then
  grep -qaP '^0\.35\t14\.1\t800\t80\t75\t95\t\d\d/\d\d/\d{4} [\d:]{8}\t[A-Z0-9]+ \r$' \
    "$station/smoke.log" || fail "the logged smoke readings: $(head -n 2 "$station/smoke.log" 2>&1)"
else
  [ ! -s "$station/smoke.log" ] || fail "smoke.log was written with a binary opacimeter"
fi
# Report B: PRINT shows it and writes "report.log"; Tab from the copies box (one copy) to
# its print button, Enter: it prints and closes. Every value of the accelerations and the
# result in "report.log" is on the printed page.
keys "$smoke" alt+p
report_b=$(window "^Referto Opacimetro") || fail "PRINT did not show report B"
sleep 1
snap smoke-report
expect_report Result=PASSED
mapfile -t values < <(tr -d '\r' <"$station/report.log" |
  sed -n 's/^\([1-8]Meas\(OPA\|RPM\)\|MidOPA[KP]\)= *\(.*[^ ]\) *$/\3/p')
[ "${#values[@]}" -ge 4 ] || fail "report.log holds too few values: ${values[*]}"
keys "$report_b" Tab Return
wait_printed 60 3 || fail "report B was not printed"
gone "^Referto Opacimetro" || fail "printing did not close report B"
check_printed "report B" PASSED AB123CD "Officina Nord" "${values[@]}"
close_win "$smoke" "^Smoke Analysis" alt+e

# F5: the engine speed.
open_win "^  RPM$" F5
waitfor 10 mcn_has_asked 3 RPM VA || fail "the counter was not polled"
sleep 0.5
snap engine-speed
close_win "$win" "^  RPM$" alt+e

keys "$menu" Escape
status=0
waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
conf_is LINGUA TLingua 2 || fail "the language was not kept at the end"
keep_printed
echo "station day ($mode) e2e: ok (printer: $printer_kind)"
