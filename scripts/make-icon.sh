#!/usr/bin/env bash
# Renders app/icon/brightquill.svg at 16, 32, 48 and 256 px with ImageMagick
# and joins them into app/icon/brightquill.ico, the icon built into the exe;
# the 48 px one is also app/icon/brightquill-48.png, for Linux desktops that
# want a bitmap beside the scalable icon.
# The output has no time stamps, so running it again gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

svg=app/icon/brightquill.svg
ico=app/icon/brightquill.ico
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ImageMagick reads SVG through rsvg-convert; draw large once, then scale down
# so each size is filtered from the same drawing.
convert -background none "$svg" -resize 1024x1024 "$work/large.png"
sizes=(256 48 32 16)
frames=()
for size in "${sizes[@]}"; do
  convert "$work/large.png" -filter Lanczos -resize "${size}x${size}" \
    -strip -define png:exclude-chunks=date,time "PNG32:$work/$size.png"
  frames+=("$work/$size.png")
done
convert "${frames[@]}" -strip -define png:exclude-chunks=date,time "$ico"
cp "$work/48.png" app/icon/brightquill-48.png
identify "$ico" app/icon/brightquill-48.png
