#!/usr/bin/env bash
# An instrument unplugged and another plugged in under Xvfb, with nothing pressed: the gas test
# (analyser over MCTC-NET on COM1), then the smoke test (opacimeter over MCTC-NET on COM2),
# each on a simulator whose readings climb all the time. The simulator hangs the line up (its
# pseudo-terminal closed); 3 s later a new simulator on another pseudo-terminal takes the
# COM<n> link. The window's readings must stand still meanwhile, the new simulator must be
# asked within 5 s of the link, and the readings must move again. Prints each delay; the
# screenshots go to <build>/artifacts/reconnect-*.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
E2E_SECONDS=120 e2e_under_xvfb "$@"
e2e_station
trap 'kill ${pid:-} "${sims[@]}" 2>/dev/null; rm -rf "$station"' EXIT
cd "$station"
on_failure() { for f in *.txt; do echo "--- $f" && tail -n 20 "$f"; done; }

# Readings that climb for a minute from the first request: the screen changes every poll.
printf '%s\n' "at 0ms state measuring" "at 0ms co 0.10" "at 60s co 6.10" "at 0ms rpm 800" \
  "at 60s rpm 6800" >gas.scn
printf '%s\n' "at 0ms k 0.10" "at 60s k 6.10" "at 0ms rpm 800" "at 60s rpm 6800" >opa.scn
# start_sim NAME LINK ARGS...: a simulator logging to NAME.txt, linked as LINK.
declare -A sim_pid
start_sim() { "$sim" "${@:3}" --pty --link "$station/$2" >"$1.txt" 2>&1 & sims+=($!) && sim_pid[$1]=$!; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# A checksum of the part of window $1 at geometry $2 (WxH+X+Y), saved as screenshot $3.
area() { import -window "$1" -crop "$2" +repage "$shots/reconnect-$3.png" && md5sum <"$shots/reconnect-$3.png"; }

# unplug NAME COM TITLE KEYS GEOMETRY ARGS...: the test window TITLE opened with KEYS (open
# and close) polls the simulator NAME on COM; its readings (GEOMETRY) move; the simulator
# hangs up; they stand still; 3 s later a new simulator is linked as COM; it is asked, and
# the readings move again.
unplug() {
  local name=$1 com=$2 title=$3 key=${4% *} close=${4#* } geometry=$5 win t0 t1 first i
  start_sim "$name" "$com" "${@:6}"
  waitfor 10 test -L "$com" || fail "the simulator on $com did not start"
  keys "$menu" "$key"
  win=$(window "$title")
  waitfor 10 grep -q "^request .* @VA" "$name.txt" || fail "$title did not poll for readings"
  sleep 0.5
  local a b
  a=$(area "$win" "$geometry" "$name-before-1") && sleep 1 && b=$(area "$win" "$geometry" "$name-before-2")
  [ "$a" != "$b" ] || fail "$title: the readings did not move before the unplug"

  # The line hangs up (the simulator keeps the old terminal's number: no other terminal
  # takes its name meanwhile); 3 s later a new simulator, on another terminal, takes the link.
  local old
  old=$(readlink "$com")
  kill -USR1 "${sim_pid[$name]}"
  t0=$(now_ms)
  waitfor 5 grep -q "^hang-up" "$name.txt" || fail "the simulator did not hang up"
  sleep 1
  a=$(area "$win" "$geometry" "$name-away-1") && sleep 1 && b=$(area "$win" "$geometry" "$name-away-2")
  [ "$a" = "$b" ] || fail "$title: the readings moved with no instrument"
  import -window "$win" "$shots/reconnect-$name-away.png"
  while (($(now_ms) - t0 < 3000)); do sleep 0.02; done
  start_sim "$name-new" "$com" "${@:6}"
  waitfor 5 eval '[ -L "$com" ] && [ "$(readlink "$com")" != "$old" ]' || fail "the new simulator did not take $com"
  t1=$(now_ms)
  first=
  for ((i = 0; i < 100; i++)); do
    grep -q "^request " "$name-new.txt" && first=$(now_ms) && break
    sleep 0.05
  done
  [ -n "$first" ] || fail "$title: the new instrument was not asked within 5 s"
  waitfor 10 grep -q "^request .* @VA" "$name-new.txt" || fail "$title did not poll the new instrument"
  sleep 0.5
  a=$(area "$win" "$geometry" "$name-after-1") && sleep 1 && b=$(area "$win" "$geometry" "$name-after-2")
  [ "$a" != "$b" ] || fail "$title: the readings did not move again"
  ! shown "^Vantoscope$" || fail "$title: a message box came"
  echo "$title: hung up at 0 ms, $old -> $(readlink "$com") at $((t1 - t0)) ms, first request" \
    "$((first - t1)) ms after that"
  keys "$win" "$close" && gone "$title" || fail "$close did not close $title"
}

./vantoscope >out.txt 2>&1 &
pid=$!
menu=$(window "^Start men")
keys "$menu" ctrl+e
sleep 1
# The readings: the gas window's nine boxes; the smoke window's opacity, K and temperatures.
unplug gas COM1 "^Gas Analysis" "F1 Escape" 776x226+12+36 --device gas --protocol mctc --scenario gas.scn
unplug opa COM2 "^Smoke Analysis" "F3 alt+e" 610x152+140+8 --device opa --protocol mctc --model 5 \
  --scenario opa.scn
echo "reconnect e2e: ok"
