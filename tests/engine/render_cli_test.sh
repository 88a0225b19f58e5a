#!/bin/sh
# Exit codes and outputs of tarnuvo-render for good and bad input.
render=$1 fixtures=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$render" "$fixtures/twelve_bits.wav" "$out/a.wav" 2>"$out/err"; code=$?
[ $code -eq 1 ] || fail "unsupported input gave exit $code"
[ ! -e "$out/a.wav" ] || fail "unsupported input left an output file"
[ "$(wc -l < "$out/err")" -eq 1 ] || fail "expected one line on stderr"

"$render" "$out/missing.ogg" "$out/b.wav" 2>/dev/null; [ $? -eq 1 ] || fail "missing input"
"$render" --mode repeat-one "$fixtures/small.wav" "$out/c.wav" 2>/dev/null; [ $? -ne 0 ] || fail "endless render accepted"
"$render" --loops 100 "$fixtures/small.wav" "$out/c.wav" 2>/dev/null; [ $? -ne 0 ] || fail "--loops 100 accepted"
"$render" "$fixtures/small.wav" /nonexistent/dir/x.wav 2>/dev/null; [ $? -ne 0 ] || fail "unwritable output"

"$render" --mode repeat-one --max-seconds 1.5 "$fixtures/small.wav" "$out/d.wav" || fail "repeat-one render"
[ "$(wc -c < "$out/d.wav")" -eq $((44 + 264600)) ] || fail "--max-seconds 1.5 must give 264600 bytes"
"$render" --loops 2 "$fixtures/small.wav" "$out/e.wav" || fail "plain render"
[ "$(wc -c < "$out/e.wav")" -eq $((44 + 12000)) ] || fail "a loopless track renders once"

# Other rates play at their own rate: 3 s of 48 kHz stereo, and --max-seconds
# counts the device's frames.
"$render" "$fixtures/source48.wav" "$out/f.wav" || fail "a 48 kHz WAV was refused"
[ "$(wc -c < "$out/f.wav")" -eq $((44 + 144000 * 4)) ] || fail "48 kHz: expected 144000 frames"
"$render" --max-seconds 1.5 "$fixtures/source48.wav" "$out/g.wav" || fail "48 kHz, --max-seconds"
[ "$(wc -c < "$out/g.wav")" -eq $((44 + 72000 * 4)) ] || fail "--max-seconds 1.5 at 48 kHz: 72000 frames"
echo ok
