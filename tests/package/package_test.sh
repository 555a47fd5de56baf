#!/usr/bin/env bash
# Checks of the Debian package, one CTest case per command:
#   build DIR BUILD_DIR         packs the package into DIR (the other cases read it from there)
#   contents DIR                files, dependencies, and what postinst does with and without setcap
#   desktop DIR                 desktop-file-validate on the packaged desktop entry
#   lintian DIR                 lintian shows no errors
#   install DIR SOURCE_DIR EMU IMAGE_PLUGIN PLATFORM_PLUGIN
#                               (root) installs it with apt-get, checks that the link helper is
#                               the only file with a capability, and runs the installed wizard
#                               offscreen as a new ordinary user in a namespace with a veth to the
#                               emulator, with a user's plugins loaded into it (on QT_PLUGIN_PATH
#                               and with -platformpluginpath): they report that they run without
#                               any capability and cannot open a packet socket, and one drives
#                               the wizard through discovery, survey and save; removes package,
#                               user and namespaces again, also after a failure
# Exit status 77 means skipped (CTest's SKIP_RETURN_CODE), with the reason on stderr.
set -euo pipefail

SKIP=77
PACKAGE=qbr20g-setup
PROGRAM=/usr/bin/qbr20g-setup
HELPER=/usr/libexec/qbr20g-setup/qbr20g-link

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
  for file in ./usr/bin/qbr20g-setup ./usr/libexec/qbr20g-setup/qbr20g-link \
    ./usr/share/applications/qbr20g-setup.desktop \
    ./usr/share/icons/hicolor/64x64/apps/qbr20g-setup.png \
    ./usr/share/man/man1/qbr20g-setup.1.gz ./usr/share/doc/qbr20g-setup/copyright \
    ./usr/share/doc/qbr20g-setup/changelog.gz; do
    grep -q " $file\$" <<<"$listing" || fail "$file is not in the package"
  done
  for file in ./usr/bin/qbr20g-setup ./usr/libexec/qbr20g-setup/qbr20g-link; do
    grep -q "^-rwxr-xr-x $file\$" <<<"$listing" ||
      fail "$file is not a plain 0755 file (no setuid): $(grep "$file" <<<"$listing")"
  done
  [[ $(awk '$1 ~ /^-/' <<<"$listing" | wc -l) -eq 7 ]] ||
    fail "files beyond the seven expected: $(awk '$1 ~ /^-/ {print $2}' <<<"$listing")"

  depends=$(dpkg-deb --field "$deb" Depends)
  for needed in libcap2-bin fonts-liberation libpcap0.8 libqt6widgets6 libqt6gui6 libc6; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
  done

  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  dpkg-deb --extract "$deb" "$work/root"
  file "$work/root$PROGRAM" | grep -q ', stripped' || fail "the program is not stripped"
  file "$work/root$HELPER" | grep -q ', stripped' || fail "the link helper is not stripped"
  # The helper that holds the capability links no toolkit; the wizard no capture library.
  ! objdump -p "$work/root$HELPER" | grep -q 'NEEDED.*libQt' || fail "the link helper links Qt"
  ! objdump -p "$work/root$PROGRAM" | grep -q 'NEEDED.*libpcap' || fail "the wizard links libpcap"
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
  [[ $(cat "$work/setcap.args") == "cap_net_raw=ep $HELPER" ]] ||
    fail "postinst ran: setcap $(cat "$work/setcap.args")"
  [[ ! -s $work/err ]] || fail "postinst complained although setcap worked: $(cat "$work/err")"

  printf '#!/bin/sh\necho "Failed to set capabilities on file" >&2\nexit 1\n' >"$bin/setcap"
  PATH=$bin /bin/sh "$postinst" configure 2>"$work/err" ||
    fail "postinst failed the install when setcap failed"
  grep -q "setcap cap_net_raw=ep $HELPER" "$work/err" ||
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
  local dir=$1 source_dir=$2 emulator=$3 image_plugin=$4 platform_plugin=$5
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
  # Of all the installed files, the link helper alone carries a capability.
  local caps
  caps=$(dpkg-query -L "$PACKAGE" | while read -r file; do
    [[ -f $file ]] && getcap "$file"
  done)
  [[ $caps == "$HELPER cap_net_raw=ep" ]] || fail "capabilities of the installed files: '$caps'"
  for file in /usr/share/applications/qbr20g-setup.desktop \
    /usr/share/icons/hicolor/64x64/apps/qbr20g-setup.png; do
    [[ -f $file ]] || fail "$file is missing after the install"
  done
  man -w qbr20g-setup >/dev/null 2>&1 || fail "man qbr20g-setup finds no page"

  useradd --system --no-create-home --shell /usr/sbin/nologin "$USER_NAME"
  local home=$WORK/home
  mkdir -m 0700 "$home"
  chown "$USER_NAME:" "$home"
  # The user's own plugins, where Qt looks when told to.
  mkdir -p "$WORK/plugins/imageformats" "$WORK/platforms"
  cp "$image_plugin" "$WORK/plugins/imageformats/"
  cp "$platform_plugin" "$WORK/platforms/"
  chmod -R a+rX "$WORK/plugins" "$WORK/platforms"
  local report=$home/probe.txt

  local wizard_ns=${NS_PREFIX}wiz-$$ bridge_ns=${NS_PREFIX}br-$$
  "$testnet" add-ns "$wizard_ns"
  "$testnet" add-ns "$bridge_ns"
  "$testnet" add-veth "$wizard_ns" eth0 "$WIZARD_MAC" "$bridge_ns" br0 -
  printf 'mac = %s\nssid = Workshop\nsecmode = 2\nnetwork = Workshop|a4:2b:b0:00:00:01|6|BG|2|82\n' \
    "$BRIDGE_MAC" >"$WORK/scenario.conf"
  local log=$WORK/bridge.log settings=$WORK/settings.txt
  ip netns exec "$bridge_ns" "$emulator" --iface br0 --scenario "$WORK/scenario.conf" \
    --log "$log" --settings-out "$settings" --ready-file "$WORK/ready" 2>"$WORK/emu.err" &
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
    QT_PLUGIN_PATH="$WORK/plugins" QBR20G_PROBE_REPORT="$report" QBR20G_PROBE_DRIVE=1 \
    "$PROGRAM" -platformpluginpath "$WORK/platforms" -platform "qbr20gprobe;offscreen" \
    >"$WORK/wizard.err" 2>&1 &
  WIZARD_PID=$!
  remember process "$WIZARD_PID" "$PROGRAM"

  local wizard_text=${WIZARD_MAC//:/-}
  wait_for_log "$log" "\$2 == \"rx\" && \$3 == \"$wizard_text\" && \$4 == \"ff-ff-ff-ff-ff-ff\" && \$5 == \"0x00000000\" && \$8 == 64" \
    "broadcast probe from the wizard"

  # While it runs: the wizard holds nothing, its helper CAP_NET_RAW alone, as the new user.
  local uid helper_pid
  uid=$(id -u "$USER_NAME")
  [[ $(awk '/^Uid:/ {print $2}' "/proc/$WIZARD_PID/status") == "$uid" ]] ||
    fail "the wizard does not run as $USER_NAME"
  [[ $(awk '/^CapEff:/ {print $2}' "/proc/$WIZARD_PID/status") == 0000000000000000 ]] ||
    fail "the wizard holds capabilities: $(grep ^Cap "/proc/$WIZARD_PID/status")"
  helper_pid=$(pgrep -P "$WIZARD_PID" -x qbr20g-link | head -n1 || true)
  [[ -n $helper_pid ]] || fail "the wizard runs no link helper"
  [[ $(awk '/^CapEff:/ {print $2}' "/proc/$helper_pid/status") == 0000000000002000 ]] ||
    fail "the link helper's capabilities: $(grep ^Cap "/proc/$helper_pid/status")"
  [[ $(awk '/^Uid:/ {print $2}' "/proc/$helper_pid/status") == "$uid" ]] ||
    fail "the link helper does not run as $USER_NAME"

  # The driver plugin ends the wizard on the finish page.
  local status=0
  for _ in $(seq 600); do
    kill -0 "$WIZARD_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$WIZARD_PID" 2>/dev/null && fail "the wizard did not reach its end in 60 s:
$(cat "$report" 2>/dev/null)
$(cat "$WORK/wizard.err")"
  wait "$WIZARD_PID" || status=$?
  WIZARD_PID=""
  [[ $status -eq 0 ]] || fail "the wizard ended with status $status: $(cat "$WORK/wizard.err")"

  [[ -s $report ]] || fail "no plugin reported from inside the wizard: $(cat "$WORK/wizard.err")"
  local plugin line
  for plugin in platform-plugin image-plugin; do
    line=$(grep "^$plugin " "$report" | head -n1 || true)
    [[ -n $line ]] || fail "$plugin was not loaded: $(cat "$report")"
    [[ $line == *" exe=$PROGRAM "* ]] || fail "$plugin ran elsewhere: $line"
    [[ $line == *" CapEff=0000000000000000 "* ]] || fail "$plugin ran with capabilities: $line"
    [[ $line == *" packet_socket=Operation not permitted" ]] ||
      fail "$plugin could open a packet socket: $line"
  done
  grep -q "^flow: finish page reached" "$report" ||
    fail "the wizard did not reach the finish page: $(cat "$report")"
  local expected
  expected=$(printf '7000 :Workshop\n7001 :16\n7002 :0\n7003 :2\n7004 :32\n7005 :0\n7006 :\n7007 :\n7008 :\n7009 :\n7012 :3\n7013 :0\n7018 :0\n7019 :workshop passphrase\n7022 :0')
  [[ $(cat "$settings") == "$expected" ]] || fail "the bridge stored: $(cat "$settings")"
  echo "installed; $caps alone; the wizard ran as $USER_NAME with no capability, its plugins"
  echo "could not open a packet socket, and it found, surveyed and saved through its helper"
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
