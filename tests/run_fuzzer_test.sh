#!/bin/sh
# The fuzz runner's verdicts and report, against a stand-in fuzzer that prints
# what libFuzzer prints and exits as libFuzzer exits.
runner=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
mkdir seeds
fail() {
  echo "FAIL: $*"
  cat out
  exit 1
}

cat >fake <<'EOF'
#!/bin/sh
echo "$@" >args
for a in "$@"; do case $a in -artifact_prefix=*) prefix=${a#*=} ;; esac; done
case $FAKE in
clean | blind)
  edges=750
  [ "$FAKE" = blind ] && edges=179
  echo "#60	INITED cov: $((edges - 50)) ft: 1895 corp: 30/71Kb exec/s: 0 rss: 39Mb"
  echo "#89	NEW    cov: $((edges - 10)) ft: 1896 corp: 31/73Kb lim: 4913 exec/s: 0 rss: 41Mb"
  echo "#13595	DONE   cov: $edges ft: 2125 corp: 40/227Kb lim: 4913 exec/s: 321 rss: 338Mb"
  echo "stat::number_of_executed_units: 13595"
  echo "stat::average_exec_per_sec:     321"
  echo "stat::new_units_added:          12"
  ;;
crash)
  echo "#60	INITED cov: 700 ft: 1895 corp: 30/71Kb exec/s: 0 rss: 39Mb"
  echo "==7==ERROR: AddressSanitizer: heap-buffer-overflow on address 0x6020"
  echo crash >"${prefix}crash-0123abcd"
  exit 1
  ;;
esac
EOF
chmod +x fake

FAKE=clean sh "$runner" ./fake seeds 600 >out 2>&1 || fail "a clean run failed"
grep -qx 'fake: 750 edges (700 from the seeds), corpus 40 inputs (12 added), 321 runs/s, 60 s' out ||
  fail "wrong summary"
grep -q '^#13595	DONE   cov: 750' out || fail "libFuzzer's last line is not shown"
grep -q '^stat::average_exec_per_sec: *321$' out || fail "the final statistics are not shown"
read -r args <args
[ "$args" = "-max_total_time=60 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -artifact_prefix=fake.run/artifacts/ fake.run/corpus seeds" ] ||
  fail "fuzzer arguments: $args"

FAKE=clean TARNUVO_FUZZ_SECONDS=5 sh "$runner" ./fake seeds 600 >out 2>&1 || fail "a 5 s run failed"
grep -q -- '-max_total_time=5 ' args || fail "TARNUVO_FUZZ_SECONDS is not passed on"
grep -q ', 5 s$' out || fail "the summary does not give the length"

for bad in 5m 0 060 -1; do
  FAKE=clean TARNUVO_FUZZ_SECONDS=$bad sh "$runner" ./fake seeds 600 >out 2>&1 && fail "'$bad' accepted"
done

FAKE=blind sh "$runner" ./fake seeds 600 >out 2>&1 && fail "a blind target passed"
grep -q '179 edges, below its floor of 600' out || fail "no word on the floor"

FAKE=crash sh "$runner" ./fake seeds 600 >out 2>&1 && fail "a crash passed"
grep -q 'AddressSanitizer: heap-buffer-overflow' out || fail "the sanitizer report is not shown"
grep -qx "artifact: $dir/fake.run/artifacts/crash-0123abcd" out || fail "the input is not named"
grep -q 'exit code 1' out || fail "the exit code is not given"

FAKE=silent sh "$runner" ./fake seeds 600 >out 2>&1 && fail "a run without figures passed"
grep -q 'no coverage figures' out || fail "no word on the missing figures"
echo ok
