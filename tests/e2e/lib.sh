# shellcheck shell=bash
# Shared helpers of the end-to-end scripts, sourced by each *_e2e.sh (never run alone):
#
#   . "$(dirname "$0")/lib.sh"
#   e2e_under_xvfb "$@"    # the rest of the script runs inside a fresh X server
#
# Sets src (the source tree), bin (the build folder) and shots (<build>/artifacts, made).
# A script may define on_failure, which fail() runs (output to standard error) before it
# exits, e.g. to stop the program and show its log.

src=${VS_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
bin=${VS_BINARY_DIR:-$src/build/test}
shots=$bin/artifacts
mkdir -p "$shots"

# Runs the calling script again inside a fresh X server (1024x768, at most 240 s) and exits
# with its status; returns at once when already inside. Skips the test (exit 0) when Xvfb
# is not installed; fails when xdotool is missing.
e2e_under_xvfb() {
  [ "${1:-}" = "--inside" ] && return 0
  if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "skipped: no Xvfb (xvfb-run not found)"
    exit 0
  fi
  command -v xdotool >/dev/null 2>&1 || fail "xdotool is missing"
  exec timeout 240 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside
}

fail() {
  echo "FAIL: $*" >&2
  if declare -F on_failure >/dev/null; then on_failure >&2 || true; fi
  exit 1
}

# Waits (at most $1 seconds) until the command after it succeeds.
waitfor() {
  local limit=$(($1 * 10)) i
  shift
  for ((i = 0; i < limit; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# The id of the first visible window whose title matches $1 (waits up to 30 s); fails
# when none appears.
window() {
  local id
  id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1) || true
  [ -n "$id" ] || fail "no window '$1' appeared"
  echo "$id"
}

# Sends keys to window $1: keys WINDOW KEY...
keys() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  shift
  xdotool key --clearmodifiers --delay 80 "$@"
}

# A screenshot of the whole screen as $shots/$1.png (.xwd without ImageMagick).
shot() {
  local file
  if command -v import >/dev/null 2>&1; then
    file=$shots/$1.png
    import -window root "$file"
  elif command -v xwd >/dev/null 2>&1; then
    file=$shots/$1.xwd
    xwd -root -silent >"$file"
  else
    fail "no screenshot tool (import or xwd)"
  fi
  [ -s "$file" ] || fail "empty screenshot $file"
}
