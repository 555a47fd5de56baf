#!/bin/sh
# The wizard's Qt translations (res/translations/qbr20g_LANGUAGE.ts).
#
#   ts_complete.sh LUPDATE LRELEASE SOURCE_DIR LANGUAGE...
#     Fails when a language's file is not what lupdate makes of the code now (a text added,
#     changed or dropped since), or when lrelease finds a text in it unfinished or untranslated.
set -u

lupdate=$1
lrelease=$2
source_dir=$3
shift 3

failed=0
fail() {
  echo "$*" >&2
  failed=1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for language in "$@"; do
  ts="$source_dir/res/translations/qbr20g_$language.ts"
  if [ ! -f "$ts" ]; then
    fail "$language: $ts is missing"
    continue
  fi
  copy="$work/qbr20g_$language.ts"
  cp "$ts" "$copy"
  # The same run as the update_translations target.
  if ! (cd "$source_dir" && "$lupdate" -no-obsolete -locations none -source-language en \
    wizard skin platform res -ts "$copy") >"$work/lupdate.out" 2>&1; then
    cat "$work/lupdate.out" >&2
    fail "$language: lupdate failed"
    continue
  fi
  if ! cmp -s "$ts" "$copy"; then
    diff -u "$ts" "$copy" | head -40 >&2
    fail "$language: $ts is stale; run: cmake --build BUILD --target update_translations," \
      "then translate what is new"
  fi
  if ! "$lrelease" "$ts" -qm "$work/check.qm" >"$work/lrelease.out" 2>&1; then
    cat "$work/lrelease.out" >&2
    fail "$language: lrelease failed"
    continue
  fi
  summary=$(grep 'Generated' "$work/lrelease.out")
  case $summary in
  *" and 0 unfinished)"*) ;;
  *) fail "$language: not every text is finished: $summary" ;;
  esac
  if grep -q 'untranslated' "$work/lrelease.out"; then
    fail "$language: $(grep 'untranslated' "$work/lrelease.out")"
  fi
  [ $failed = 0 ] && echo "$language: $summary"
done
exit $failed
