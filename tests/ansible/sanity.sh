#!/usr/bin/env bash
# ansible-test sanity on the qbr20g.bridge collection, offline, with Debian's ansible-core.
#
# ansible-test runs most of its sanity tests in virtual environments of their own, which it fills
# from PyPI. Offline, each such environment is made here instead, from the Debian packages that
# `make deps` installs (voluptuous, yamllint, pycodestyle, pylint and ansible-core's own
# Jinja2, PyYAML and packaging), where ansible-test looks for it; ansible-test then takes it
# as made. Exit 77 (skipped) when ansible-test is not installed.
set -euo pipefail

if ! command -v ansible-test >/dev/null; then
  echo "skipped: ansible-test is not installed (make deps installs ansible-core)"
  exit 77
fi
source_dir=$(cd "$(dirname "$0")/../../ansible/ansible_collections/qbr20g/bridge" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of its own: ansible-test writes its output inside the collection, and the
# environments it makes go under HOME.
collection=$work/ansible_collections/qbr20g/bridge
mkdir -p "$(dirname "$collection")"
cp -r "$source_dir" "$collection"
rm -rf "$collection/tests/output"
export HOME=$work/home
mkdir -p "$HOME"
cd "$collection"

# The Python that Debian's ansible-test runs on.
python=$(/usr/bin/python3 -c 'import sys; print("%d.%d" % sys.version_info[:2])')
# Each round names the next environment it would fill from PyPI; make it from Debian's packages.
for _ in $(seq 20); do
  if output=$(ansible-test sanity --python "$python" --prime-venvs 2>&1); then
    break
  fi
  venv_python=$(sed -n 's/^FATAL: Python [0-9.]* at "\(.*\)\/bin\/python" does not have pip available.*/\1/p' \
    <<<"$output")
  if [[ -z $venv_python ]]; then
    echo "$output"
    echo "ansible-test could not prepare its environments (see above)"
    exit 1
  fi
  /usr/bin/python3 -m venv --without-pip --system-site-packages "$venv_python"
  echo '{}' >"$venv_python/meta.install.json"
  /usr/bin/python3 -c 'import yaml; print("true" if yaml.__with_libyaml__ else "false")' \
    >"$venv_python/meta.yaml.json"
  touch "$venv_python/marker.txt"
done

ansible-test sanity --python "$python" --color no
