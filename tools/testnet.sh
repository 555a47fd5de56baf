#!/usr/bin/env bash
# Test networks for the wizard and the bridge emulator: network namespaces joined by veth
# pairs, made and removed idempotently. Every frame of a test stays inside these namespaces;
# nothing is created in the machine's own namespace.
set -euo pipefail

usage() {
  cat <<'HELP'
Usage: tools/testnet.sh COMMAND [ARGS]   (as root)

  add-ns NS                 create namespace NS (if missing) with IPv6 off and lo up
  del-ns NS                 remove namespace NS (if present) and the veths that end in it
  add-veth NS_A IF_A MAC_A NS_B IF_B MAC_B [STATE_A [STATE_B]]
                            a veth pair from IF_A in NS_A to IF_B in NS_B, created directly
                            in the namespaces (both must exist); an existing IF_A or IF_B there
                            is replaced. MAC '-' keeps the kernel's address; STATE is up
                            (default) or down. IPv6 is off on both ends before they come up.
  del-prefix PREFIX         remove every namespace whose name starts with PREFIX
  del-stale PREFIX          remove namespaces named PREFIX<pid>-... whose process <pid> has
                            ended (left behind by a killed test)
  list [PREFIX]             print the namespaces (starting with PREFIX)
  --help                    this text

Every command may be repeated: running it twice leaves the same state as running it once.
HELP
}

die() {
  echo "testnet.sh: $*" >&2
  exit 1
}

need_root() {
  [[ $(id -u) -eq 0 ]] || die "needs root (ip netns)"
}

ns_exists() {
  [[ -e "/run/netns/$1" ]]
}

# Writes 1 to the namespace's disable_ipv6 switch for $2 (all, default or an interface).
ipv6_off() {
  local ns=$1 conf=$2
  ip netns exec "$ns" sh -c \
    "f=/proc/sys/net/ipv6/conf/$conf/disable_ipv6; [ ! -e \$f ] || echo 1 > \$f"
}

check_state() {
  [[ $1 == up || $1 == down ]] || die "state must be up or down, not '$1'"
}

add_ns() {
  local ns=$1
  ns_exists "$ns" || ip netns add "$ns"
  ipv6_off "$ns" all
  ipv6_off "$ns" default
  ip -n "$ns" link set lo up
}

del_ns() {
  local ns=$1
  # Another run may remove the same namespace between the check and the removal (two tests
  # clearing stale namespaces at once): gone is gone.
  if ns_exists "$ns" && ! ip netns del "$ns" 2>/dev/null; then
    ns_exists "$ns" && die "cannot remove namespace $ns"
  fi
  return 0
}

add_veth() {
  [[ $# -ge 6 && $# -le 8 ]] || die "add-veth NS_A IF_A MAC_A NS_B IF_B MAC_B [STATE_A [STATE_B]]"
  local ns_a=$1 if_a=$2 mac_a=$3 ns_b=$4 if_b=$5 mac_b=$6 state_a=${7:-up} state_b=${8:-up}
  check_state "$state_a"
  check_state "$state_b"
  ns_exists "$ns_a" || die "no namespace $ns_a (add-ns first)"
  ns_exists "$ns_b" || die "no namespace $ns_b (add-ns first)"
  ip -n "$ns_a" link del "$if_a" 2>/dev/null || true
  ip -n "$ns_b" link del "$if_b" 2>/dev/null || true
  local address_a=() address_b=()
  [[ $mac_a == - ]] || address_a=(address "$mac_a")
  [[ $mac_b == - ]] || address_b=(address "$mac_b")
  ip link add "$if_a" netns "$ns_a" "${address_a[@]}" type veth \
    peer name "$if_b" netns "$ns_b" "${address_b[@]}"
  ipv6_off "$ns_a" "$if_a"
  ipv6_off "$ns_b" "$if_b"
  ip -n "$ns_a" link set "$if_a" "$state_a"
  ip -n "$ns_b" link set "$if_b" "$state_b"
}

namespaces() {
  ip netns list | awk '{print $1}'
}

del_prefix() {
  local prefix=$1 ns
  [[ -n $prefix ]] || die "del-prefix needs a non-empty PREFIX"
  for ns in $(namespaces); do
    [[ $ns == "$prefix"* ]] && del_ns "$ns"
  done
  return 0
}

del_stale() {
  local prefix=$1 ns rest pid
  [[ -n $prefix ]] || die "del-stale needs a non-empty PREFIX"
  for ns in $(namespaces); do
    [[ $ns == "$prefix"* ]] || continue
    rest=${ns#"$prefix"}
    pid=${rest%%-*}
    [[ $pid =~ ^[0-9]+$ ]] || continue
    [[ -d /proc/$pid ]] || del_ns "$ns"
  done
  return 0
}

command=${1:-}
[[ -n $command ]] || {
  usage >&2
  exit 2
}
shift
case $command in
  --help | -h | help) usage ;;
  add-ns) need_root; [[ $# -eq 1 ]] || die "add-ns NS"; add_ns "$1" ;;
  del-ns) need_root; [[ $# -eq 1 ]] || die "del-ns NS"; del_ns "$1" ;;
  add-veth) need_root; add_veth "$@" ;;
  del-prefix) need_root; [[ $# -eq 1 ]] || die "del-prefix PREFIX"; del_prefix "$1" ;;
  del-stale) need_root; [[ $# -eq 1 ]] || die "del-stale PREFIX"; del_stale "$1" ;;
  list) namespaces | { [[ $# -ge 1 ]] && grep "^$1" || cat; } || true ;;
  *) usage >&2; die "unknown command '$command'" ;;
esac
