#!/usr/bin/env bash
# Draws all artwork on one sheet with its ids: docs/artwork.png (shown in the README).
# Usage: tools/contact-sheet.sh [BUILD_DIR] [OUTPUT]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
output=${2:-docs/artwork.png}

[[ -f "$build_dir/build.ninja" || -f "$build_dir/Makefile" ]] ||
  cmake -S . -B "$build_dir" -G Ninja
cmake --build "$build_dir" --target qbr20g-artwork
mkdir -p "$(dirname "$output")"
QT_QPA_PLATFORM=offscreen "$build_dir/res/qbr20g-artwork" --contact-sheet "$output"
echo "wrote $output"
