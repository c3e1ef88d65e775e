#!/usr/bin/env bash
# "cmake --install" into a private root: every installed file is where the desktop looks for it
# (and the Qt program where the installed yomi6 finds it), the AppStream metainfo validates, the
# manual page renders cleanly and documents every option and mode that "yomi6 --help" lists,
# and the bash completion completes options and their values.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
build=$(realpath "$1")
enter_scratch_folder

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1
check "cmake --install succeeds" '[ $? -eq 0 ]'
share="$root/usr/share"
for f in usr/bin/yomi6 usr/share/applications/yomi6.desktop \
         usr/share/icons/hicolor/scalable/apps/yomi6.svg usr/share/man/man1/yomi6.1.gz \
         usr/share/bash-completion/completions/yomi6 usr/share/doc/yomi6/copyright; do
  check "installed: $f" '[ -f "$root/$f" ]'
done
check "the program is executable" '[ -x "$root/usr/bin/yomi6" ]'
check "the Qt program is executable, in libexec" '[ -f "$root/usr/libexec/yomi6-qt" ] && [ -x "$root/usr/libexec/yomi6-qt" ]'
check "the speech-dispatcher module is executable, where speech-dispatcher finds modules" \
  '[ -x "$root/usr/lib/speech-dispatcher-modules/sd_yomi6" ]'
check "the module's configuration is where speech-dispatcher reads it" \
  'grep -q "AddModule \"yomi6\" \"sd_yomi6\" \"yomi6.conf\"" "$root/etc/speech-dispatcher/modules/yomi6.conf"'
check "the sound program is executable, in libexec" '[ -f "$root/usr/libexec/yomi6-sound" ] && [ -x "$root/usr/libexec/yomi6-sound" ]'
yomi6="$root/usr/bin/yomi6"
# The installed program hands --pdf to the installed Qt program, which writes the PDF.
printf 'かな\n' >"$work/kana.txt"
QT_QPA_PLATFORM=offscreen "$yomi6" --pdf "$work/kana.pdf" "$work/kana.txt"
check "the installed yomi6 --pdf runs the installed Qt program" \
  '[ $? -eq 0 ] && [ "$(head -c 5 "$work/kana.pdf")" = "%PDF-" ]'
"$yomi6" --wav "$work/kana.wav" "$work/kana.txt"
check "the installed yomi6 --wav runs the installed sound program" \
  '[ $? -eq 0 ] && [ "$(head -c 4 "$work/kana.wav")" = RIFF ]'

# The shipped voices: the HTS voice with its licence, byte for byte as in the repository, and
# the kana voice folders made from it, which the installed program finds complete.
# shellcheck disable=SC2034 # read by a check condition
voices=$(realpath "$(dirname "$(realpath "$0")")/../../voices")
for f in COPYRIGHT.txt README.md tohoku-f01-neutral.htsvoice tohoku-f01-happy.htsvoice \
         tohoku-f01-sad.htsvoice tohoku-f01-angry.htsvoice; do
  check "installed: the voice's $f, unchanged" \
    'cmp -s "$voices/tohoku-f01/$f" "$share/yomi6/voices/tohoku-f01/$f"'
done
for folder in tohoku-f01-kana tohoku-f01-kana-low; do
  # shellcheck disable=SC2034 # read by a check condition
  installed="$share/yomi6/voices/$folder"
  check "installed: $folder, every file as in the repository" \
    'diff -r "$voices/$folder" "$installed" >/dev/null'
  check "installed: $folder, readable by all" \
    '[ -z "$(find "$installed" -type f ! -perm -0444)" ]'
  check "installed: $folder, all 141 units usable" \
    '"$root/usr/bin/yomi6" --check-voice "$installed" | grep -qx "Units: 141 (141 usable, 0 missing, 0 unusable)"'
done
help=$("$yomi6" --help)
# shellcheck disable=SC2034 # read by a check condition
version=$("$yomi6" --version | sed -n 's/.*(yomi6 \(.*\))$/\1/p')
mapfile -t options < <(grep -o -- '--[a-z][a-z0-9-]*' <<<"$help" | sort -u)
check "--help lists options" '[ ${#options[@]} -ge 5 ]'

# The desktop entry's icon is installed under its name.
# shellcheck disable=SC2034 # read by a check condition
icon=$(sed -n 's/^Icon=//p' "$share/applications/yomi6.desktop")
check "the desktop entry's icon is installed" '[ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ]'

# AppStream metainfo: valid, pointing at the installed desktop entry, with this version.
metainfo=$(find "$share/metainfo" -maxdepth 1 -name '*.metainfo.xml' 2>/dev/null | sort | head -n 1)
check "one metainfo file" '[ -n "$metainfo" ] && [ "$(ls "$share"/metainfo | wc -l)" -eq 1 ]'
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1
  check "appstreamcli validate --no-net" '[ $? -eq 0 ] || { cat "$work/appstream.log"; false; }'
else
  echo "FAIL: appstreamcli is missing (tools/install-deps.sh installs appstream)"
  failures=$((failures + 1))
fi
# shellcheck disable=SC2034 # read by a check condition
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
check "the metainfo launches the installed desktop entry" '[ -f "$share/applications/$launchable" ]'
check "the metainfo names this version" 'grep -q "<release version=\"$version\"" "$metainfo"'
check "the metainfo's id is the file name" \
  'grep -q "<id>$(basename "$metainfo" .metainfo.xml)</id>" "$metainfo"'

# The manual page: no warnings from the formatter, every option and mode, the files it uses.
page="$work/yomi6.txt"
MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$share/man/man1/yomi6.1.gz" \
  >"$page" 2>"$work/man.err"
check "the manual page renders" '[ -s "$page" ]'
check "the manual page renders without warnings" '[ ! -s "$work/man.err" ] || { cat "$work/man.err"; false; }'
# man may hyphenate or use Unicode hyphens; compare on ASCII hyphens with joined words.
# shellcheck disable=SC2034 # read by a check condition
plain=$(sed 's/‐/-/g; s/−/-/g' "$page")
# Each option is the tag of its own paragraph: an indented line that starts with it.
for option in "${options[@]}"; do
  check "the manual page documents $option" 'grep -qE -- "^ +$option( |,|\$)" <<<"$plain"'
done
for file in yomi6.ini Yomi6.dic XDG_CONFIG_HOME; do
  check "the manual page names $file" 'grep -q -- "$file" <<<"$plain"'
done
check "the manual page names this version" 'grep -q -- "yomi6 $version" <<<"$plain"'

# The bash completion: options from a dash, values after an option, files elsewhere.
completion="$share/bash-completion/completions/yomi6"
complete_words() { # words of the command line; the last is the one being completed
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1));
           _yomi6; printf "%s\n" "${COMPREPLY[@]}" | sort' _ "$completion" "$@"
}
check "--v completes to --version and --voice" \
  '[ "$(complete_words yomi6 --v | tr "\n" " ")" = "--version --voice " ]'
# shellcheck disable=SC2034 # read by a check condition
all=$(complete_words yomi6 --)
for option in "${options[@]}"; do
  check "the completion offers $option" 'grep -qx -- "$option" <<<"$all"'
done
check "--voice completes its values" \
  '[ "$(complete_words yomi6 --voice "" | tr "\n" " ")" = "female male " ]'
check "--voice m completes male" '[ "$(complete_words yomi6 --voice m)" = "male" ]'
mkdir -p "$work/docs" && touch "$work/docs/letter.txt"
check "a file name completes" \
  '[ "$(cd "$work/docs" && complete_words yomi6 --reading let)" = "letter.txt" ]'
check "--speed offers nothing" '[ -z "$(complete_words yomi6 --speed "")" ]'

checks_done
