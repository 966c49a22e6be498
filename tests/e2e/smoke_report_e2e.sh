#!/usr/bin/env bash
# The real program under Xvfb runs a smoke test to its verdict and prints report B. An
# MCTC-NET opacimeter (model 5) plays a series of free accelerations on a pseudo-terminal
# behind COM2, the station's stored port: warm-up, auto-zero, then again and again 6 s at an
# idle of 800 rpm and 4 s at 4600 rpm with a k peak. F3 opens the smoke test form; the
# engine-speed mode is chosen and started; after the series the closing notices are
# answered, "STAMPA" opens report B, its copies box is set to 2 and its print button sends
# the page to a stand-in `lp` on PATH. Checked: a PDF of two pages whose text holds the
# values of "report.log" (written into the program's folder) for the accelerations and the
# result. Screenshots go to <build>/artifacts/. Skips only when Xvfb is not installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"
command -v pdftotext >/dev/null 2>&1 || fail "pdftotext is missing"

station_open
# The program runs from a folder of its own, where it writes "report.log".
mkdir "$station/program" "$station/jobs" "$station/lp"
cp "$program" "$station/program/"
program="$station/program/vantoscope"
on_failure() {
  echo "--- COM2 (last lines)"
  tail -n 30 "$station/sim.txt" || true
  echo "--- report.log"
  cat "$station/program/report.log" 2>/dev/null || true
  station_output
}

# The stand-in printer: keeps each PDF it is given.
cat >"$station/lp/lp" <<'LP'
#!/bin/sh
for f; do :; done
n=$(ls "$JOBS" | wc -l)
cp "$f" "$JOBS/job$n.pdf"
LP
chmod +x "$station/lp/lp"

# The opacimeter's run: ready after 1.2 s, then ten accelerations.
{
  echo "device opa"
  echo "protocol mctc"
  echo "model 5"
  echo "at 0ms state warmup"
  echo "at 0ms param 020 00016"
  echo "at 0ms param 021 00002"
  echo "at 0ms celltemp 75"
  echo "at 600ms state autozero"
  echo "at 1200ms state measuring"
  echo "at 0ms rpm 800"
  echo "at 0ms k 0.08"
  peaks=(1.10 1.20 1.15 1.12 1.18 1.14 1.16 1.13 1.17 1.11)
  for ((c = 0; c < 10; c++)); do
    t=$((6000 + c * 10000))
    echo "at $((t))ms rpm 800"
    echo "at $((t + 500))ms rpm 4600"
    echo "at $((t + 4000))ms rpm 4600"
    echo "at $((t + 4500))ms rpm 800"
    echo "at $((t))ms k 0.08"
    echo "at $((t + 1000))ms k ${peaks[$c]}"
    echo "at $((t + 3500))ms k ${peaks[$c]}"
    echo "at $((t + 4500))ms k 0.08"
  done
} >"$station/series.scn"

station_sim 2 sim.txt --scenario "$station/series.scn"
export JOBS="$station/jobs"
PATH="$station/lp:$PATH"
station_start

# Answers every message box that is open (the title is the program's).
answer_boxes() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Vantoscope$' 2>/dev/null || true); do
    keys "$id" Return
  done
}

keys "$menu" F3
form=$(window "^Analisi Fumo") || fail "F3 did not open the smoke test form"
sleep 1
answer_boxes # the start notice

# Mode 1 (by engine speed): the second item of the mode list, then START.
eval "$(xdotool getwindowgeometry --shell "$form")"
xdotool mousemove --window "$form" 232 281 click 1
sleep 0.5
xdotool key --clearmodifiers Down Return
sleep 0.5
keys "$form" alt+m
shot smoke-report-started

# The series: at most ten accelerations of 10 s; it ends with the closing notice.
verdict() { xdotool search --onlyvisible --name '^Vantoscope$' >/dev/null 2>&1; }
waitfor 110 verdict || fail "the series came to no verdict"
shot smoke-report-verdict
for _ in 1 2 3; do
  answer_boxes
  sleep 1
done

keys "$form" alt+s
report=$(window "^Referto Opacimetro") || fail "STAMPA did not open report B"
sleep 1
shot smoke-report-b
[ -s "$station/program/report.log" ] || fail "report B wrote no report.log"
# The copies box, then the print button (the picture button left of the close button).
xdotool windowfocus --sync "$report" 2>/dev/null || true
xdotool mousemove --window "$report" 92 68 click 1
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 40 "2"
xdotool mousemove --window "$report" 681 70 click 1
waitfor 20 test -s "$station/jobs/job0.pdf" || fail "report B was not printed"
waitfor 10 bash -c "! xdotool search --onlyvisible --name '^Referto Opacimetro' >/dev/null" ||
  fail "printing did not close report B"

text=$(pdftotext "$station/jobs/job0.pdf" -)
pages=$(printf '%s' "$text" | tr -cd '\f' | wc -c)
[ "$pages" -eq 2 ] || fail "the PDF has $pages pages, not 2"
# Every value of the accelerations and the result that report.log holds is on the page.
values=$(sed -n 's/^\([1-8]Meas\(OPA\|RPM\)\|MidOPAK\|MidOPAP\|Result\)=\(.*\)\r$/\3/p' \
  "$station/program/report.log" | grep -v '^$' || true)
[ "$(printf '%s\n' "$values" | grep -c .)" -ge 7 ] ||
  fail "report.log holds too few values: $values"
while IFS= read -r v; do
  grep -qF -- "$v" <<<"$text" || fail "'$v' of report.log is not on the printed page"
done <<<"$values"

keys "$form" alt+e
station_quit
echo "smoke report e2e: ok"
