#!/usr/bin/env bash
# The real program under Xvfb runs a certification gas test against the simulated binary
# gas analyser on a pseudo-terminal behind COM3 (tests/sim/scenarios/gas-analyser-binary.scn:
# ready after 1.5 s, the engine revved out of the idle window from 3 s to 9 s and back to
# idle after). Checked:
#   - F1 opens the gas test; certification mode and Start run the idle test, which waits
#     while the engine is too fast and reaches a verdict once it is back at idle;
#   - the print button (Alt+S) is refused until the verdict, then shows the certificate and
#     writes "report.log" in the program's folder;
#   - the certificate's print button hands one PDF to the `lp` on PATH (a stand-in that
#     keeps it); its text carries the title, the verdict and the vehicle, and not the
#     page's buttons or copies field;
#   - in diagnosis mode the print button shows the diagnosis sheet, printed the same way;
#     the limits button opens the limits dialog.
# Screenshots go to <build>/artifacts/. Skips only when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"
command -v pdftotext >/dev/null 2>&1 || fail "pdftotext is missing"

station_open
# The program runs from the station, so that "report.log" is written there.
cp "$program" "$station/"
program="$station/vantoscope"
on_failure() {
  echo "--- COM3"
  tail -n 20 "$station/sim3.txt" || true
  station_output
  cat "$station/report.log" 2>/dev/null || true
}

# The stand-in printer: each PDF it is given is kept as printed/job<n>.pdf.
mkdir -p "$station/lpbin" "$station/printed"
cat >"$station/lpbin/lp" <<LP
#!/bin/sh
for f; do :; done
cp "\$f" "$station/printed/job\$(ls "$station/printed" | wc -l).pdf"
LP
chmod +x "$station/lpbin/lp"

# The gas analyser of model 0, binary protocol, COM3 at 9600 baud; 2 s windows; a vehicle
# and a testing body for the certificate.
station_conf COMKYMRA TModCom 1
station_conf COMKYMRA TCOM 3
station_conf COMKYMRA TBRate 2
station_conf MODKYMRA Modello 0
station_conf IA MCS 80
station_conf VEICOLO Targa AB123CD
station_conf VEICOLO FeT "FIAT PUNTO"
station_conf UTENTE Ente "Officina Nord"

station_sim 3 sim3.txt --scenario "$src/tests/sim/scenarios/gas-analyser-binary.scn"
asked() { sed -n 's/^request 49 \(.\).*$/\1/p' "$station/sim3.txt"; }
has_asked() { [ "$(asked | grep -c "^$1\$" || true)" -ge "$2" ]; }
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
export -f shown

PATH="$station/lpbin:$PATH"
station_start
keys "$menu" F1
form=$(window "^Analisi Gas") || fail "F1 did not open the gas test"
waitfor 15 has_asked P 3 || fail "the analyser did not become ready"

# Petrol without catalyst and certification: the first entry of the fuel and the mode
# lists (a list opens at a click; Up, Enter).
first_entry() {
  xdotool mousemove --window "$form" "$1" 410 click 1
  sleep 0.5
  xdotool key --clearmodifiers Up Return
  sleep 0.5
}
first_entry 112
first_entry 536
keys "$form" alt+m
waitfor 10 has_asked E 1 || fail "Start did not send 'E'"
sleep 1
keys "$form" alt+s
sleep 1
shown "^SCHEDA DI DIAGNOSI" && fail "the mode list stayed on diagnosis"
shown "^REFERTO PROVA" && fail "the certificate opened before the verdict"
shot gas-certificate-measuring

# The verdict comes once the engine is back at idle; then the print button works.
for ((k = 0; k < 30; k++)); do
  shown "^REFERTO PROVA" && break
  keys "$form" alt+s
  sleep 1
done
cert=$(window "^REFERTO PROVA") || fail "no certificate after the test"
sleep 0.5
shot gas-certificate-page
grep -qa "^Result=PROVA SUPERATA" "$station/report.log" || fail "report.log: no passed result"
grep -qa "^Plate=AB123CD" "$station/report.log" || fail "report.log: no plate"
grep -qaxF $'Fuel=BENZ\r' "$station/report.log" || fail "report.log: not petrol without catalyst"

# The page's own print button (a picture button, top right).
xdotool mousemove --window "$cert" 641 98 click 1
waitfor 20 test -s "$station/printed/job0.pdf" || fail "nothing was handed to lp"
sleep 0.5
text=$(pdftotext "$station/printed/job0.pdf" -)
for want in "REFERTO PROVA GAS DI SCARICO" "PROVA SUPERATA" "AB123CD" "FIAT PUNTO" "Officina Nord"; do
  grep -qF "$want" <<<"$text" || fail "the printed certificate lacks '$want': $text"
done
grep -qF "copie" <<<"$text" && fail "the copies field was printed"
shot gas-certificate-printed

keys "$cert" Escape
waitfor 10 bash -c "! shown '^REFERTO PROVA'" || fail "Esc did not close the certificate"

# Diagnosis: the sheet of the readings on screen, printed the same way.
xdotool mousemove --window "$form" 536 410 click 1
sleep 0.5
xdotool key --clearmodifiers Down Return
sleep 0.5
keys "$form" alt+s
sheet=$(window "^SCHEDA DI DIAGNOSI") || fail "no diagnosis sheet in diagnosis mode"
sleep 0.5
shot gas-diagnosis-sheet
xdotool mousemove --window "$sheet" 641 106 click 1
waitfor 20 test -s "$station/printed/job1.pdf" || fail "the sheet was not handed to lp"
text=$(pdftotext "$station/printed/job1.pdf" -)
for want in "SCHEDA DI DIAGNOSI GAS DI SCARICO" "AB123CD" "NOx(ppm)" "Officina Nord"; do
  grep -qF "$want" <<<"$text" || fail "the printed sheet lacks '$want': $text"
done
keys "$sheet" Escape
waitfor 10 bash -c "! shown '^SCHEDA DI DIAGNOSI'" || fail "Esc did not close the sheet"

# The limits dialog (Alt+I): shown, then applied unchanged with Esc.
keys "$form" alt+i
limits=$(window "^Limiti") || fail "Alt+I did not open the limits dialog"
sleep 0.5
shot gas-limits
keys "$limits" Escape
waitfor 10 bash -c "! shown '^Limiti'" || fail "Esc did not close the limits dialog"
keys "$form" Escape
sleep 0.5
station_quit
echo "gas certificate e2e: ok"
