#!/usr/bin/env bash
# Reads the pages over the accessibility bus as a screen reader does: a private session bus (the
# accessibility bus starts on it as a D-Bus service), a virtual X display, then atspi_reader.py.
# Exits 77 (CTest's skip) when a part of that is missing.
# Usage: run-atspi-test.sh ATSPI_PAGES_PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

for tool in dbus-run-session xvfb-run /usr/libexec/at-spi-bus-launcher; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is missing (Debian packages dbus, xvfb, at-spi2-core; make deps installs them)"
    exit 77
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIPPED: the Python module pyatspi is missing (Debian package python3-pyatspi)"
  exit 77
fi

export QT_QPA_PLATFORM=xcb
# In a sanitized build: libxkbcommon-x11, which Qt's X11 platform reads the keyboard map with,
# hands strndup a length past the end of its buffer's string; strict checks count that as an
# overflow that the library itself never reads.
if [[ -n ${ASAN_OPTIONS:-} ]]; then
  export ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0
fi
exec dbus-run-session -- xvfb-run -a /usr/bin/python3 "$here/atspi_reader.py" "$1"
