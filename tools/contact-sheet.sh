#!/usr/bin/env bash
# Draws all artwork on one sheet with its ids: docs/artwork.png (shown in the README). With SCALE 2
# the sheet shows the twice-size drawings that screens of two device pixels to a pixel get.
# Usage: tools/contact-sheet.sh [BUILD_DIR] [OUTPUT] [SCALE]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
output=${2:-docs/artwork.png}
scale=${3:-1}

[[ -f "$build_dir/build.ninja" || -f "$build_dir/Makefile" ]] ||
  cmake -S . -B "$build_dir" -G Ninja
cmake --build "$build_dir" --target qbr20g-artwork
mkdir -p "$(dirname "$output")"
QT_QPA_PLATFORM=offscreen "$build_dir/res/qbr20g-artwork" --contact-sheet "$output" --scale "$scale"
echo "wrote $output"
