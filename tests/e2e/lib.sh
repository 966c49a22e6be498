# shellcheck shell=bash
# Helpers of the end-to-end scripts, sourced by each *_e2e.sh. Sets src (the source tree), bin
# (the build folder) and shots (<build>/artifacts). A script may define on_failure, which fail()
# runs (output to standard error) before it exits.
src=${VS_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
bin=${VS_BINARY_DIR:-$src/build/test}
shots=$bin/artifacts
mkdir -p "$shots"

# Runs the calling script again, with its arguments after "--inside", inside a fresh X
# server (1024x768, at most E2E_SECONDS, default 240 s) and exits with its status; returns
# at once when already inside. Skips the test (exit 0) when Xvfb is not installed.
e2e_under_xvfb() {
  [ "${1:-}" = "--inside" ] && return 0
  command -v xvfb-run >/dev/null 2>&1 || { echo "skipped: no Xvfb (xvfb-run not found)" && exit 0; }
  for tool in xdotool import; do command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing"; done
  exec timeout "${E2E_SECONDS:-240}" xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$@"
}

fail() { echo "FAIL: $*" >&2; ! declare -F on_failure >/dev/null || on_failure >&2 || true; exit 1; }

# The built program and simulator (program, sim), and a new station folder (station) holding
# a copy of the program with the shipped settings and texts; sims lists the simulators a script
# starts. The caller sets its EXIT trap (which removes "$station") before it enters the folder.
e2e_station() {
  program=$bin/src/vantoscope sim=$bin/tests/vantoscope-sim
  local f
  for f in "$program" "$sim"; do [ -x "$f" ] || fail "$f is not built"; done
  station=$(mktemp -d)
  sims=()
  cp "$program" "$src/data/Conf.ini" "$src/data/Lingua.ini" "$station/"
}

# Waits (at most $1 seconds) until the command after it succeeds.
waitfor() {
  local i
  for ((i = 0; i < $1 * 10; i++)); do "${@:2}" && return 0 || sleep 0.1; done
  return 1
}

# The id of the first visible window whose title matches $1 (waits up to 30 s); fails
# when none appears.
window() {
  local id
  id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1) || true
  [ -n "$id" ] && echo "$id" || fail "no window '$1' appeared"
}

# Whether a visible window's title matches $1; gone waits (at most 10 s) until none does.
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
gone() { waitfor 10 bash -c "! xdotool search --onlyvisible --name '$1' >/dev/null"; }

# Sends keys to window $1: keys WINDOW KEY...
keys() { xdotool windowfocus --sync "$1" 2>/dev/null || true; xdotool key --clearmodifiers --delay 80 "${@:2}"; }

# A printer for the program's `lp`: e2e_printer FOLDER starts a private CUPS server (cupsd
# with its own configuration, spool and socket under FOLDER, as root) whose default printer
# writes each job as a PDF file into FOLDER/printed, and points `lp` at it (CUPS_SERVER).
# cups-pdf reads its output folder from a fixed file under /etc/cups, so the server runs in
# its own mount namespace with that file replaced; the machine's CUPS set-up is never changed.
# Where that cannot be done, a stand-in `lp` on PATH copies each printed file there instead,
# and the output says so. Sets printed and printer_kind ("cups" or "stand-in").
e2e_printer() {
  printed=$1/printed
  mkdir -p "$printed" "$1/bin"
  unset LPDEST PRINTER
  printer_kind=cups
  _cups_start "$1" && echo "printer: private CUPS server at $CUPS_SERVER, PDF files in $printed" && return 0
  printer_stop
  unset CUPS_SERVER
  printer_kind=stand-in
  printf '#!/bin/sh\nfor f; do :; done\ncp "$f" %q/job-$(ls %q | wc -l).pdf\n' "$printed" "$printed" >"$1/bin/lp"
  chmod 755 "$1/bin/lp"
  PATH=$1/bin:$PATH
  echo "printer: NO CUPS SERVER could start here ($cups_problem); a stand-in lp keeps the printed files in $printed"
}

printer_stop() {
  [ -z "${cups_pid:-}" ] || { kill "$cups_pid" && wait "$cups_pid"; } 2>/dev/null || true
  cups_pid=
}

_cups_start() {
  local c=$1/cups ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd tool
  cups_problem="not root"
  [ "$(id -u)" -eq 0 ] || return 1
  for tool in cupsd lpadmin unshare; do
    command -v $tool >/dev/null || { cups_problem="$tool is not installed" && return 1; }
  done
  cups_problem="cups-pdf is not installed"
  [ -x /usr/lib/cups/backend/cups-pdf ] && [ -e /etc/cups/cups-pdf.conf ] && [ -r "$ppd" ] || return 1
  mkdir -p "$c/conf" "$c/spool/tmp" "$c/cache" "$c/state" "$c/log"
  # The filters run as the unprivileged user lp: they must reach the spool and the output.
  chmod 755 "$1" "$c" "$c/conf" "$c/spool" "$c/cache" "$c/state"
  chmod 1777 "$printed" "$c/spool/tmp"
  cat >"$c/conf/cupsd.conf" <<CONF
Listen $c/socket
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
  cat >"$c/conf/cups-files.conf" <<CONF
ServerRoot $c/conf
RequestRoot $c/spool
TempDir $c/spool/tmp
CacheDir $c/cache
StateDir $c/state
AccessLog $c/log/access_log
ErrorLog $c/log/error_log
PageLog $c/log/page_log
Sandboxing Relaxed
CONF
  # One file per job, named after its title and job number.
  printf '%s\n' "Out $printed" "AnonDirName $printed" "Label 1" "UserUMask 0022" "Grp root" \
    "Log $c/log" >"$c/cups-pdf.conf"
  unshare -m --propagation private sh -c \
    "mount --bind '$c/cups-pdf.conf' /etc/cups/cups-pdf.conf &&
     exec cupsd -f -c '$c/conf/cupsd.conf' -s '$c/conf/cups-files.conf'" >"$c/log/cupsd.out" 2>&1 &
  cups_pid=$!
  export CUPS_SERVER=$c/socket
  waitfor 10 eval 'lpstat -r 2>/dev/null | grep -q "is running" || ! kill -0 $cups_pid 2>/dev/null'
  cups_problem="cupsd did not start: $(head -c 300 "$c/log/cupsd.out" 2>/dev/null)"
  lpstat -r 2>/dev/null | grep -q 'is running' || return 1
  # Poppler turns the PDF into PostScript for cups-pdf: Ghostscript, the default, would
  # draw the text as outlines and leave the printed file without text.
  cups_problem="the PDF printer could not be set up"
  lpadmin -p StationPDF -v cups-pdf:/ -P "$ppd" -o pdftops-renderer-default=pdftops -E >/dev/null 2>&1 &&
    lpadmin -d StationPDF >/dev/null 2>&1
}
