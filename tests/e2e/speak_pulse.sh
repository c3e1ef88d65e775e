#!/usr/bin/env bash
# yomi6 --speak through a real sound server: a private PulseAudio server with a null sink is
# recorded while yomi6 speaks, and yomi6_onset_check decides from the recording whether the
# right samples were heard, in the right order, on the grid of the timer ticks (where the player
# placed them: what load moved is measured from there), the last one to its end. Then the same without any server: silent, on time, exit 0. And the errors.
#   speak_pulse.sh YOMI6 ONSET_CHECK
# With KEEP=1 the scratch folder (recordings, outputs) is left for inspection.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
check=$(realpath "$2")
# shellcheck source=speak_setup.sh
. "$(dirname "$(realpath "$0")")/speak_setup.sh"
speak_setup iconv sox
# The dictionary reading, whose samples the checks below expect.
choose_dictionary_reading


sjis() { # file, UTF-8 text
  printf '%s' "$2" | iconv -f UTF-8 -t CP932 >"$1"
}

# Voiced and contracted kana, a small tsu and a long vowel (ticks that play nothing), a line
# break (no tick), punctuation, digits and Latin letters folded into kana.
sjis mixed.txt $'がっこうへ いきます。\r\nきゃべつ、ちょっと らーめん 12 ABC'
sjis kana.txt 'あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん'
: >empty.txt

start_pulse "$work/server" || exit 1

# One recording of yomi6 --speak, judged: 0 heard as scheduled, 1 not, 3 spoiled by load.
speak_once() { # name, text file, yomi6 options...
  local name=$1 text=$2
  shift 2
  record_start "$name.raw" || return 1
  timeout 60 "$yomi6" --speak "$text" "$@" >"$name.out" 2>"$name.err"
  local status=$?
  # A loaded machine plays what the program handed over late: let it through.
  record_stop 1.0
  check "$name: exit status 0" "[ $status -eq 0 ]"
  check "$name: nothing on stdout or stderr" "[ ! -s $name.out ] && [ ! -s $name.err ]"
  "$check" --tolerate-late-ticks "$name.raw" --speak "$text" "$@" >"$name.check"
}

speak_and_check() { # name, text file, yomi6 options...
  local name=$1 status attempt
  # What a loaded machine does is told apart from what the player did (yomi6_onset_check):
  # silence the server inserted when the stream ran dry is skipped, and a sample delayed by
  # load starts a new grid; both are reported. A wrong, missing, early or drifting sample
  # fails at once. A run in which load moved more than a fifth of the samples cannot be judged
  # and is made again, up to six times in all; the onset figures are tools/measure_onsets.sh's
  # business.
  for attempt in 1 2 3 4 5 6; do
    speak_once "$@"
    status=$?
    [ "$status" -eq 3 ] || break
    echo "  $name: attempt $attempt spoiled by load ($(grep '^samples' "$name.check"))"
  done
  check "$name: heard as scheduled ($(grep '^samples' "$name.check"))" "[ $status -eq 0 ]"
  grep -v '^PASS$' "$name.check" | grep -v '^samples ' | sed "s/^/  $name: /"
}

# What was heard against the same text rendered by --wav: the same samples at the same places
# and level, mixed by the same rule (the file brought to the recording's rate by sox).
same_as_file() { # name of a recording made above, text file, yomi6 options...
  local name=$1 text=$2
  shift 2
  "$yomi6" --wav "$name.wav" "$text" "$@" &&
    sox "$name.wav" -t raw -e signed -b 16 -c 1 -r 44100 "$name.file.raw"
  "$check" --tolerate-late-ticks --same-as "$name.file.raw" "$name.raw" --speak "$text" "$@" \
    >"$name.same"
  local status=$?
  check "$name: heard as --wav renders it ($(grep '^compared' "$name.same"))" "[ $status -eq 0 ]"
}

speak_and_check female_180 mixed.txt
same_as_file female_180 mixed.txt
speak_and_check male_60 kana.txt --voice male --speed 60
same_as_file male_60 kana.txt --voice male --speed 60
# A speed of 0 gives the timer its shortest period, 10 ms: every sample is cut after 10 ms.
speak_and_check floor_0 mixed.txt --speed 0

# Without --voice and --speed the settings file's voice and speed are used: the male voice at
# 250 ms here, told to the checker outright.
settings_check() { # name, text file, checker options...
  local name=$1 text=$2 attempt status
  shift 2
  for attempt in 1 2 3 4 5 6; do
    record_start "$name.raw" || return 1
    timeout 60 "$yomi6" --speak "$text" >"$name.out" 2>"$name.err"
    status=$?
    record_stop 1.0
    check "$name: exit status 0, nothing on stderr" "[ $status -eq 0 ] && [ ! -s $name.err ]"
    "$check" --tolerate-late-ticks "$name.raw" --speak "$text" "$@" >"$name.check"
    status=$?
    [ "$status" -eq 3 ] || break
    echo "  $name: attempt $attempt spoiled by load ($(grep '^samples' "$name.check"))"
  done
  check "$name: heard with the settings file's voice and speed" "[ $status -eq 0 ]"
  grep -v '^PASS$' "$name.check" | grep -v '^samples ' | sed "s/^/  $name: /"
}
printf '[%s]\r\n%s=250\r\n%s=1\r\n%s=0\r\n' 'よみあげPadのセッティング' 'しゃべるスピード' '声の質' '読み方' |
  iconv -f UTF-8 -t CP932 >"$XDG_CONFIG_HOME/yomi6.ini"
settings_check settings_male_250 mixed.txt --voice male --speed 250
choose_dictionary_reading

# An empty text: one silent tick, and nothing heard.
record_start empty.raw
timeout 60 "$yomi6" --speak empty.txt >empty.out 2>empty.err
status=$?
record_stop
check "empty text: exit status 0" "[ $status -eq 0 ] && [ ! -s empty.err ]"
check "empty text: nothing heard" \
  "[ -z \"\$(od -An -v -td2 -w2 empty.raw | awk '\$1 > 64 || \$1 < -64' | head -1)\" ]"
stop_pulse

# No sound server at all: silence, one line saying so, exit 0, and the ticks still take their
# time: the last of them comes one period after the one before.
ticks=$("$yomi6" --schedule kana.txt | wc -l)
speak_without_server "$yomi6" none.out none.err --speak kana.txt --speed 60
check "no server: exit status 0" "[ $status -eq 0 ]"
check "no server: nothing on stdout, one line on stderr ($(head -c 200 none.err))" \
  "[ ! -s none.out ] && [ \"\$(wc -l <none.err)\" -eq 1 ] && grep -q 'sound output' none.err"
check "no server: $ticks ticks take their time (${elapsed_ms} ms)" \
  "[ $ticks -gt 40 ] && [ $elapsed_ms -ge $((ticks * 60)) ]"

# Errors as the other modes: one line on stderr, status 1; a usage error, status 2.
"$yomi6" --speak missing.txt >err.out 2>err.txt
status=$?
check "missing input: status 1, one line" \
  "[ $status -eq 1 ] && [ \"\$(wc -l <err.txt)\" -eq 1 ] && grep -q missing.txt err.txt"
"$yomi6" --speak kana.txt --speed 1001 >/dev/null 2>err.txt
check "speed out of range: status 2" "[ $? -eq 2 ]"

checks_done
