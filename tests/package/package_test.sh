#!/usr/bin/env bash
# Checks of the Debian packages (qbr20g-link, qbr20g-cli, qbr20g-setup), one CTest case per
# command:
#   build DIR BUILD_DIR         packs the packages into DIR (the other cases read them from there)
#   contents DIR                files, dependencies, and what postinst does with and without setcap
#   desktop DIR                 desktop-file-validate on the packaged desktop entry, and
#                               appstreamcli validate-tree on the package's files: its metainfo
#                               and the desktop entry that metainfo launches
#   lintian DIR                 lintian shows no errors in any package
#   install DIR SOURCE_DIR EMU IMAGE_PLUGIN PLATFORM_PLUGIN
#                               (root) installs the command line with its helper alone (no Qt)
#                               and lists and sets up the emulated bridge with it as a new
#                               ordinary user; then installs the wizard, checks that the link
#                               helper is the only file with a capability, and runs the wizard
#                               offscreen as a new ordinary user in a namespace with a veth to the
#                               emulator, with a user's plugins loaded into it (on QT_PLUGIN_PATH
#                               and with -platformpluginpath): they report that they run without
#                               any capability and cannot open a packet socket, and one drives
#                               the wizard through discovery, survey and save; removes package,
#                               user and namespaces again, also after a failure
# Exit status 77 means skipped (CTest's SKIP_RETURN_CODE), with the reason on stderr.
set -euo pipefail

SKIP=77
PACKAGES=(qbr20g-link qbr20g-cli qbr20g-setup)
PROGRAM=/usr/bin/qbr20g-setup
CLI=/usr/bin/qbr20g-cli
METAINFO=/usr/share/metainfo/io.github.qbr20g.setup.metainfo.xml
HELPER=/usr/libexec/qbr20g-setup/qbr20g-link

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
skip() {
  echo "SKIPPED: $*" >&2
  exit "$SKIP"
}

# the_deb DIR PACKAGE: the one .deb of that package in DIR.
the_deb() {
  local debs=("$1"/"$2"_*.deb)
  [[ -e ${debs[0]} ]] || fail "no $2 package in $1 (the build case makes it)"
  [[ ${#debs[@]} -eq 1 ]] || fail "more than one $2 package in $1: ${debs[*]}"
  echo "${debs[0]}"
}

build() {
  local dir=$1 build_dir=$2
  rm -rf "$dir"
  mkdir -p "$dir"
  cpack --config "$build_dir/CPackConfig.cmake" -B "$dir" >"$dir/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$dir/cpack.log")"
  rm -rf "$dir/_CPack_Packages"
  chmod 0755 "$dir"
  local package deb
  for package in "${PACKAGES[@]}"; do
    deb=$(the_deb "$dir" "$package")
    chmod 0644 "$deb"
    echo "built $deb"
  done
}

# The files of one package, as "MODE ./PATH" lines of regular files.
files_of() {
  dpkg-deb --contents "$1" | awk '$1 ~ /^-/ {print $1, $6}'
}

# expect_files DEB FILE...: exactly these files, each a plain file.
expect_files() {
  local deb=$1 listing
  shift
  listing=$(files_of "$deb")
  for file in "$@"; do
    grep -q " .$file\$" <<<"$listing" || fail "$file is not in $(basename "$deb")"
  done
  [[ $(wc -l <<<"$listing") -eq $# ]] ||
    fail "files beyond the $# expected in $(basename "$deb"): $(awk '{print $2}' <<<"$listing")"
}

# expect_depends DEB NEEDED... [-- FORBIDDEN_PATTERN]
expect_depends() {
  local deb=$1 depends needed
  shift
  depends=$(dpkg-deb --field "$deb" Depends)
  while [[ $# -gt 0 && $1 != -- ]]; do
    grep -qE "(^|, )$1( |,|\$)" <<<"$depends" || fail "$(basename "$deb") Depends lacks $1: $depends"
    shift
  done
  if [[ ${1:-} == -- ]] && grep -qE "$2" <<<"$depends"; then
    fail "$(basename "$deb") depends on $2: $depends"
  fi
}

contents() {
  local link cli setup
  link=$(the_deb "$1" qbr20g-link)
  cli=$(the_deb "$1" qbr20g-cli)
  setup=$(the_deb "$1" qbr20g-setup)
  # The message catalogues go with the helper, which both front ends depend on.
  expect_files "$link" "$HELPER" /usr/share/doc/qbr20g-link/copyright \
    /usr/share/doc/qbr20g-link/changelog.gz /usr/share/locale/de/LC_MESSAGES/qbr20g.mo \
    /usr/share/locale/es/LC_MESSAGES/qbr20g.mo /usr/share/locale/fr/LC_MESSAGES/qbr20g.mo
  expect_files "$cli" "$CLI" /usr/share/man/man1/qbr20g-cli.1.gz \
    /usr/share/bash-completion/completions/qbr20g-cli /usr/share/doc/qbr20g-cli/copyright \
    /usr/share/doc/qbr20g-cli/changelog.gz
  # The pictures of the other languages: those of German, each in French and Spanish too.
  local pictures=() name
  for name in $(files_of "$setup" | awk '{print $2}' | sed -n 's|^\./usr/share/qbr20g-setup/de/||p'); do
    pictures+=(/usr/share/qbr20g-setup/{de,es,fr}/"$name")
  done
  ((${#pictures[@]} >= 3 * 2 * 40)) || fail "the German pictures are missing in $(basename "$setup")"
  expect_files "$setup" "$PROGRAM" /usr/share/applications/qbr20g-setup.desktop "$METAINFO" \
    "${pictures[@]}" \
    /usr/share/icons/hicolor/64x64/apps/qbr20g-setup.png /usr/share/man/man1/qbr20g-setup.1.gz \
    /usr/share/doc/qbr20g-setup/copyright /usr/share/doc/qbr20g-setup/changelog.gz
  for deb in "$link" "$cli" "$setup"; do
    files_of "$deb" | grep -E ' \./usr/(bin|libexec)/' | grep -qv '^-rwxr-xr-x ' &&
      fail "a program of $(basename "$deb") is not a plain 0755 file (no setuid)"
    dpkg-deb --field "$deb" Version | grep -qx "$(dpkg-deb --field "$link" Version)" ||
      fail "the packages' versions differ"
  done

  # The helper needs libpcap and setcap; the command line and its helper no Qt at all.
  expect_depends "$link" libpcap0.8 libcap2-bin libc6 -- 'qt|Qt'
  expect_depends "$cli" qbr20g-link libc6 -- 'qt|Qt|fonts'
  expect_depends "$setup" qbr20g-link fonts-liberation libqt6widgets6 libqt6gui6 libc6 -- libpcap

  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  for deb in "$link" "$cli" "$setup"; do
    dpkg-deb --extract "$deb" "$work/root"
  done
  for program in "$PROGRAM" "$HELPER" "$CLI"; do
    file "$work/root$program" | grep -q ', stripped' || fail "$program is not stripped"
  done
  # The helper that holds the capability links no toolkit; the front ends no capture library.
  ! objdump -p "$work/root$HELPER" | grep -q 'NEEDED.*libQt' || fail "the link helper links Qt"
  for program in "$PROGRAM" "$CLI"; do
    ! objdump -p "$work/root$program" | grep -q 'NEEDED.*libpcap' || fail "$program links libpcap"
  done
  ! objdump -p "$work/root$CLI" | grep -q 'NEEDED.*libQt' || fail "the command line links Qt"
  for page in qbr20g-setup qbr20g-cli; do
    [[ $(zcat "$work/root/usr/share/man/man1/$page.1.gz" | head -c 3) == .TH ]] ||
      fail "the manual page of $page is not a gzipped man page"
  done
  grep -q '^License: Expat' "$work/root/usr/share/doc/qbr20g-cli/copyright" ||
    fail "the copyright file does not name the MIT (Expat) licence"
  bash -n "$work/root/usr/share/bash-completion/completions/qbr20g-cli" ||
    fail "the bash completion does not parse"

  # postinst with a setcap that works, one that fails, and none at all: the install never
  # fails, and the user learns what to do.
  dpkg-deb --control "$link" "$work/control"
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
  command -v appstreamcli >/dev/null ||
    skip "appstreamcli is not installed (apt-get install appstream)"
  local deb out
  deb=$(the_deb "$1" qbr20g-setup)
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  dpkg-deb --extract "$deb" "$work"
  out=$(desktop-file-validate "$work/usr/share/applications/qbr20g-setup.desktop" 2>&1) ||
    fail "desktop-file-validate: $out"
  [[ -z $out ]] || fail "desktop-file-validate: $out"
  [[ -f $work$METAINFO ]] || fail "$METAINFO is not in $(basename "$deb")"
  # The metainfo in the package, and the desktop entry it names found beside it.
  out=$(appstreamcli validate-tree --no-net --pedantic --no-color "$work" 2>&1) ||
    fail "appstreamcli validate-tree: $out"
  ! grep -qE '^ *[EWIP]: ' <<<"$out" || fail "appstreamcli validate-tree: $out"
  echo "desktop entry and metainfo are valid"
}

lintian_check() {
  command -v lintian >/dev/null || skip "lintian is not installed (apt-get install lintian)"
  local package deb
  for package in "${PACKAGES[@]}"; do
    deb=$(the_deb "$1" "$package")
    lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors in $deb"
  done
  echo "lintian reports no errors"
}

# --- install ----------------------------------------------------------------------------------

USER_NAME=qbr20g-pkgtest
NS_PREFIX=qbr20g-pkgtest-
MARKER=/var/tmp/qbr20g-package-test.running
WIZARD_MAC=02:00:00:30:0a:01
BRIDGE_MAC=02:00:00:30:0b:01

# True when any of the packages is installed (or half installed).
installed() {
  local package
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W "$package" >/dev/null 2>&1 && return 0
  done
  return 1
}

# installed_ok PACKAGE: that package is installed and configured.
installed_ok() {
  [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true) == "install ok installed" ]]
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
  if installed; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${PACKAGES[@]}" >/dev/null 2>&1 ||
      dpkg --purge "${PACKAGES[@]}" >/dev/null 2>&1 || echo "could not remove the packages" >&2
  fi
  if [[ -n ${WORK:-} ]]; then
    rm -rf "$WORK"
  fi
  rm -f "$MARKER"
}

# Waits until the emulator's log holds a line after line $4 (default 0) that the awk condition
# $2 accepts.
wait_for_log() {
  local log=$1 condition=$2 what=$3 after=${4:-0}
  for _ in $(seq 600); do
    [[ -s $log ]] && awk "NR > $after && $condition {found = 1} END {exit !found}" "$log" && return 0
    kill -0 "$WIZARD_PID" 2>/dev/null || fail "the wizard ended before $what: $(cat "$WORK/wizard.err")"
    sleep 0.1
  done
  fail "no $what in 60 s; the emulator saw:
$(cat "$log")
wizard: $(cat "$WORK/wizard.err")"
}

install_run() {
  local dir=$1 source_dir=$2 emulator=$3 image_plugin=$4 platform_plugin=$5
  local testnet=$source_dir/tools/testnet.sh
  [[ $(id -u) -eq 0 ]] ||
    skip "needs root: installs the package on this machine, creates a user and namespaces"
  command -v apt-get >/dev/null || skip "apt-get is not available"
  command -v setpriv >/dev/null || skip "setpriv (util-linux) is not available"

  if [[ -e $MARKER ]]; then
    echo "cleaning up after an install run that was killed"
    undo_install "$testnet"
  elif installed; then
    skip "a qbr20g package is installed on this machine already; this test would replace and remove it"
  fi
  id "$USER_NAME" >/dev/null 2>&1 && fail "user $USER_NAME exists and was not made by this test"

  touch "$MARKER"
  WORK=$(mktemp -d /tmp/qbr20g-pkgtest.XXXXXX)
  chmod 0755 "$WORK"
  remember folder "$WORK"
  trap 'undo_install "'"$testnet"'"' EXIT
  trap 'exit 1' INT TERM

  # First the command line alone, as a machine without a desktop gets it.
  local link_deb cli_deb setup_deb
  link_deb=$(the_deb "$dir" qbr20g-link)
  cli_deb=$(the_deb "$dir" qbr20g-cli)
  setup_deb=$(the_deb "$dir" qbr20g-setup)
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$link_deb" "$cli_deb" >"$WORK/apt.log" 2>&1 ||
    fail "apt-get install of the command line failed: $(cat "$WORK/apt.log")"
  installed_ok qbr20g-cli && installed_ok qbr20g-link || fail "the command line is not installed"
  installed_ok qbr20g-setup && fail "installing the command line brought in the wizard"
  man -w qbr20g-cli >/dev/null 2>&1 || fail "man qbr20g-cli finds no page"

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

  # The command line, as the new user: the bridge is listed and set up, the passphrase read
  # from standard input.
  as_user() {
    ip netns exec "$wizard_ns" setpriv --reuid="$USER_NAME" --regid="$USER_NAME" --init-groups \
      env -i PATH=/usr/bin:/bin HOME="$home" "$@"
  }
  local bridge_text=${BRIDGE_MAC//:/-} listed
  listed=$(as_user "$CLI" --json list 2>"$WORK/cli.err") ||
    fail "qbr20g-cli list failed: $(cat "$WORK/cli.err")"
  grep -q "\"bridge\": \"$bridge_text\"" <<<"$listed" || fail "qbr20g-cli list gave: $listed"
  printf 'passphrase=workshop passphrase\n' |
    as_user "$CLI" --quiet configure --adapter eth0 --bridge "$BRIDGE_MAC" --ssid Workshop \
      --security wpa2-psk --secrets-file - 2>"$WORK/cli.err" ||
    fail "qbr20g-cli configure failed: $(cat "$WORK/cli.err")"
  grep -qx '7003 :3' "$settings" || fail "the command line stored: $(cat "$settings")"

  # Then the wizard beside it.
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$setup_deb" >"$WORK/apt.log" 2>&1 ||
    fail "apt-get install of the wizard failed: $(cat "$WORK/apt.log")"
  installed_ok qbr20g-setup || fail "the wizard is not installed"
  # Of all the installed files, the link helper alone carries a capability.
  local caps
  caps=$(dpkg-query -L "${PACKAGES[@]}" | while read -r file; do
    if [[ -f $file ]]; then getcap "$file"; fi
  done)
  [[ $caps == "$HELPER cap_net_raw=ep" ]] || fail "capabilities of the installed files: '$caps'"
  for file in /usr/share/applications/qbr20g-setup.desktop "$METAINFO" \
    /usr/share/icons/hicolor/64x64/apps/qbr20g-setup.png; do
    [[ -f $file ]] || fail "$file is missing after the install"
  done
  man -w qbr20g-setup >/dev/null 2>&1 || fail "man qbr20g-setup finds no page"

  # ip and setpriv exec in place, so $! is the wizard itself, running as the new user.
  local before
  before=$(wc -l <"$log")
  ip netns exec "$wizard_ns" setpriv --reuid="$USER_NAME" --regid="$USER_NAME" --init-groups \
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen \
    QT_PLUGIN_PATH="$WORK/plugins" QBR20G_PROBE_REPORT="$report" QBR20G_PROBE_DRIVE=1 \
    "$PROGRAM" -platformpluginpath "$WORK/platforms" -platform "qbr20gprobe;offscreen" \
    >"$WORK/wizard.err" 2>&1 &
  WIZARD_PID=$!
  remember process "$WIZARD_PID" "$PROGRAM"

  local wizard_text=${WIZARD_MAC//:/-}
  wait_for_log "$log" "\$2 == \"rx\" && \$3 == \"$wizard_text\" && \$4 == \"ff-ff-ff-ff-ff-ff\" && \$5 == \"0x00000000\" && \$8 == 64" \
    "broadcast probe from the wizard" "$before"

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
