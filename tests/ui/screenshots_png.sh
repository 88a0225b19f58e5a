#!/bin/sh
# Turns the screenshots (BMP) that the window tests saved into PNG files
# beside them, for image viewers that take no BMP.
dir=$1
[ -d "$dir" ] || exit 0
command -v convert >/dev/null 2>&1 || { echo "no ImageMagick: screenshots stay BMP"; exit 0; }
for bmp in "$dir"/*.bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" || exit 1
done
