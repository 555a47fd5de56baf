#!/usr/bin/env bash
# Runs a test program on Qt's native Wayland platform, under a headless Weston of its own that it
# stops again afterwards. Exits 77 (CTest's skip) when Weston or Qt's Wayland platform is missing.
# Usage: run-under-weston.sh QT_PLATFORM_PLUGIN_DIR PROGRAM [ARGS...]
set -euo pipefail
platforms=$1
shift

if ! command -v weston >/dev/null; then
  echo "SKIPPED: weston is not installed (Debian package weston; make deps installs it)"
  exit 77
fi
if [[ ! -e "$platforms/libqwayland-generic.so" ]]; then
  echo "SKIPPED: Qt's Wayland platform is missing (Debian package qt6-wayland; make deps installs it)"
  exit 77
fi

runtime=$(mktemp -d)
chmod 700 "$runtime"
socket=wayland-qbr20g-$$
weston_pid=
finish() {
  [[ -n $weston_pid ]] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  rm -rf "$runtime"
}
trap finish EXIT

XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
  >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
  [[ -S $runtime/$socket ]] && break
  sleep 0.05
done
if [[ ! -S $runtime/$socket ]]; then
  echo "SKIPPED: weston did not start:"
  cat "$runtime/weston.log"
  exit 77
fi

# The headless compositor has no seat; Qt's Wayland text input then has no device to send
# typed keys to, so the tests type through Qt's own compose input context.
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland QT_IM_MODULE=compose \
  "$@"
