# shellcheck shell=bash
# The steps the end-to-end scripts share to run the real program in a station folder, sourced
# after lib.sh (never run alone):
#
#   . "$(dirname "$0")/lib.sh"
#   . "$(dirname "$0")/station.sh"
#   e2e_under_xvfb "$@"
#   station_open                       # a fresh station folder, the working folder from now on
#   station_conf COMOPA TCOM 1         # settings edited before the program starts
#   station_sim 1 sim1.txt --device opa --protocol binary --model 0
#   station_start                      # the program; $menu is the start menu's window
#   ...
#   station_quit                       # Esc in the start menu; the program ends with status 0
#
# Sets program, sim, station (the folder), pid (the program) and menu. On exit the program
# and the simulators are stopped and the folder removed; a script may define on_cleanup,
# which runs first.

# shellcheck disable=SC2154 # src and bin come from lib.sh
program="$bin/src/vantoscope"
sim="$bin/tests/vantoscope-sim"
station=
sims=()

# Stops what the script started and removes the station folder (the EXIT trap).
station_cleanup() {
  if declare -F on_cleanup >/dev/null; then on_cleanup || true; fi
  kill "${pid:-}" 2>/dev/null || true
  local s
  for s in "${sims[@]}"; do kill "$s" 2>/dev/null || true; done
  [ -n "$station" ] && rm -rf "$station"
}

# Makes a fresh station folder with the sample Conf.ini and Lingua.ini, enters it and arranges
# its removal on exit. Fails when the program is not built.
station_open() {
  [ -x "$program" ] || fail "no program at $program"
  station=$(mktemp -d)
  trap station_cleanup EXIT
  cp "$src/data/Conf.ini" "$src/data/Lingua.ini" "$station/"
  cd "$station" || fail "cannot enter $station"
}

# Sets KEY to VALUE in [SECTION] of the station's Conf.ini, keeping the CR LF line ends:
# station_conf SECTION KEY VALUE. Fails when the section has no such key.
station_conf() {
  grep -q -a "^$2=" <(sed -n "/^\\[$1\\]/,/^\\[/p" "$station/Conf.ini") ||
    fail "Conf.ini: no $2 in [$1]"
  sed -i "/^\\[$1\\]/,/^\\[/ s/^$2=[^\\r]*/$2=$3/" "$station/Conf.ini"
}

# The lines of [SECTION] of the station's Conf.ini, without the CRs.
station_section() { sed -n "/^\\[$1\\]/,/^\\[/p" "$station/Conf.ini" | tr -d '\r'; }

# Starts a simulated instrument on a pseudo-terminal behind COM<PORT>, its log in the station
# folder, and waits (at most 10 s) for it: station_sim PORT LOG SIMULATOR-ARGS...
station_sim() {
  local port=$1 log=$2
  shift 2
  [ -x "$sim" ] || fail "no simulator at $sim"
  "$sim" "$@" --pty --link "$station/COM$port" >"$station/$log" 2>&1 &
  sims+=($!)
  waitfor 10 test -L "$station/COM$port" || fail "the simulator on COM$port did not start"
}

# Points COM<n> of each n given nowhere, so those ports cannot be opened.
station_absent_ports() {
  local n
  for n in "$@"; do ln -s "$station/absent" "$station/COM$n"; done
}

# The last lines the program wrote (for on_failure).
station_output() { tail -n 40 "$station/out.txt" 2>/dev/null || true; }

# Starts the program in the station folder and waits for its start menu (window id in $menu).
station_start() {
  "$program" >"$station/out.txt" 2>&1 &
  pid=$!
  menu=$(window "^Start men") || fail "the start menu did not appear"
  sleep 1
}

# Waits (at most 10 s) until no visible window's title matches $1; fails with $2 otherwise.
station_closed() {
  waitfor 10 bash -c "! xdotool search --onlyvisible --name '$1' >/dev/null" || fail "$2"
}

# Esc in the start menu: the program must end (within 20 s) with status 0.
station_quit() {
  local status=0
  keys "$menu" Escape
  waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
}
