#!/usr/bin/env bash
# The real program under Xvfb in a fresh station folder: the start menu comes up in Italian,
# takes its F-key and Ctrl-key shortcuts, opens the operator dialog from the keyboard,
# switches to English and Spanish (writing TLingua to Conf.ini at once), and ends with
# status 0 on Esc. Screenshots of the menu in each language go to <build>/artifacts/.
# Skips only when Xvfb is not installed.
set -euo pipefail

if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "skipped: no Xvfb (xvfb-run not found)"
  exit 0
fi

src=${VS_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
bin=${VS_BINARY_DIR:-$src/build/test}
program="$bin/src/vantoscope"
shots="$bin/artifacts"
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is missing" >&2; exit 1; }

station=$(mktemp -d)
trap 'rm -rf "$station"' EXIT
cp "$src/data/Conf.ini" "$src/data/Lingua.ini" "$station/"
mkdir -p "$shots"

# The part that runs inside the X server.
cat >"$station/inside.sh" <<'INSIDE'
set -euo pipefail
program=$1 station=$2 shots=$3
cd "$station"
fail() {
  echo "FAIL: $*" >&2
  kill "$pid" 2>/dev/null || true
  tail -n 40 "$station/out.txt" >&2 2>/dev/null || true
  exit 1
}
# Waits (at most $1 seconds) until the command after it succeeds.
waitfor() {
  local limit=$(($1 * 10)); shift
  for ((i = 0; i < limit; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}
window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
keys() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  shift
  xdotool key --clearmodifiers --delay 80 "$@"
}
shot() {
  if command -v import >/dev/null; then
    import -window root "$shots/menu-$1.png"
  elif command -v xwd >/dev/null; then
    xwd -root -silent >"$shots/menu-$1.xwd"
  else
    fail "no screenshot tool (import or xwd)"
  fi
}
conf_has() { grep -q -a "$1" "$station/Conf.ini"; }

"$program" >"$station/out.txt" 2>&1 &
pid=$!

menu=$(window "^Start men") || fail "the start menu did not appear"
[ -n "$menu" ] || fail "the start menu did not appear"
sleep 1
shot italiano

# F-key items open the forms of the tests and set-ups; they are harmless here and the menu
# keeps answering.
keys "$menu" F1 F2 F5
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
shot english

keys "$menu" ctrl+s
waitfor 10 conf_has "TLingua=3" || fail "Ctrl+S did not write TLingua=3"
sleep 1
shot espanol

keys "$menu" ctrl+e Escape
status=0
waitfor 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
conf_has "TLingua=2" || fail "the language code was not saved at the end"
echo "menu e2e: ok"
INSIDE

timeout 240 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$station/inside.sh" "$program" "$station" "$shots"
