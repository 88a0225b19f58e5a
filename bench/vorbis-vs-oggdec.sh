#!/usr/bin/env bash
# Decodes the same Ogg Vorbis file with the renderer and with oggdec, side by
# side, at 48,000 Hz (the usual rate of game music) and at 44,100 Hz, and
# prints the speed ratio (renderer speed / oggdec speed) for each.
# Usage: bench/vorbis-vs-oggdec.sh [BUILD_DIR]   (default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
render=$build/tools/tarnuvo-render
[ -x "$render" ] || { echo "build the native preset first ($render missing)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The best CPU time (user + system) of 5 runs of the command, in seconds: on
# a shared machine the wall time measures the neighbours as well.
best() {
  local best=999999 t
  for _ in 1 2 3 4 5; do
    t=$( { TIMEFORMAT='%3U + %3S'; time "$@" >/dev/null 2>&1; } 2>&1 | bc -l)
    best=$(echo "if ($t < $best) $t else $best" | bc -l)
  done
  echo "$best"
}

for rate in 48000 44100; do
  # Two minutes of a synthetic signal, encoded at a usual quality.
  sox -n -r "$rate" -c 2 -b 16 "$work/in.wav" synth 120 sine 220-880 sine 330 tremolo 3 40 2>/dev/null
  oggenc -Q -q 5 -o "$work/in.ogg" "$work/in.wav"
  ours=$(best "$render" --mode single --loops 0 "$work/in.ogg" "$work/ours.wav")
  theirs=$(best oggdec -Q -o "$work/ref.wav" "$work/in.ogg")
  # Both write a 44-byte header before 16-bit samples.
  cmp -s <(tail -c +45 "$work/ours.wav") <(tail -c +45 "$work/ref.wav") && same=identical || same=DIFFERENT
  printf '%d Hz, 120 s: tarnuvo-render %.3f s CPU (%.0fx real time); oggdec %.3f s CPU (%.0fx real time)\n' \
    "$rate" "$ours" "$(echo "120 / $ours" | bc -l)" "$theirs" "$(echo "120 / $theirs" | bc -l)"
  printf '%d Hz: speed ratio tarnuvo-render / oggdec: %.2f; output samples %s\n' \
    "$rate" "$(echo "$theirs / $ours" | bc -l)" "$same"
done
