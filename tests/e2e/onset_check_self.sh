#!/usr/bin/env bash
# The onset checker against recordings made to order from `yomi6 --wav` renderings: it passes a
# faithful one and one into which silence was inserted as a sound server that ran dry inserts it,
# and fails one with a wrong sample, one out of order, one at half the level, one whose ticks
# drift, one heard early and one that slips all the time. So the allowance speak_pulse.sh makes
# for load cannot hide what load cannot do.
#   onset_check_self.sh YOMI6 ONSET_CHECK
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
check=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
require_tools sox iconv
enter_scratch_folder
# The kana are pinned as the dictionary reading says them (は and へ not read as particles).
choose_dictionary_reading

sjis() { # file, UTF-8 text
  printf '%s' "$2" | iconv -f UTF-8 -t CP932 >"$1"
}
sjis kana.txt 'あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろ'
# The same kana with two neighbours swapped, and with one replaced.
sjis swapped.txt 'あいうえおかきくけこさしすせそたちつてとなにぬねのはひふほへまみむめもやゆよらりるれろ'
sjis replaced.txt 'あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれを'
# Without へ (tick 28), so that ほ sounds in its place.
sjis without.txt 'あいうえおかきくけこさしすせそたちつてとなにぬねのはひふほまみむめもやゆよらりるれろ'

# A rendering of a text at a speed as the sink's monitor would record it: 16-bit mono at
# 44100 Hz, between half a second of silence before and after.
render() { # output .raw, text, yomi6 options...
  local out=$1 text=$2
  shift 2
  "$yomi6" --wav "$out.wav" "$text" "$@" &&
    sox -n -r 44100 -c 1 -b 16 -e signed "$out.lead.raw" trim 0 0.5 &&
    sox "$out.wav" -t raw -e signed -b 16 -c 1 -r 44100 "$out.body.raw" &&
    cat "$out.lead.raw" "$out.body.raw" "$out.lead.raw" >"$out"
}
bytes_at_ms() { # ms → a byte offset of whole frames
  # shellcheck disable=SC2017 # cut to whole frames first, then two bytes per frame
  echo $(( $1 * 441 / 10 * 2 ))
}
zeros() { # ms
  head -c "$(bytes_at_ms "$1")" /dev/zero
}
# The recording with ms of zeros inserted at each of the moments given.
insert_silence() { # input, output, ms, at_ms...
  local in=$1 out=$2 ms=$3 from=0 at
  shift 3
  : >"$out"
  for at in "$@"; do
    local to
    to=$(bytes_at_ms "$at")
    tail -c +$((from + 1)) "$in" | head -c $((to - from)) >>"$out"
    zeros "$ms" >>"$out"
    from=$to
  done
  tail -c +$((from + 1)) "$in" >>"$out"
}

verdict() { # name, expected PASS, FAIL or SPOILED, checker arguments...
  local name=$1 expected=$2 file=${1// /_}.check
  shift 2
  "$check" --tolerate-late-ticks "$@" >"$file" 2>&1
  local status=$?
  local summary
  summary=$(grep '^samples' "$file" | head -n 1)
  local want=1
  case $expected in PASS) want=0 ;; SPOILED) want=3 ;; esac
  check "$name: $expected ($summary)" "[ $status -eq $want ] && tail -n 1 $file | grep -qx $expected"
  [ "$status" -eq "$want" ] || sed "s/^/  $name: /" "$file"
}

render base.raw kana.txt --speed 60
render file.raw kana.txt --speed 60 # the --same-as reference, as speak_pulse.sh makes it
tail -c +$(( $(bytes_at_ms 500) + 1 )) file.raw >same.raw
verdict faithful PASS --same-as same.raw base.raw --speak kana.txt --speed 60

# The server ran dry three times: 40 ms inside a sample, 120 ms and 6 ms elsewhere.
insert_silence base.raw dry.raw 40 1015
insert_silence dry.raw dry2.raw 120 1800
insert_silence dry2.raw dry3.raw 6 2400
verdict "silence inserted by the server" PASS --same-as same.raw dry3.raw --speak kana.txt --speed 60
check "the inserted silence is reported" 'grep -q "silence inserted [1-9]" silence_inserted_by_the_server.check'

render swapped.raw swapped.txt --speed 60
verdict "two samples out of order" FAIL swapped.raw --speak kana.txt --speed 60
render replaced.raw replaced.txt --speed 60
verdict "a wrong last sample" FAIL replaced.raw --speak kana.txt --speed 60
sox -t raw -e signed -b 16 -c 1 -r 44100 base.raw -t raw half.raw vol 0.5
verdict "half the level" FAIL --same-as same.raw half.raw --speak kana.txt --speed 60
# Ticks of 61 ms checked as 60: every onset 1 ms later than the one before.
render slow.raw kana.txt --speed 61
verdict "a drift of 1 ms a tick" FAIL slow.raw --speak kana.txt --speed 60
# 30 ms cut out of the silence between two samples at 250 ms a tick: everything after it is
# heard early, which load never does.
render slow250.raw kana.txt --speed 250
head -c "$(bytes_at_ms $((500 + 10 * 250 + 200)))" slow250.raw >early.raw
tail -c +$(( $(bytes_at_ms $((500 + 10 * 250 + 230))) + 1 )) slow250.raw >>early.raw
verdict "heard early" FAIL early.raw --speak kana.txt --speed 250
# The same cut through a sample at 60 ms a tick garbles that sample, which could be load's
# doing: no pass (a spoiled run), and a failure without the allowance for load.
head -c "$(bytes_at_ms 1500)" base.raw >early60.raw
tail -c +$(( $(bytes_at_ms 1530) + 1 )) base.raw >>early60.raw
verdict "heard early through a sample" SPOILED early60.raw --speak kana.txt --speed 60
"$check" early60.raw --speak kana.txt --speed 60 >early60_strict.check
check "... and fails without the allowance for load" '[ $? -eq 1 ]'
# 20 ms of silence at every third sample: a stream that runs dry all the time is no pass (a
# caller repeats a spoiled run, and fails when every one is), and without the allowance for
# load it fails outright.
mapfile -t every < <(seq 530 180 2900)
insert_silence base.raw slipping.raw 20 "${every[@]}"
verdict "a stream that runs dry all the time" SPOILED slipping.raw --speak kana.txt --speed 60
"$check" slipping.raw --speak kana.txt --speed 60 >strict.check
check "... and fails without the allowance for load" '[ $? -eq 1 ]'
# Two late requests: the first is cut at once by the second, placed at the same frame later on.
# The first is dropped, the second delayed: what load does, and the run passes. Made from a
# rendering without へ whose ほ (in へ's place, 28 ticks in) comes 70 ms later.
render without.raw without.txt --speed 60
insert_silence without.raw dropped.raw 70 $((500 + 28 * 60))
verdict "a late sample dropped for the next one" PASS dropped.raw --speak kana.txt --speed 60
check "... reported as dropped" 'grep -q "IDF_HE.*DROPPED" a_late_sample_dropped_for_the_next_one.check'

# The last sample cut off in its middle (a stream closed while the server still held frames of
# it): no pass, and a failure without the allowance for load.
head -c "$(bytes_at_ms $((500 + 42 * 60 + 80)))" base.raw >cut.raw
zeros 500 >>cut.raw
verdict "the last sample cut off" SPOILED cut.raw --speak kana.txt --speed 60
"$check" cut.raw --speak kana.txt --speed 60 >cut_strict.check
check "... and fails without the allowance for load" '[ $? -eq 1 ]'

# blocks.awk, which the editor's sound tests count loud and quiet blocks with: 100 ms of zeros
# right after a loud frame is the server's and is left out; the same after a quiet tail (a
# sample's own end, then the program's silence) is kept.
frames() { # count, value
  awk -v n="$1" -v v="$2" 'BEGIN { for (i = 0; i < n; i++) print v }'
}
{ frames 4410 3000; frames 4410 0; frames 4410 3000; } >abrupt.txt
{ frames 4410 3000; frames 100 5; frames 4410 0; frames 4410 3000; } >soft.txt
abrupt=$(awk -v frames=882 -v loud=1000 -f "$here/blocks.awk" abrupt.txt)
soft=$(awk -v frames=882 -v loud=1000 -f "$here/blocks.awk" soft.txt)
check "blocks.awk leaves out the server's silence ($(tr '\n' ' ' <<<"$abrupt"))" \
  '[ "$(head -n 1 <<<"$abrupt")" = 1111111111 ] && grep -q "^dropouts 1 100.0" <<<"$abrupt"'
check "blocks.awk keeps the program's own silence ($(tr '\n' ' ' <<<"$soft"))" \
  'head -n 1 <<<"$soft" | grep -q 1100000111 && grep -q "^dropouts 0 " <<<"$soft"'

checks_done
