#!/usr/bin/env bash
# Runs every benchmark of a build and prints one table: each figure, its target, its ratio to the
# protocol's own minimum or to the peer named, and whether the target is met. The programs'
# own lines come first. As root: the figures over veth run in network namespaces of their own.
set -euo pipefail

if [[ ${1:-} == --help ]]; then
  echo "Usage: bench/run.sh [BUILD_DIR]   (default: build; as root)"
  exit 0
fi
build=${1:-build}
programs=(parse_bench region_bench link_round_trip_bench device_ops_bench adapter_search_bench cli_bench
  ansible_bench wizard_bench)

rows=$(mktemp)
output=$(mktemp)
trap 'rm -f "$rows" "$output"' EXIT
failed=()
for program in "${programs[@]}"; do
  path=$build/bench/$program
  echo "== $program"
  if [[ ! -x $path ]]; then
    echo "   missing: build it first (make build)"
    failed+=("$program")
    continue
  fi
  if ! QT_QPA_PLATFORM=offscreen "$path" | tee "$output" | grep -v '^ROW' | sed 's/^/   /'; then
    failed+=("$program")
  fi
  grep '^ROW' "$output" >>"$rows" || true
done

echo
awk -F'\t' '
  { for (i = 2; i <= 6; ++i) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) } }
  END {
    split("figure value target ratio met", head, " ")
    for (i = 2; i <= 6; ++i) if (length(head[i - 1]) > width[i]) width[i] = length(head[i - 1])
    line = ""
    for (i = 2; i <= 6; ++i) line = line sprintf("%-" width[i] "s  ", head[i - 1])
    print line
    line = ""
    for (i = 2; i <= 6; ++i) { dashes = sprintf("%" width[i] "s", ""); gsub(/ /, "-", dashes); line = line dashes "  " }
    print line
    for (r = 1; r <= NR; ++r) {
      line = ""
      for (i = 2; i <= 6; ++i) line = line sprintf("%-" width[i] "s  ", cell[r, i])
      print line
      if (cell[r, 6] == "met") ++met
      if (cell[r, 6] != "-") ++targets
    }
    printf "\n%d of %d targets met\n", met, targets
  }' "$rows"

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "benchmarks that did not run through: ${failed[*]}"
  exit 1
fi
