#!/usr/bin/env bash
# Checks of the Debian package, one CTest case per command:
#   build DIR BUILD_DIR         packs the package into DIR (the other cases read it from there)
#   contents DIR                files, dependencies, and what postinst does with and without setcap
#   desktop DIR                 desktop-file-validate on the packaged desktop entry
#   lintian DIR                 lintian shows no errors
#   install DIR SOURCE_DIR EMU  (root) installs it with apt-get, checks the capability, and runs
#                               the installed wizard offscreen as a new ordinary user in a
#                               namespace with a veth to the emulator, until discovery ends;
#                               removes package, user and namespaces again, also after a failure
# Exit status 77 means skipped (CTest's SKIP_RETURN_CODE), with the reason on stderr.
set -euo pipefail

SKIP=77
PACKAGE=qbr20g-setup
PROGRAM=/usr/bin/qbr20g-setup

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
skip() {
  echo "SKIPPED: $*" >&2
  exit "$SKIP"
}

the_deb() {
  local debs=("$1"/"$PACKAGE"_*.deb)
  [[ -e ${debs[0]} ]] || fail "no package in $1 (the build case makes it)"
  [[ ${#debs[@]} -eq 1 ]] || fail "more than one package in $1: ${debs[*]}"
  echo "${debs[0]}"
}

build() {
  local dir=$1 build_dir=$2
  rm -rf "$dir"
  mkdir -p "$dir"
  cpack --config "$build_dir/CPackConfig.cmake" -B "$dir" >"$dir/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$dir/cpack.log")"
  rm -rf "$dir/_CPack_Packages"
  local deb
  deb=$(the_deb "$dir")
  chmod 0755 "$dir"
  chmod 0644 "$deb"
  echo "built $deb"
}

contents() {
  local deb listing depends
  deb=$(the_deb "$1")
  listing=$(dpkg-deb --contents "$deb" | awk '{print $1, $6}')
  for file in ./usr/bin/qbr20g-setup ./usr/share/applications/qbr20g-setup.desktop \
    ./usr/share/icons/hicolor/64x64/apps/qbr20g-setup.png \
    ./usr/share/man/man1/qbr20g-setup.1.gz ./usr/share/doc/qbr20g-setup/copyright \
    ./usr/share/doc/qbr20g-setup/changelog.gz; do
    grep -q " $file\$" <<<"$listing" || fail "$file is not in the package"
  done
  grep -q '^-rwxr-xr-x ./usr/bin/qbr20g-setup$' <<<"$listing" ||
    fail "the program is not a plain 0755 file (no setuid): $(grep bin/ <<<"$listing")"
  [[ $(awk '$1 ~ /^-/' <<<"$listing" | wc -l) -eq 6 ]] ||
    fail "files beyond the six expected: $(awk '$1 ~ /^-/ {print $2}' <<<"$listing")"

  depends=$(dpkg-deb --field "$deb" Depends)
  for needed in libcap2-bin fonts-liberation libpcap0.8 libqt6widgets6 libqt6gui6 libc6; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
  done

  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  dpkg-deb --extract "$deb" "$work/root"
  file "$work/root$PROGRAM" | grep -q ', stripped' || fail "the program is not stripped"
  [[ $(zcat "$work/root/usr/share/man/man1/qbr20g-setup.1.gz" | head -c 3) == .TH ]] ||
    fail "the manual page is not a gzipped man page"

  # postinst with a setcap that works, one that fails, and none at all: the install never
  # fails, and the user learns what to do.
  dpkg-deb --control "$deb" "$work/control"
  local postinst=$work/control/postinst bin=$work/bin
  [[ -x $postinst ]] || fail "no executable postinst"
  mkdir -p "$bin"
  printf '#!/bin/sh\necho "$@" >"%s/setcap.args"\n' "$work" >"$bin/setcap"
  chmod +x "$bin/setcap"
  PATH=$bin /bin/sh "$postinst" configure 2>"$work/err" || fail "postinst failed"
  [[ $(cat "$work/setcap.args") == "cap_net_raw=ep $PROGRAM" ]] ||
    fail "postinst ran: setcap $(cat "$work/setcap.args")"
  [[ ! -s $work/err ]] || fail "postinst complained although setcap worked: $(cat "$work/err")"

  printf '#!/bin/sh\necho "Failed to set capabilities on file" >&2\nexit 1\n' >"$bin/setcap"
  PATH=$bin /bin/sh "$postinst" configure 2>"$work/err" ||
    fail "postinst failed the install when setcap failed"
  grep -q "setcap cap_net_raw=ep $PROGRAM" "$work/err" ||
    fail "no retry command after a failed setcap: $(cat "$work/err")"

  rm "$bin/setcap"
  PATH=$bin /bin/sh "$postinst" configure 2>"$work/err" ||
    fail "postinst failed the install without setcap"
  grep -q "libcap2-bin" "$work/err" || fail "no package named without setcap: $(cat "$work/err")"

  rm -f "$work/setcap.args"
  PATH=$bin /bin/sh "$postinst" abort-upgrade 2>"$work/err" || fail "postinst abort-upgrade failed"
  echo "contents, dependencies and postinst are as expected"
}

desktop() {
  command -v desktop-file-validate >/dev/null ||
    skip "desktop-file-validate is not installed (apt-get install desktop-file-utils)"
  local deb
  deb=$(the_deb "$1")
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  dpkg-deb --extract "$deb" "$work"
  desktop-file-validate "$work/usr/share/applications/qbr20g-setup.desktop"
  echo "desktop entry is valid"
}

lintian_check() {
  command -v lintian >/dev/null || skip "lintian is not installed (apt-get install lintian)"
  local deb
  deb=$(the_deb "$1")
  lintian --fail-on error --tag-display-limit 0 "$deb" ||
    fail "lintian reports errors"
  echo "lintian reports no errors"
}

# --- install ----------------------------------------------------------------------------------

USER_NAME=qbr20g-pkgtest
NS_PREFIX=qbr20g-pkgtest-
MARKER=/var/tmp/qbr20g-package-test.running
WIZARD_MAC=02:00:00:30:0a:01
BRIDGE_MAC=02:00:00:30:0b:01

installed() {
  [[ $(dpkg-query -W -f='${Status}' "$PACKAGE" 2>/dev/null || true) == "install ok installed" ]]
}

# Notes in the marker what a later run must remove if this one is killed: "process PID
# PROGRAM" (the program too, so that a reused id is not ended) or "folder PATH".
remember() {
  echo "$@" >>"$MARKER"
}

# Removes what an install run made, also what a killed run left. Safe to run twice.
undo_install() {
  local testnet=$1 kind value program pid
  for pid in ${WIZARD_PID:-} ${EMU_PID:-}; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  WIZARD_PID="" EMU_PID=""
  if [[ -f $MARKER ]]; then
    while read -r kind value program; do
      if [[ $kind == folder && $value == /tmp/qbr20g-pkgtest.* ]]; then
        rm -rf "$value"
      elif [[ $kind == process && $(readlink "/proc/$value/exe" 2>/dev/null) == "$program" ]]; then
        kill "$value" 2>/dev/null || true
        for _ in $(seq 50); do
          [[ -e /proc/$value ]] || break
          sleep 0.1
        done
      fi
    done <"$MARKER"
  fi
  "$testnet" del-prefix "$NS_PREFIX" >/dev/null 2>&1 || true
  if id "$USER_NAME" >/dev/null 2>&1; then
    userdel "$USER_NAME" >/dev/null 2>&1 || echo "could not remove user $USER_NAME" >&2
  fi
  if installed || dpkg-query -W "$PACKAGE" >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$PACKAGE" >/dev/null 2>&1 ||
      dpkg --purge "$PACKAGE" >/dev/null 2>&1 || echo "could not remove $PACKAGE" >&2
  fi
  if [[ -n ${WORK:-} ]]; then
    rm -rf "$WORK"
  fi
  rm -f "$MARKER"
}

# Waits until the emulator's log holds a line that the awk condition $2 accepts.
wait_for_log() {
  local log=$1 condition=$2 what=$3
  for _ in $(seq 600); do
    [[ -s $log ]] && awk "$condition {found = 1} END {exit !found}" "$log" && return 0
    kill -0 "$WIZARD_PID" 2>/dev/null || fail "the wizard ended before $what: $(cat "$WORK/wizard.err")"
    sleep 0.1
  done
  fail "no $what in 60 s; the emulator saw:
$(cat "$log")
wizard: $(cat "$WORK/wizard.err")"
}

install_run() {
  local dir=$1 source_dir=$2 emulator=$3
  local testnet=$source_dir/tools/testnet.sh deb
  [[ $(id -u) -eq 0 ]] ||
    skip "needs root: installs the package on this machine, creates a user and namespaces"
  command -v apt-get >/dev/null || skip "apt-get is not available"
  command -v setpriv >/dev/null || skip "setpriv (util-linux) is not available"
  deb=$(the_deb "$dir")

  if [[ -e $MARKER ]]; then
    echo "cleaning up after an install run that was killed"
    undo_install "$testnet"
  elif installed; then
    skip "$PACKAGE is installed on this machine already; this test would replace and remove it"
  fi
  id "$USER_NAME" >/dev/null 2>&1 && fail "user $USER_NAME exists and was not made by this test"

  touch "$MARKER"
  WORK=$(mktemp -d /tmp/qbr20g-pkgtest.XXXXXX)
  chmod 0755 "$WORK"
  remember folder "$WORK"
  trap 'undo_install "'"$testnet"'"' EXIT
  trap 'exit 1' INT TERM

  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$WORK/apt.log" 2>&1 ||
    fail "apt-get install failed: $(cat "$WORK/apt.log")"
  installed || fail "the package is not installed after apt-get"
  local caps
  caps=$(getcap "$PROGRAM")
  [[ $caps == "$PROGRAM cap_net_raw=ep" ]] || fail "getcap $PROGRAM gives '$caps'"
  for file in /usr/share/applications/qbr20g-setup.desktop \
    /usr/share/icons/hicolor/64x64/apps/qbr20g-setup.png; do
    [[ -f $file ]] || fail "$file is missing after the install"
  done
  man -w qbr20g-setup >/dev/null 2>&1 || fail "man qbr20g-setup finds no page"

  useradd --system --no-create-home --shell /usr/sbin/nologin "$USER_NAME"
  local home=$WORK/home
  mkdir -m 0700 "$home"
  chown "$USER_NAME:" "$home"

  local wizard_ns=${NS_PREFIX}wiz-$$ bridge_ns=${NS_PREFIX}br-$$
  "$testnet" add-ns "$wizard_ns"
  "$testnet" add-ns "$bridge_ns"
  "$testnet" add-veth "$wizard_ns" eth0 "$WIZARD_MAC" "$bridge_ns" br0 -
  printf 'mac = %s\nssid = Workshop\nsecmode = 2\nnetwork = Workshop|a4:2b:b0:00:00:01|6|BG|2|82\n' \
    "$BRIDGE_MAC" >"$WORK/scenario.conf"
  local log=$WORK/bridge.log
  ip netns exec "$bridge_ns" "$emulator" --iface br0 --scenario "$WORK/scenario.conf" \
    --log "$log" --ready-file "$WORK/ready" 2>"$WORK/emu.err" &
  EMU_PID=$!
  remember process "$EMU_PID" "$(realpath "$emulator")"
  for _ in $(seq 100); do
    [[ -e $WORK/ready ]] && break
    kill -0 "$EMU_PID" 2>/dev/null || fail "the emulator did not start: $(cat "$WORK/emu.err")"
    sleep 0.1
  done
  [[ -e $WORK/ready ]] || fail "the emulator did not get ready"

  # ip and setpriv exec in place, so $! is the wizard itself, running as the new user.
  ip netns exec "$wizard_ns" setpriv --reuid="$USER_NAME" --regid="$USER_NAME" --init-groups \
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen \
    "$PROGRAM" >"$WORK/wizard.err" 2>&1 &
  WIZARD_PID=$!
  remember process "$WIZARD_PID" "$PROGRAM"

  local wizard_text=${WIZARD_MAC//:/-} bridge_text=${BRIDGE_MAC//:/-}
  wait_for_log "$log" "\$2 == \"rx\" && \$3 == \"$wizard_text\" && \$4 == \"ff-ff-ff-ff-ff-ff\" && \$5 == \"0x00000000\" && \$8 == 64" \
    "broadcast probe from the wizard"
  wait_for_log "$log" "\$2 == \"rx\" && \$3 == \"$wizard_text\" && \$4 == \"$bridge_text\" && \$5 == \"0x00000000\"" \
    "unicast probe that ends discovery"

  # The wizard ran as the new user with CAP_NET_RAW alone.
  local status=/proc/$WIZARD_PID/status
  [[ -r $status ]] || fail "the wizard ended after discovery: $(cat "$WORK/wizard.err")"
  local uid cap_eff
  uid=$(awk '/^Uid:/ {print $2}' "$status")
  cap_eff=$(awk '/^CapEff:/ {print $2}' "$status")
  [[ $uid == "$(id -u "$USER_NAME")" ]] || fail "the wizard ran as uid $uid"
  [[ $cap_eff == 0000000000002000 ]] || fail "the wizard's effective capabilities are $cap_eff"
  echo "installed, $caps, discovery completed as $USER_NAME"
}

command=${1:-}
shift || true
case $command in
  build) build "$@" ;;
  contents) contents "$@" ;;
  desktop) desktop "$@" ;;
  lintian) lintian_check "$@" ;;
  install) install_run "$@" ;;
  *) fail "unknown command '$command'" ;;
esac
