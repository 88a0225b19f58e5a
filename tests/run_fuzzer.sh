#!/bin/sh
# A bounded libFuzzer run from committed seeds, ending with one line of what
# it reached. Fails on a crash, leak, timeout or sanitizer report (the input
# is kept under <name>.run/artifacts/), and when the run covers fewer edges
# than the floor given: a target blind to the code under test stays near the
# harness's own few hundred edges.
# Usage: run_fuzzer.sh <fuzzer> <seed dir> <minimum edges> [seconds]
# TARNUVO_FUZZ_SECONDS sets the length of the run (else the seconds given,
# else 60 s).
set -u
fuzzer=$1 seeds=$2 min_edges=$3
seconds=${TARNUVO_FUZZ_SECONDS:-${4:-60}}
# libFuzzer takes 0 for no limit, and the shell reads a leading 0 as octal.
case $seconds in
'' | 0* | *[!0-9]*)
  echo "TARNUVO_FUZZ_SECONDS must be a positive whole number of seconds, not '$seconds'"
  exit 2
  ;;
esac
name=$(basename "$fuzzer")
work=$name.run
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts" || exit 2

# New inputs go to the scratch corpus; the seeds are only read. A hang the
# per-input timeout cannot end still ends two minutes after the run should.
timeout -k 10 $((seconds + 120)) "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 \
  -timeout=10 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
  "$work/corpus" "$seeds" >"$work/log" 2>&1
rc=$?

# "#1234 DONE cov: 907 ft: 2100 corp: 153/92Kb ..." and "stat::name: value"
field() { sed -n "s/.* $1 *\\([0-9][0-9]*\\).*/\\1/p" | tail -n 1; }
final_stat() { sed -n "s/^stat::$1: *\\([0-9][0-9]*\\).*/\\1/p" "$work/log" | tail -n 1; }
seeded=$(grep 'INITED' "$work/log" | field 'cov:')
edges=$(grep ' cov: ' "$work/log" | field 'cov:')
corpus=$(grep ' corp: ' "$work/log" | field 'corp:')
speed=$(final_stat average_exec_per_sec)
added=$(final_stat new_units_added)

status=0
if [ "$rc" -ne 0 ]; then
  # The fuzzer's own report: the stack, the sanitizer's words, the input.
  tail -n 60 "$work/log"
  ls "$work/artifacts" | sed "s|^|artifact: $PWD/$work/artifacts/|"
  echo "$name: the fuzzer stopped with exit code $rc"
  status=1
else
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::)' "$work/log"
fi
if [ -z "$edges" ]; then
  echo "$name: no coverage figures in $work/log"
  status=1
elif [ "$edges" -lt "$min_edges" ]; then
  echo "$name: $edges edges, below its floor of $min_edges: is the code under test instrumented?"
  status=1
fi
echo "$name: ${edges:-?} edges (${seeded:-?} from the seeds), corpus ${corpus:-?} inputs" \
  "(${added:-?} added), ${speed:-?} runs/s, ${seconds} s"
exit $status
