#!/usr/bin/env bash
# Pictures of every page of the wizard, taken on a virtual X display (Xvfb) while the wizard
# runs against an emulated bridge in test namespaces. As root; writes docs/screenshots/*.png.
# SCALE=2 takes them as a screen of two device pixels to a pixel shows them (QT_SCALE_FACTOR=2),
# into docs/screenshots/2x by default.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
scale=${SCALE:-1}
if [[ $scale == 1 ]]; then
  out=${1:-$top/docs/screenshots}
else
  out=${1:-$top/docs/screenshots/${scale}x}
fi
"$top/tools/install-deps.sh" xvfb xauth
cmake --build "$build" --target qbr20g_screenshots qbr20g-setup qbr20g-link qbr20g-emu >/dev/null
mkdir -p "$out"
QBR20G_SHOTS_DIR=$out QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale \
  xvfb-run -a -s "-screen 0 $((1280 * scale))x$((960 * scale))x24" \
  "$build/tests/netns/qbr20g_screenshots"
ls "$out"
