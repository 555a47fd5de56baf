#!/bin/sh
# The gettext catalogues of the programs without Qt (po/).
#
#   po_complete.sh pot SOURCE_DIR PO_DIR -- XGETTEXT_OPTIONS...
#     Fails when po/qbr20g.pot is stale: a source that marks texts is missing from
#     POTFILES.in, or a fresh extraction holds a text the template lacks.
#   po_complete.sh po SOURCE_DIR PO_DIR LANGUAGE...
#     Fails when a language's catalogue is not whole: a text of the template missing, or one
#     untranslated or fuzzy, or a translation that msgfmt --check refuses.
set -u

mode=$1
source_dir=$2
po_dir=$3
shift 3

failed=0
fail() {
  echo "$*" >&2
  failed=1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

case $mode in
pot)
  [ "${1:-}" = "--" ] && shift
  # Every source of the front ends without Qt, the helper, the link and the device code that
  # marks a text must be extracted.
  (cd "$source_dir" &&
    grep -lE '(^|[^A-Za-z0-9_])(_|N_|P_|L_)\("' -r cli helper link device --include='*.cpp' \
      --include='*.h' | sort) >"$work/marking"
  grep -v '^#' "$po_dir/POTFILES.in" | grep -v '^[[:space:]]*$' | sort >"$work/listed"
  for source in $(comm -23 "$work/marking" "$work/listed"); do
    fail "$source marks texts but is not in po/POTFILES.in"
  done
  if ! xgettext "$@" --directory="$source_dir" --files-from="$po_dir/POTFILES.in" \
    --output="$work/fresh.pot" 2>"$work/xgettext.err"; then
    cat "$work/xgettext.err" >&2
    fail "xgettext failed"
  elif ! msgcmp --no-fuzzy-matching --use-untranslated "$po_dir/qbr20g.pot" "$work/fresh.pot" \
    2>"$work/msgcmp.err"; then
    sed 's/^/  /' "$work/msgcmp.err" >&2
    fail "po/qbr20g.pot is stale: regenerate it (cmake --build BUILD --target pot), then" \
      "msgmerge --update each po/LANG.po with it"
  fi
  ;;
po)
  for language in "$@"; do
    po="$po_dir/$language.po"
    if [ ! -f "$po" ]; then
      fail "$language: $po is missing"
      continue
    fi
    if ! msgcmp --no-fuzzy-matching --use-fuzzy --use-untranslated "$po" "$po_dir/qbr20g.pot" \
      2>"$work/msgcmp.err"; then
      sed 's/^/  /' "$work/msgcmp.err" >&2
      fail "$language: texts of po/qbr20g.pot are missing: msgmerge --update $po po/qbr20g.pot"
    fi
    if ! statistics=$(LC_ALL=C msgfmt --statistics --check -o /dev/null "$po" 2>&1); then
      echo "$statistics" >&2
      fail "$language: msgfmt --check refuses $po"
      continue
    fi
    case $statistics in
    *fuzzy* | *untranslated*) fail "$language: $statistics" ;;
    *) echo "$language: $statistics" ;;
    esac
  done
  ;;
*)
  echo "usage: $0 pot|po SOURCE_DIR PO_DIR ..." >&2
  exit 2
  ;;
esac
exit $failed
