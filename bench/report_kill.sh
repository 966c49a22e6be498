#!/usr/bin/env bash
# Kills the whole-file writer with SIGKILL while strace holds it inside its writes of
# "report.log" (each write held 20 ms at its entry, or at its exit on every other trial), and
# checks after each kill that report.log is one of the two reports, whole, and that the next
# write leaves no temporary file behind. Needs strace; run as root or with ptrace allowed.
#
#   bench/report_kill.sh [HARNESS] [TRIALS]
#     HARNESS  bench_report_kill_harness (default build/release/bench/bench_report_kill_harness)
#     TRIALS   default 50
set -u
harness=${1:-build/release/bench/bench_report_kill_harness}
trials=${2:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/first" "$work/second" "$work/run"
"$harness" "$work/first" 1 && "$harness" "$work/second" 2 || exit 1

whole=0 torn=0 left=0 newer=0 killed=0
for ((i = 1; i <= trials; i++)); do
  "$harness" "$work/run" 1 || exit 1  # the first report in place
  [[ $((i % 2)) == 1 ]] && hold=delay_enter || hold=delay_exit
  strace -f -o /dev/null -e trace=write -e inject=write:$hold=20000 "$harness" "$work/run" 0 2>/dev/null &
  tracer=$!
  sleep "$(printf '0.%03d' $((RANDOM % 400 + 100)))"
  kill -9 "$(pgrep -P "$tracer")"
  wait "$tracer" 2>/dev/null
  if cmp -s "$work/run/report.log" "$work/first/report.log"; then
    whole=$((whole + 1))
  elif cmp -s "$work/run/report.log" "$work/second/report.log"; then
    whole=$((whole + 1)) newer=$((newer + 1))
  else
    torn=$((torn + 1))
    echo "trial $i ($hold): report.log has $(stat -c %s "$work/run/report.log" 2>/dev/null || echo no) bytes"
  fi
  killed=$((killed + $(find "$work/run" -name '.report.log.tmp*' | wc -l)))
  "$harness" "$work/run" 1 >/dev/null 2>&1
  n=$(find "$work/run" -name '.report.log.tmp*' | wc -l)
  left=$((left + n))
done
echo "trials $trials: report.log whole $whole (the newer report $newer), torn or lost $torn;" \
  "temporary files left by the kills $killed, after the next write $left"
