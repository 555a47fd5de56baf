#!/usr/bin/env bash
# Pictures of every page of the wizard, taken on a virtual X display (Xvfb) while the wizard
# runs against an emulated bridge in test namespaces. As root; writes docs/screenshots/*.png.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=${1:-$top/docs/screenshots}
"$top/tools/install-deps.sh" xvfb xauth
cmake --build "$build" --target qbr20g_screenshots qbr20g-setup qbr20g-link qbr20g-emu >/dev/null
mkdir -p "$out"
QBR20G_SHOTS_DIR=$out QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x960x24" \
  "$build/tests/netns/qbr20g_screenshots"
ls "$out"
