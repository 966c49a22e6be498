#!/usr/bin/env bash
# The real program under Xvfb runs test mode 6 against a simulated MCTC-NET opacimeter on a
# pseudo-terminal behind the station's COM2 (the sample "Conf.ini": model 5 on COM2): F3,
# the chart mode chosen in the mode list, START. The opacimeter measures an engine revved
# from idle past the upper limit, held there four seconds and let back to idle, every ten
# seconds; once an acceleration has ended the chart window "Graph" opens by itself, and its
# cancel button (Esc) closes it. (The simulator answers every request at once, far faster
# than an opacimeter, so the 41 rows fill within two seconds: a full table ends the
# acceleration.) A screenshot of it goes to <build>/artifacts/.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source-path=SCRIPTDIR source=station.sh
. "$(dirname "$0")/station.sh"
e2e_under_xvfb "$@"

station_open
on_failure() {
  tail -n 20 "$station/sim.txt" || true
  station_output
}

{
  echo "device opa"
  echo "protocol mctc"
  echo "model 5"
  echo "at 0ms state measuring"
  echo "at 0ms param 020 00016"
  echo "at 0ms param 021 00001"
  echo "at 0ms celltemp 75"
  for ((c = 0; c < 18; c++)); do
    b=$((c * 10000))
    echo "at $((b))ms rpm 800"
    echo "at $((b + 2000))ms rpm 800"
    echo "at $((b + 2500))ms rpm 4600"
    echo "at $((b + 6500))ms rpm 4600"
    echo "at $((b + 7000))ms rpm 800"
    echo "at $((b))ms k 0.1"
    echo "at $((b + 2000))ms k 0.1"
    echo "at $((b + 3000))ms k 2.0"
    echo "at $((b + 6500))ms k 1.8"
    echo "at $((b + 7500))ms k 0.1"
  done
} >"$station/chart.scn"

station_sim 2 sim.txt --device opa --protocol mctc --model 5 --scenario "$station/chart.scn"
station_start

keys "$menu" F3
form=$(window "^Analisi Fumo") || fail "the smoke test window did not open"
sleep 2
# The mode list (no access key): open it and take its seventh item, the chart.
xdotool mousemove --window "$form" 232 281 click 1
sleep 0.5
xdotool key --delay 80 Down Down Down Down Down Down Return
sleep 0.5
keys "$form" alt+m
graph=$(window "^Graph$") || fail "the chart window did not open"
sleep 1
shot smoke-chart
keys "$graph" Escape
station_closed "^Graph$" "the chart window stayed open after Esc"
echo "ok: the chart window opened after an acceleration and closed with Esc"
