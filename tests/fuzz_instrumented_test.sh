#!/bin/sh
# Every object of this build's libraries that a fuzz target links must carry
# libFuzzer's coverage counters: code without them is invisible to the fuzzer.
# Reads the targets' link lines from the Ninja build.
# Usage: fuzz_instrumented_test.sh <ninja> <build dir> <fuzz target>...
ninja=$1 build=$2
shift 2
symbols=$(mktemp)
trap 'rm -f "$symbols"' EXIT
status=0
for target in "$@"; do
  link=$("$ninja" -C "$build" -t commands "$target" | tail -n 1)
  libs=$(printf '%s\n' $link | grep '\.a$' | grep -v '^googletest/')
  if [ -z "$libs" ]; then
    echo "$target: links no library of this build"
    status=1
  fi
  for lib in $libs; do
    # "lib.a:member.o:0000 T symbol" for the code a member defines,
    # "lib.a:member.o:   U __sanitizer_cov_8bit_counters_init" where counted.
    nm -A "$build/$lib" >"$symbols" || status=1
    with_code=$(grep -E ':[0-9a-f]+ [TtW] ' "$symbols" | cut -d: -f2 | sort -u)
    counted=$(grep ' U __sanitizer_cov_8bit_counters_init$' "$symbols" | cut -d: -f2 | sort -u)
    for member in $with_code; do
      if ! printf '%s\n' $counted | grep -qx "$member"; then
        echo "$target: $lib($member) is compiled without coverage"
        status=1
      fi
    done
    echo "$target: $lib, $(printf '%s' "$counted" | grep -c .) objects with coverage"
  done
done
exit $status
