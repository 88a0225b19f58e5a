#!/usr/bin/env bash
# Fails when a tracked C++ source differs from what .clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find engine playlist app ui resources tests tools bench \
    -name '*.cpp' -o -name '*.h' 2>/dev/null)
fi
[ ${#files[@]} -gt 0 ] || { echo "no sources found" >&2; exit 1; }
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted"
