#!/usr/bin/env bash
# yomi6 without Qt or the sound libraries: the light modes (--help, --version, --reading,
# --schedule, --labels) run without loading any Qt library or any of the sound libraries
# (libsndfile, Rubber Band, libsoxr, libhtsengine); the other modes without Qt are handed to
# yomi6-sound, and the editor, --speak and --pdf to the Qt program yomi6-qt, each of which
# replaces the process with the same arguments (found beside yomi6, or in <prefix>/libexec
# beside <prefix>/bin); a program that is missing or cannot run is one line on standard error
# and status 1.
#   cli_qt_handover.sh YOMI6 VOICE_FOLDER
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
voice=$(realpath "$2")
enter_scratch_folder
export QT_QPA_PLATFORM=offscreen
printf 'かなの\xe6\x96\x87\xe3\x80\x82\n' >text.txt

# The libraries a run loads, as the dynamic loader reports them (dlopen included).
loaded() { # pattern, arguments of yomi6
  local pattern=$1
  shift
  LD_DEBUG=libs "$yomi6" "$@" >/dev/null 2>"$work/loader.txt"
  grep -Eq "$pattern" "$work/loader.txt"
}
sound_libraries='calling init: .*/lib(sndfile|rubberband|soxr|HTSEngine)[.-]'
qt_loaded() { loaded 'libQt6' "$@"; }
sound_loaded() { loaded "$sound_libraries" "$@"; }
check "yomi6 links no Qt library" '! ldd "$yomi6" | grep -q libQt6'
check "yomi6 links none of the sound libraries ($(ldd "$yomi6" | awk '{ print $1 }' | grep -E 'lib(sndfile|rubberband|soxr|HTSEngine)' | tr '\n' ' '))" \
  '! ldd "$yomi6" | grep -Eq "lib(sndfile|rubberband|soxr|HTSEngine)"'
# MeCab and the C++ run-time library are linked inside: the dynamic loader has only libc and libm
# to load (a third of the start of --reading was its work on the other two).
others=$(ldd "$yomi6" | awk '{ print $1 }' | grep -vE '^(linux-vdso\.so|/lib64/ld-linux|libc\.so|libm\.so)' | tr '\n' ' ')
check "yomi6 loads no shared library but libc and libm ($others)" '[ -z "$others" ]'
for mode in "--help" "--version" "--reading text.txt" "--reading text.txt --readings dictionary" \
  "--schedule text.txt" "--labels text.txt"; do
  # shellcheck disable=SC2086 # the mode's words are the arguments
  check "$mode loads none of the sound libraries" '! sound_loaded $mode'
done
# The modes that need them have them, in yomi6-sound: the pattern finds what it is to find.
check "--wav loads the sound libraries, in yomi6-sound" 'sound_loaded --wav out.wav text.txt'
for mode in "--help" "--version" "--reading text.txt" "--reading text.txt --readings dictionary" \
  "--schedule text.txt" "--units text.txt" "--wav out.wav text.txt" \
  "--export out.flac --subtitles out.srt text.txt" "--check-voice $voice" "--labels text.txt"; do
  # shellcheck disable=SC2086 # the mode's words are the arguments
  check "$mode loads no Qt library" '! qt_loaded $mode'
  # shellcheck disable=SC2086
  check "$mode runs (not a usage error)" '"$yomi6" $mode >/dev/null 2>&1; [ $? -ne 2 ]'
done
check "--reading reads without Qt" '[ -n "$("$yomi6" --reading text.txt)" ]'
check "--wav writes its file without Qt" '[ "$(head -c 4 out.wav)" = RIFF ]'
# The real Qt program, through yomi6: Qt is loaded, and the PDF written.
check "--pdf loads Qt, in the Qt program" 'qt_loaded --pdf out.pdf text.txt'
check "--pdf through yomi6 writes the PDF" '[ "$(head -c 5 out.pdf)" = "%PDF-" ]'

# A stand-in for a program handed over to that records what it was started with: its name, its
# process id, its argument count and each argument on a line of its own, and ends with status 3.
stand_in() { # path
  mkdir -p "$(dirname "$1")"
  cat >"$1" <<'SH'
#!/bin/sh
{ basename "$0"; echo "$$"; echo "$#"; for a in "$@"; do printf '%s\n' "$a"; done; } >"$HANDOVER_LOG"
exit 3
SH
  chmod +x "$1"
}
export HANDOVER_LOG="$work/handover.txt"
mkdir -p beside
cp "$yomi6" beside/yomi6
stand_in beside/yomi6-qt
stand_in beside/yomi6-sound
handed() { # the program expected, then the arguments; runs beside/yomi6 with them
  local program=$1
  shift
  rm -f "$HANDOVER_LOG"
  beside/yomi6 "$@" 2>/dev/null &
  local pid=$!
  # A program that did not hand over (an editor that opened itself) is ended, not waited for.
  (timeout 60 tail --pid="$pid" -s 0.1 -f /dev/null || kill "$pid" 2>/dev/null) &
  local watchdog=$!
  wait "$pid"
  local status=$?
  wait "$watchdog"
  [ "$status" -eq 3 ] && [ -f "$HANDOVER_LOG" ] &&
    [ "$(cat "$HANDOVER_LOG")" = "$(printf '%s\n' "$program" "$pid" "$#" "$@")" ]
}
check "the editor is handed over, same process, status passed back" 'handed yomi6-qt'
check "the editor with files" 'handed yomi6-qt "a file.txt" "--" "-b.txt"'
check "--speak, every argument as given" \
  'handed yomi6-qt --speak --voice male --speed 120 "with space.txt"'
check "--pdf with standard output, an argument not UTF-8" \
  'handed yomi6-qt --pdf - "$(printf "\x8a\xbf.txt")"'
check "--wav to yomi6-sound, every argument as given" \
  'handed yomi6-sound --wav - --speed 120 "with space.txt"'
check "--export, --units and --check-voice to yomi6-sound" \
  'handed yomi6-sound --export a.flac text.txt && handed yomi6-sound --units text.txt &&
   handed yomi6-sound --check-voice "$voice"'
rm -f "$HANDOVER_LOG"
timeout 60 beside/yomi6 --speak 2>usage.txt
check "a usage error is reported by yomi6 itself (status 2)" '[ $? -eq 2 ] && [ ! -f "$HANDOVER_LOG" ]'
timeout 60 beside/yomi6 --version >/dev/null
check "a mode without Qt is not handed over" '[ $? -eq 0 ] && [ ! -f "$HANDOVER_LOG" ]'

# Installed: <prefix>/bin/yomi6 finds <prefix>/libexec/yomi6-qt.
mkdir -p prefix/bin
cp "$yomi6" prefix/bin/yomi6
stand_in prefix/libexec/yomi6-qt
rm -f "$HANDOVER_LOG"
timeout 60 prefix/bin/yomi6 --speak text.txt
check "installed: found in libexec" '[ $? -eq 3 ] && [ "$(sed -n 4,5p "$HANDOVER_LOG")" = "$(printf -- "--speak\ntext.txt")" ]'
stand_in prefix/libexec/yomi6-sound
rm -f "$HANDOVER_LOG"
timeout 60 prefix/bin/yomi6 --wav out.wav text.txt
check "installed: yomi6-sound found in libexec" '[ $? -eq 3 ] && [ "$(head -1 "$HANDOVER_LOG")" = yomi6-sound ]'

# Missing or not executable: one line on standard error naming it, status 1.
rm prefix/libexec/yomi6-qt
timeout 60 prefix/bin/yomi6 letter.txt >out.txt 2>err.txt
check "missing: status 1" '[ $? -eq 1 ] && [ ! -s out.txt ]'
check "missing: one line naming the installed place" \
  '[ "$(wc -l <err.txt)" -eq 1 ] && grep -q "^yomi6: .*/prefix/libexec/yomi6-qt: cannot be started for the editor: No such file or directory$" err.txt'
stand_in prefix/libexec/yomi6-qt
chmod -x prefix/libexec/yomi6-qt
timeout 60 prefix/bin/yomi6 --pdf out.pdf letter.txt 2>err.txt
check "not executable: status 1, one line, the reason" \
  '[ $? -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ] && grep -q "yomi6-qt: cannot be started for --pdf: Permission denied$" err.txt'
rm prefix/libexec/yomi6-sound
timeout 60 prefix/bin/yomi6 --export out.flac text.txt >out.txt 2>err.txt
check "yomi6-sound missing: status 1, one line naming the installed place" \
  '[ $? -eq 1 ] && [ ! -s out.txt ] && [ "$(wc -l <err.txt)" -eq 1 ] && grep -q "^yomi6: .*/prefix/libexec/yomi6-sound: cannot be started for --export: No such file or directory$" err.txt'

checks_done
