#!/usr/bin/env bash
# Runs every libFuzzer target of a build for a set time, one after another, and says which found
# a crash. The corpus of each grows in the build tree (BUILD/tests/fuzz/corpus/NAME), seeded from
# tests/fuzz/corpus/NAME; a crashing input is kept as BUILD/tests/fuzz/NAME-crash-*.
set -euo pipefail

if [[ $# -ne 2 || $1 == --help ]]; then
  echo "Usage: tests/fuzz/run-fuzz.sh BUILD_DIR SECONDS_PER_TARGET" >&2
  exit 2
fi
build=$1
seconds=$2
source_dir=$(cd "$(dirname "$0")" && pwd)
fuzz_dir=$build/tests/fuzz

shopt -s nullglob
targets=("$fuzz_dir"/clang/*_fuzz)
if [[ ${#targets[@]} -eq 0 ]]; then
  echo "run-fuzz.sh: no fuzz targets in $fuzz_dir/clang; they need clang with libFuzzer" >&2
  echo "  (Debian packages clang and libclang-rt-14-dev), then a fresh configure of $build" >&2
  exit 1
fi

failed=()
for target in "${targets[@]}"; do
  name=$(basename "$target" _fuzz)
  corpus=$fuzz_dir/corpus/$name
  mkdir -p "$corpus"
  echo "== $name: ${seconds} s"
  if "$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$fuzz_dir/$name-" "$corpus" "$source_dir/corpus/$name" \
    >"$fuzz_dir/$name.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$fuzz_dir/$name.log")
    echo "   no crash in ${runs:-?} runs; corpus $(find "$corpus" -type f | wc -l) inputs"
  else
    echo "   CRASH: see $fuzz_dir/$name.log and $fuzz_dir/$name-crash-*"
    failed+=("$name")
  fi
done
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzz targets with crashes: ${failed[*]}"
  exit 1
fi
