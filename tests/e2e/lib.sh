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

# Runs the calling script again, with its arguments after "--inside", inside a fresh X
# server (1024x768, at most E2E_SECONDS, default 240 s) and exits with its status; returns
# at once when already inside. Skips the test (exit 0) when Xvfb is not installed.
e2e_under_xvfb() {
  [ "${1:-}" = "--inside" ] && return 0
  if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "skipped: no Xvfb (xvfb-run not found)"
    exit 0
  fi
  local tool
  for tool in xdotool import; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing"
  done
  exec timeout "${E2E_SECONDS:-240}" xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$@"
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

# Whether a visible window's title matches $1; gone waits (at most 10 s) until none does.
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
gone() { waitfor 10 bash -c "! xdotool search --onlyvisible --name '$1' >/dev/null"; }

# Sends keys to window $1: keys WINDOW KEY...
keys() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  shift
  xdotool key --clearmodifiers --delay 80 "$@"
}

# A screenshot of the whole screen as $shots/$1.png.
shot() {
  import -window root "$shots/$1.png"
  [ -s "$shots/$1.png" ] || fail "empty screenshot $shots/$1.png"
}

# A printer for the program's `lp`: e2e_printer FOLDER starts a private CUPS server (cupsd
# with its own configuration, spool and socket under FOLDER, as root) whose default printer
# writes each job as a PDF file into FOLDER/printed, and points `lp` at it (CUPS_SERVER).
# The cups-pdf backend reads its output folder from a fixed file under /etc/cups, so the
# server runs in its own mount namespace with that file replaced by one naming
# FOLDER/printed; the machine's own CUPS set-up is never changed. Where that cannot be
# done (not root, no cupsd, no cups-pdf, no namespace), a stand-in `lp` on PATH copies each
# printed file there instead, and the output says so. Sets printed (the folder) and
# printer_kind ("cups" or "stand-in"); printer_stop stops the server.
e2e_printer() {
  local root=$1
  printed=$root/printed
  mkdir -p "$printed"
  unset LPDEST PRINTER
  if _cups_start "$root"; then
    printer_kind=cups
    echo "printer: private CUPS server at $CUPS_SERVER, PDF files in $printed"
    return 0
  fi
  printer_stop
  unset CUPS_SERVER
  printer_kind=stand-in
  mkdir -p "$root/bin"
  cat >"$root/bin/lp" <<LP
#!/bin/sh
# Stand-in for lp: keeps a copy of the file, named after the job's title (-t).
title=job
while [ \$# -gt 1 ]; do
  case \$1 in -t) title=\$2; shift ;; esac
  shift
done
n=\$(ls '$printed' | wc -l)
cp "\$1" '$printed'/"\$title-\$n.pdf"
LP
  chmod 755 "$root/bin/lp"
  PATH=$root/bin:$PATH
  echo "printer: NO CUPS SERVER could start here ($cups_problem); a stand-in lp keeps the printed files in $printed"
}

printer_stop() {
  if [ -n "${cups_pid:-}" ]; then
    kill "$cups_pid" 2>/dev/null || true
    wait "$cups_pid" 2>/dev/null || true
    cups_pid=
  fi
}

# Fails unless the text of the file printed last holds each text after $1 (what it is).
check_printed() {
  local what=$1 text want
  shift
  text=$(pdftotext -layout "$(find "$printed" -maxdepth 1 -name '*.pdf' -printf '%T@ %p\n' |
    sort -n | tail -n 1 | cut -d' ' -f2-)" -)
  for want; do
    grep -qF -- "$want" <<<"$text" || fail "the printed $what lacks '$want': $text"
  done
}

# Waits (at most $1 seconds) until $2 PDF files have been printed.
wait_printed() {
  waitfor "$1" bash -c "[ \$(ls '$printed' | grep -c '\\.pdf\$') -ge $2 ] &&
    { [ '$printer_kind' != cups ] || [ -z \"\$(lpstat -o 2>/dev/null)\" ]; }"
}

_cups_start() {
  local root=$1 ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd i
  cups_problem=
  if [ "$(id -u)" -ne 0 ]; then cups_problem="not root"; return 1; fi
  command -v cupsd >/dev/null 2>&1 || { cups_problem="cupsd is not installed"; return 1; }
  command -v lpadmin >/dev/null 2>&1 || { cups_problem="lpadmin is not installed"; return 1; }
  if [ ! -x /usr/lib/cups/backend/cups-pdf ] || [ ! -e /etc/cups/cups-pdf.conf ] || [ ! -r "$ppd" ]; then
    cups_problem="cups-pdf is not installed"
    return 1
  fi
  local c=$root/cups
  mkdir -p "$c/conf" "$c/spool/tmp" "$c/cache" "$c/state" "$c/log"
  # The filters run as the unprivileged user lp: they must reach the spool and the output.
  chmod 755 "$root" "$c" "$c/conf" "$c/spool" "$c/cache" "$c/state"
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
  cat >"$c/cups-pdf.conf" <<CONF
Out $printed
AnonDirName $printed
Label 1
UserUMask 0022
Grp root
Log $c/log
CONF
  command -v unshare >/dev/null 2>&1 || { cups_problem="unshare is missing"; return 1; }
  unshare -m --propagation private sh -c \
    "mount --bind '$c/cups-pdf.conf' /etc/cups/cups-pdf.conf &&
     exec cupsd -f -c '$c/conf/cupsd.conf' -s '$c/conf/cups-files.conf'" >"$c/log/cupsd.out" 2>&1 &
  cups_pid=$!
  export CUPS_SERVER=$c/socket
  for ((i = 0; i < 100; i++)); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    kill -0 "$cups_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    cups_problem="cupsd did not start: $(head -c 300 "$c/log/cupsd.out" 2>/dev/null)"
    return 1
  fi
  # Poppler turns the PDF into PostScript for cups-pdf: Ghostscript, the default, would
  # draw the text as outlines and leave the printed file without text.
  if ! lpadmin -p StationPDF -v cups-pdf:/ -P "$ppd" -o pdftops-renderer-default=pdftops -E \
    >/dev/null 2>&1 || ! lpadmin -d StationPDF >/dev/null 2>&1; then
    cups_problem="the PDF printer could not be set up"
    return 1
  fi
}
