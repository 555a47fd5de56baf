#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are not installed yet.
# Does nothing (and needs no network) when all of them are present. With --no-recommends first,
# their recommended packages are left out.
set -euo pipefail

apt_options=()
if [[ ${1:-} == --no-recommends ]]; then
  apt_options=(--no-install-recommends)
  shift
fi

missing=()
for package in "$@"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "error: installing packages needs root; run as root, or install them with:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${apt_options[@]}" "${missing[@]}"
