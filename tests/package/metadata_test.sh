#!/usr/bin/env bash
# Checks of what desktops and software centres read about the wizard, on the source files:
#   metadata_test.sh SOURCE_DIR VERSION [LANGUAGES]
# - desktop-file-validate finds nothing at all in packaging/qbr20g-setup.desktop;
# - appstreamcli validate --no-net --pedantic finds nothing at all in the metainfo, and
#   validate-tree finds its launchable desktop entry where the package puts it;
# - every language of LANGUAGES (the wizard's, space-separated), of po/LINGUAS (when there is
#   one), of the desktop entry and of the metainfo has all of them: Name, GenericName, Comment
#   and Keywords in the desktop entry; name, summary, each paragraph and list item of the
#   description, each screenshot's caption, the keywords and each release's notes in the
#   metainfo;
# - the newest release in the metainfo is VERSION, dated as packaging/changelog dates it.
# Exit status 77 means skipped (CTest's SKIP_RETURN_CODE), with the reason on stderr.
set -euo pipefail

SKIP=77
source_dir=${1:?source folder}
version=${2:?project version}
wizard_languages=${3:-}
desktop=$source_dir/packaging/qbr20g-setup.desktop
metainfo=$source_dir/packaging/io.github.qbr20g.setup.metainfo.xml
changelog=$source_dir/packaging/changelog

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
skip() {
  echo "SKIPPED: $*" >&2
  exit "$SKIP"
}

command -v desktop-file-validate >/dev/null ||
  skip "desktop-file-validate is not installed (apt-get install desktop-file-utils)"
command -v appstreamcli >/dev/null ||
  skip "appstreamcli is not installed (apt-get install appstream)"
command -v python3 >/dev/null || skip "python3 is not installed (apt-get install python3)"

# desktop-file-validate exits 0 on warnings and hints: any line it prints fails the check.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[[ -z $out ]] || fail "desktop-file-validate: $out"

# appstreamcli fails on errors and warnings; with --pedantic it also lists the hints (I:, P:),
# which fail here too.
out=$(appstreamcli validate --no-net --pedantic --no-color "$metainfo" 2>&1) ||
  fail "appstreamcli validate: $out"
! grep -qE '^ *[EWIP]: ' <<<"$out" || fail "appstreamcli validate: $out"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/usr/share/applications" "$work/usr/share/metainfo"
cp "$desktop" "$work/usr/share/applications/"
cp "$metainfo" "$work/usr/share/metainfo/"
out=$(appstreamcli validate-tree --no-net --pedantic --no-color "$work" 2>&1) ||
  fail "appstreamcli validate-tree: $out"
! grep -qE '^ *[EWIP]: ' <<<"$out" || fail "appstreamcli validate-tree: $out"

linguas=$wizard_languages
if [[ -f $source_dir/po/LINGUAS ]]; then
  linguas+=" $(sed 's/#.*//' "$source_dir/po/LINGUAS" | xargs)"
fi
release_date=$(awk -v version="$version" '
  $2 == "(" version ")" {found = 1}
  found && /^ -- / {sub(/^.*>  /, ""); print; exit}' "$changelog")
[[ -n $release_date ]] || fail "packaging/changelog has no entry for $version"
release_date=$(date -u -d "$release_date" +%F)

python3 - "$desktop" "$metainfo" "$version" "$release_date" "$linguas" <<'EOF'
import configparser
import re
import sys
import xml.etree.ElementTree as ET

desktop_path, metainfo_path, version, release_date, linguas = sys.argv[1:]
LANG = '{http://www.w3.org/XML/1998/namespace}lang'
problems = []

entry = configparser.RawConfigParser(delimiters=('=',), interpolation=None)
entry.optionxform = str
entry.read(desktop_path, encoding='utf-8')
keys = entry['Desktop Entry']
desktop_languages = {m.group(1) for k in keys for m in [re.fullmatch(r'\w+\[(.+)\]', k)] if m}

root = ET.parse(metainfo_path).getroot()
metainfo_languages = {e.get(LANG) for e in root.iter() if e.get(LANG)}

languages = desktop_languages | metainfo_languages | set(linguas.split())
if not languages:
    problems.append('neither the desktop entry nor the metainfo has any translation')

for key in ('Name', 'GenericName', 'Comment', 'Keywords'):
    if key not in keys:
        problems.append(f'the desktop entry has no {key}')
        continue
    for lang in sorted(languages):
        value = keys.get(f'{key}[{lang}]', '').strip()
        if not value or value == keys[key]:
            problems.append(f'the desktop entry has no {key}[{lang}] of its own')


def untranslated(parent, tag):
    return [e for e in parent.findall(tag) if e.get(LANG) is None]


def translated(parent, tag, lang):
    return [e for e in parent.findall(tag) if e.get(LANG) == lang]


# Each group of elements a software centre shows together, with what it is called here.
groups = [(root, 'name', 'name'), (root, 'summary', 'summary'),
          (root, 'keywords/keyword', 'keywords')]
description = root.find('description')
groups.append((description, 'p', 'description paragraphs'))
for number, ul in enumerate(description.findall('ul'), 1):
    groups.append((ul, 'li', f'items of description list {number}'))
for number, shot in enumerate(root.findall('screenshots/screenshot'), 1):
    groups.append((shot, 'caption', f'caption of screenshot {number}'))
for release in root.findall('releases/release'):
    notes = release.find('description')
    if notes is not None:
        groups.append((notes, 'p', f'notes of release {release.get("version")}'))

for parent, tag, what in groups:
    originals = untranslated(parent, tag)
    if not originals:
        problems.append(f'the metainfo has no {what}')
        continue
    for lang in sorted(languages):
        own = translated(parent, tag, lang)
        # Keywords are words of their own in each language; anything else is one for one.
        if tag.endswith('keyword') and own:
            continue
        if len(own) != len(originals):
            problems.append(f'the metainfo has {len(own)} of {len(originals)} {what} in {lang}')
        elif any(not (e.text or '').strip() for e in own):
            problems.append(f'the metainfo has an empty one among its {what} in {lang}')

releases = root.findall('releases/release')
if not releases:
    problems.append('the metainfo lists no release')
else:
    newest = releases[0]
    if newest.get('version') != version:
        problems.append(f'the newest release in the metainfo is {newest.get("version")}, '
                        f'the project is {version}')
    elif newest.get('date') != release_date:
        problems.append(f'the metainfo dates {version} {newest.get("date")}, '
                        f'packaging/changelog {release_date}')

launchable = root.find('launchable[@type="desktop-id"]')
if launchable is None or launchable.text != 'qbr20g-setup.desktop':
    problems.append('the metainfo does not launch qbr20g-setup.desktop')

for problem in problems:
    print('FAIL:', problem, file=sys.stderr)
if problems:
    sys.exit(1)
print('desktop entry and metainfo are valid, in', ', '.join(['en'] + sorted(languages)))
EOF
