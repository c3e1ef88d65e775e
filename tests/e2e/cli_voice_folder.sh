#!/usr/bin/env bash
# The command-line modes speak with the voice folder the settings file gives a slot: --wav and
# --export render the folder's units (converted to the render format) and the built-in voice
# where the folder lacks a unit; a folder that is gone or units that are broken are one line
# on stderr and change neither the output nor the exit status; the settings file is never
# written.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
enter_scratch_folder
mkdir -p "$XDG_CONFIG_HOME"
settings() { # female slot value
  printf '[Voices]\r\nFemaleSlot=%s\r\n' "$1" >"$XDG_CONFIG_HOME/yomi6.ini"
}

# Half-width ｱｲ: the female voice's A on tick 0, its I on tick 1, the end on tick 2.
printf '\xb1\xb2\r\n' >text.txt
"$yomi6" --voice female --speed 180 --wav builtin.wav text.txt
check "built-in reference" '[ "$(head -c 4 builtin.wav)" = RIFF ]'

# A folder with A only, as 44.1 kHz 16-bit stereo; its A converted independently with sox to
# the render format (16 kHz 8-bit mono) for comparison.
mkdir voice
sox -n -r 44100 -b 16 -c 2 voice/A.wav synth 0.15 sine 523 vol 0.5
sox voice/A.wav -r 16000 -c 1 -b 8 -e unsigned-integer expected_a.wav
settings "$work/voice"
cp "$XDG_CONFIG_HOME/yomi6.ini" ini.before
"$yomi6" --voice female --speed 180 --wav folder.wav text.txt 2>folder.err
check "folder: status 0, nothing on stderr" '[ $? -eq 0 ] && [ ! -s folder.err ]'
check "settings file untouched" 'cmp -s ini.before "$XDG_CONFIG_HOME/yomi6.ini"'

# Compares the data of WAVE files: tick 0 (A) follows the folder, tick 1 on (I) is the
# built-in voice's to the byte.
compare() { # output.wav -> prints a verdict word
  python3 - "$1" builtin.wav expected_a.wav <<'PY'
import sys, wave
def data(p):
    with wave.open(p) as w:
        return w.readframes(w.getnframes())
out, ref, a = (data(p) for p in sys.argv[1:4])
tick = 180 * 16  # samples per tick at 16 kHz
n = min(len(a), tick) - 64  # the folder's A, short of the fade before tick 1
diff = max(abs(out[i] - a[i]) for i in range(n))
builtin = max(abs(out[i] - ref[i]) for i in range(n))
same_tail = out[tick:] == ref[tick:]
print("folder" if diff <= 3 and builtin > 20 else "not-folder(%d,%d)" % (diff, builtin),
      "tail-same" if same_tail else "tail-differs")
PY
}
verdict=$(compare folder.wav)
check "--wav: A from the folder, I from the built-in voice ($verdict)" \
  '[ "$verdict" = "folder tail-same" ]'

"$yomi6" --voice female --speed 180 --export export.wav text.txt 2>export.err
verdict=$(compare export.wav)
check "--export: the same voice ($verdict)" '[ "$verdict" = "folder tail-same" ] && [ ! -s export.err ]'

# The male slot keeps its built-in voice.
"$yomi6" --voice male --speed 180 --wav male.wav text.txt
XDG_CONFIG_HOME="$work/empty" "$yomi6" --voice male --speed 180 --wav male-none.wav text.txt
check "male slot unchanged" 'cmp -s male.wav male-none.wav'

# Broken units: one line on stderr, the built-in voice speaks them, status 0.
echo "not a wave" >voice/I.wav
echo "not a wave" >voice/U.wav
"$yomi6" --voice female --speed 180 --wav broken.wav text.txt 2>broken.err
check "broken units: status 0" '[ $? -eq 0 ]'
check "broken units: one line" '[ "$(wc -l <broken.err)" -eq 1 ] && grep -q "2 units unusable" broken.err'
verdict=$(compare broken.wav)
check "broken units: fall back ($verdict)" '[ "$verdict" = "folder tail-same" ]'

# A folder that is gone: one line, the built-in voice, status 0.
settings "$work/gone"
"$yomi6" --voice female --speed 180 --wav gone.wav text.txt 2>gone.err
check "gone: status 0" '[ $? -eq 0 ]'
check "gone: one line naming it" '[ "$(wc -l <gone.err)" -eq 1 ] && grep -q "voice folder $work/gone" gone.err'
check "gone: the built-in voice" 'cmp -s gone.wav builtin.wav'

# The same folder in both slots (its units still broken): read and reported once.
printf '[Voices]\r\nMaleSlot=%s\r\nFemaleSlot=%s\r\n' "$work/voice" "$work/voice" \
  >"$XDG_CONFIG_HOME/yomi6.ini"
"$yomi6" --voice female --speed 180 --wav both.wav text.txt 2>both.err
check "both slots: one line" '[ "$(wc -l <both.err)" -eq 1 ] && grep -q "2 units unusable" both.err'

# A stored name that is no Shift-JIS text is shown with escapes, not as an empty name.
printf '[Voices]\r\nFemaleSlot=%s/\x81\xff\r\n' "$work" >"$XDG_CONFIG_HOME/yomi6.ini"
"$yomi6" --voice female --speed 180 --wav undecodable.wav text.txt 2>undecodable.err
check "undecodable name: status 0, one line with escapes" \
  '[ $? -eq 0 ] && [ "$(wc -l <undecodable.err)" -eq 1 ] && grep -qF "voice folder $work/\x81\xFF: " undecodable.err'
check "undecodable name: the built-in voice" 'cmp -s undecodable.wav builtin.wav'

# A file where the folder should be says what it is, once.
settings "$work/text.txt"
"$yomi6" --voice female --speed 180 --wav file.wav text.txt 2>file.err
check "a file for a folder: said what it is" \
  'grep -qx "yomi6: voice folder $work/text.txt: it is not a folder but a regular file; the built-in voice speaks instead" file.err'

# The slot given the built-in male voice by name.
settings male
"$yomi6" --voice female --speed 180 --wav swapped.wav text.txt
check "female slot speaking the male voice" 'cmp -s swapped.wav male-none.wav'

checks_done cli_voice_folder
