#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034 # the checks are strings evaluated later
# yomi6 --speak --engine natural through a real sound server: a private PulseAudio server with a
# null sink is recorded while yomi6 speaks, and the recording is held against the same text
# rendered by --engine natural --wav: the same speech (as much of it, as loud, the last
# syllable included, so the process did not end before its last frames were played), in one
# run; the same with the lines in 「」 in a voice of their own. Then without a server: silent,
# taking the speech's time, one line, exit 0.
#   speak_natural_pulse.sh YOMI6 VOICE_DIR
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
YOMI6_NATURAL_VOICE_DIR=$(realpath "$2")
export YOMI6_NATURAL_VOICE_DIR
# shellcheck source=speak_setup.sh
. "$(dirname "$(realpath "$0")")/speak_setup.sh"
speak_setup iconv sox python3

# Three chunks: the first cut short at its comma, then two sentences.
printf '今日は、とても良い天気です。雨は降りません。明日も晴れるでしょう。' |
  iconv -f UTF-8 -t CP932 >t.txt
"$yomi6" --engine natural --wav w.wav t.txt &&
  sox w.wav -t raw -e signed -b 16 -c 1 -r 44100 w.raw
check "reference rendering" '[ -s w.raw ]'

start_pulse "$work/server" || exit 1
record_start heard.raw || exit 1
started=$(date +%s%N)
timeout 120 "$yomi6" --engine natural --speak t.txt >speak.out 2>speak.err
status=$?
ended=$(date +%s%N)
record_stop 1.0
check "speak: exit status 0" '[ $status -eq 0 ]'
check "speak: nothing on stdout or stderr ($(head -c 200 speak.err))" \
  '[ ! -s speak.out ] && [ ! -s speak.err ]'

# Speech is every 10 ms window louder than -40 dBFS. The recording must hold as much of it as
# the file, within 8 % (the file is at 16000 Hz, what is heard at 44100), at the file's loudness
# within 1.5 dB, and last from its first to its last window at least as long as the file's
# speech less 100 ms (a chunk said late only lengthens a pause; an end cut off shortens it),
# its last 150 ms of speech as loud as the file's within 3 dB.
compare() {
  python3 - "$1" "$2" <<'PY'
import math, struct, sys
def windows(path):
    data = open(path, "rb").read()
    x = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
    n = 441
    out = []
    for i in range(0, len(x) - n + 1, n):
        s = sum(v * v for v in x[i : i + n]) / n
        out.append(10 * math.log10(s / 32768.0**2) if s > 0 else -200.0)
    return out
def speech(path):
    all_windows = windows(path)
    at = [i for i, v in enumerate(all_windows) if v > -40]
    if not at:
        return 0, 0, -200.0, -200.0
    w = [all_windows[i] for i in at]
    level = lambda vs: 10 * math.log10(sum(10 ** (v / 10) for v in vs) / len(vs))
    return len(w), at[-1] - at[0] + 1, level(w), level(w[-15:])
ref, heard = speech(sys.argv[1]), speech(sys.argv[2])
print("file: %d windows of speech over %d at %.1f dB, last %.1f dB" % ref)
print("heard: %d windows of speech over %d at %.1f dB, last %.1f dB" % heard)
ok = (abs(heard[0] - ref[0]) <= 0.08 * ref[0] and heard[1] >= ref[1] - 10
      and abs(heard[2] - ref[2]) <= 1.5 and abs(heard[3] - ref[3]) <= 3)
sys.exit(0 if ok else 1)
PY
}
compare w.raw heard.raw >compare.out
check "speak: the speech of the file, all of it ($(tr '\n' ' ' <compare.out))" '[ $? -eq 0 ]'
audio_ms=$(soxi -D w.wav | awk '{ printf "%d", $1 * 1000 }')
elapsed_ms=$(((ended - started) / 1000000))
check "speak: the process lasts as long as the speech ($elapsed_ms ms for $audio_ms ms)" \
  '[ "$elapsed_ms" -ge "$audio_ms" ]'

# The line in 「」 in the natural voice's happy style, the rest in the samples: what is heard is
# the sound --wav writes of it.
printf 'ねこがいた。「はい、そうです」とねこはいった。' | iconv -f UTF-8 -t CP932 >d.txt
"$yomi6" --dialogue-voice happy --wav d.wav d.txt &&
  sox d.wav -t raw -e signed -b 16 -c 1 -r 44100 d.raw
check "dialogue: reference rendering" '[ -s d.raw ]'
record_start dheard.raw || exit 1
timeout 120 "$yomi6" --dialogue-voice happy --speak d.txt >dspeak.out 2>dspeak.err
status=$?
record_stop 1.0
check "dialogue speak: exit status 0, nothing on stdout or stderr ($(head -c 200 dspeak.err))" \
  '[ $status -eq 0 ] && [ ! -s dspeak.out ] && [ ! -s dspeak.err ]'
compare d.raw dheard.raw >dcompare.out
check "dialogue speak: the speech of the file ($(tr '\n' ' ' <dcompare.out))" '[ $? -eq 0 ]'

# No sound server: one line, silence that takes the speech's time, exit 0.
speak_without_server "$yomi6" none.out none.err --engine natural --speak t.txt
check "no server: exit status 0" '[ $status -eq 0 ]'
check "no server: one line on stderr ($(head -c 200 none.err))" \
  '[ ! -s none.out ] && [ "$(wc -l <none.err)" -eq 1 ] && grep -q "speaking in silence" none.err'
check "no server: the speech takes its time ($elapsed_ms ms for $audio_ms ms)" \
  '[ "$elapsed_ms" -ge "$audio_ms" ]'

checks_done speak_natural_pulse
