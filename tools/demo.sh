#!/usr/bin/env bash
# Starts an emulated bridge and the wizard in two network namespaces joined by a veth pair,
# shows the wizard on the user's display, and removes everything when the wizard ends.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
wizard=$build/bin/qbr20g-setup
emulator=$build/tools/emu/qbr20g-emu
testnet=$top/tools/testnet.sh
wizard_ns=qbr20g-demo-wizard
bridge_ns=qbr20g-demo-bridge
work=$(mktemp -d /tmp/qbr20g-demo.XXXXXX)

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  cat >&2 <<'TEXT'
make demo: no display to show the wizard on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Run it from a desktop session, or on a virtual display, for example:
    xvfb-run -a -s "-screen 0 1280x1024x24" make demo
TEXT
  exit 1
fi
if [[ $(id -u) -ne 0 ]]; then
  echo "make demo: needs root to create the network namespaces (run it with sudo)." >&2
  exit 1
fi

emulator_pid=""
cleanup() {
  [[ -n "$emulator_pid" ]] && kill "$emulator_pid" 2>/dev/null && wait "$emulator_pid" 2>/dev/null
  "$testnet" del-ns "$wizard_ns" >/dev/null 2>&1 || true
  "$testnet" del-ns "$bridge_ns" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

"$testnet" add-ns "$wizard_ns"
"$testnet" add-ns "$bridge_ns"
"$testnet" add-veth "$wizard_ns" eth0 02:00:00:20:0a:01 "$bridge_ns" eth0 -

ip netns exec "$bridge_ns" "$emulator" --iface eth0 --scenario "$top/tools/demo-scenario.conf" \
  --log "$work/bridge.log" --settings-out "$work/settings.txt" --ready-file "$work/ready" &
emulator_pid=$!
for _ in $(seq 50); do
  [[ -e "$work/ready" ]] && break
  kill -0 "$emulator_pid" 2>/dev/null || { echo "make demo: the emulator did not start" >&2; exit 1; }
  sleep 0.1
done

echo "The wizard runs against an emulated bridge (frames logged to $work/bridge.log)."
status=0
ip netns exec "$wizard_ns" "$wizard" || status=$?
if [[ -s "$work/settings.txt" ]]; then
  echo "The emulated bridge stored these settings:"
  sed 's/^/    /' "$work/settings.txt"
fi
exit "$status"
