#!/usr/bin/env bash
# shellcheck disable=SC2034 # the variables are read by the checks' conditions
# The documents against the built program: the manual page documents every option and mode that
# "yomi6 --help" lists (SYNOPSIS included), its environment and files; --version names the
# program as its window does and the build's version; the AppStream metainfo is valid and lists
# what the program does.
#   docs.sh YOMI6 MANUAL_PAGE METAINFO VERSION
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
manual=$(realpath "$2")
metainfo=$(realpath "$3")
version=$4
require_tools man
enter_scratch_folder

# --version: one line, the window's name for the program, then the build's version.
"$yomi6" --version >"$work/version.txt" 2>"$work/version.err"
check "--version: status 0, nothing on stderr" '[ $? -eq 0 ] && [ ! -s "$work/version.err" ]'
check "--version: \"よみあげPad Ver6.0 (yomi6 $version)\" ($(head -c 100 "$work/version.txt"))" \
  '[ "$(cat "$work/version.txt")" = "よみあげPad Ver6.0 (yomi6 $version)" ] &&
   [ "$(wc -l <"$work/version.txt")" -eq 1 ]'

help=$("$yomi6" --help)
mapfile -t options < <(grep -o -- '--[a-z][a-z0-9-]*' <<<"$help" | sort -u)
check "--help lists options (${#options[@]})" '[ ${#options[@]} -ge 10 ]'
# The modes: the first option of each "Usage:" line.
mapfile -t modes < <(sed -n 's/^\(Usage:\)\? *yomi6 \(--[a-z-]*\).*/\2/p' <<<"$help" | sort -u)
check "--help lists modes (${#modes[@]})" '[ ${#modes[@]} -ge 8 ]'

MANWIDTH=200 LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$manual" >"$work/page.txt" 2>"$work/man.err"
check "the manual page renders without warnings" \
  '[ -s "$work/page.txt" ] && { [ ! -s "$work/man.err" ] || { cat "$work/man.err"; false; }; }'
# Compared on ASCII hyphens: man may print Unicode ones.
sed -i 's/‐/-/g; s/−/-/g' "$work/page.txt"
section() { # the lines of one section of the rendered page, heading excluded
  awk -v name="$1" '/^[A-Z]/ { on = ($0 == name); next } on' "$work/page.txt"
}
for name in NAME SYNOPSIS DESCRIPTION MODES OPTIONS "EXIT STATUS" ENVIRONMENT FILES; do
  check "the manual page has $name" 'grep -qx -- "$name" "$work/page.txt"'
done
check "the manual page names version $version" 'grep -q -- "yomi6 $version" "$work/page.txt"'

# Each option of --help is the tag of its own paragraph in MODES or OPTIONS.
documented=$(section MODES; section OPTIONS)
for option in "${options[@]}"; do
  check "the manual page documents $option" 'grep -qE -- "^ +$option( |,|\$)" <<<"$documented"'
done
# Each mode has a line of its own in SYNOPSIS, and so has each option of an --export line.
synopsis=$(section SYNOPSIS)
for mode in "${modes[@]}"; do
  check "SYNOPSIS shows $mode" 'grep -qE -- "^ +yomi6 +$mode( |\$)" <<<"$synopsis"'
done
while read -r option; do
  check "SYNOPSIS shows $option with --export" 'grep -q -- "$option" <<<"$synopsis"'
done < <(grep -- '--export OUT' <<<"$help" | grep -o -- '--[a-z-]*' | grep -vx -- --export)
# --units writes to standard output, not to a file named after it.
check "--units is said to write to standard output" \
  'section MODES | grep -A3 -E "^ +--units" | grep -q "standard output"'
check "no option is said to write \"to FILE\"" '! grep -q "to FILE" "$work/page.txt"'
# Options the page describes that this build's --help does not list are named, not failed:
# they belong to branches not yet merged here.
for option in $(grep -oE -- '^ +--[a-z][a-z0-9-]*' <<<"$documented" | tr -d ' ' | sort -u); do
  grep -qx -- "$option" < <(printf '%s\n' "${options[@]}") ||
    echo "NOTE: the manual page documents $option, which --help does not list"
done

# What the README used to hold for the command line lives here now.
check "EXIT STATUS tells how a mode ended by a signal ends" \
  'section "EXIT STATUS" | tr "\n" " " | grep -qE "SIGINT.*128 +\+ +its +number"'
check "the manual page points to the user guide" 'section "SEE ALSO" | grep -q "docs/user-guide.md"'

environment=$(section ENVIRONMENT)
for variable in YOMI6_MECAB_DIC XDG_CONFIG_HOME XDG_DATA_HOME; do
  check "ENVIRONMENT names $variable" 'grep -qE -- "^ +$variable\$" <<<"$environment"'
done
files=$(section FILES)
for file in yomi6.ini Yomi6.dic yomi6/voices; do
  check "FILES names $file" 'grep -qE -- "^ +.*$file" <<<"$files"'
done

# The metainfo: valid, and its features name the automatic reading, export and recording.
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --explain "$metainfo" >"$work/appstream.log" 2>&1
  check "appstreamcli validate --no-net" '[ $? -eq 0 ] || { cat "$work/appstream.log"; false; }'
else
  echo "FAIL: appstreamcli is missing (tools/install-deps.sh installs appstream)"
  failures=$((failures + 1))
fi
features=$(sed -n '/<description>/,/<\/description>/p' "$metainfo" | grep '<li>')
for feature in "kanji" "audio file" "subtitles" "records"; do
  check "the metainfo's features name \"$feature\"" 'grep -qi -- "$feature" <<<"$features"'
done
check "the metainfo names version $version" 'grep -q "<release version=\"$version\"" "$metainfo"'

checks_done
