#!/usr/bin/env bash
# The kana voice folders shipped in voices/ (tohoku-f01-kana and its lower variant): yomi6
# --check-voice finds all 141 units usable; every file has the format, length and level of a
# unit (shaped like the built-in samples, the pause as long as theirs); regenerating some of
# their units with tools/make_kana_voice.py gives the same bytes; and --wav with the folder
# chosen for a slot speaks it, one tick per unit.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
source_dir=$(realpath "$2")
enter_scratch_folder
mkdir -p "$XDG_CONFIG_HOME"

for name in tohoku-f01-kana tohoku-f01-kana-low; do
  kana="$source_dir/voices/$name"
  "$yomi6" --check-voice "$kana" >check.out 2>check.err
  check "$name: --check-voice: status 0" '[ $? -eq 0 ]'
  check "$name: --check-voice: all usable" \
    'grep -qx "Units: 141 (141 usable, 0 missing, 0 unusable)" check.out || cat check.out'
  check "$name: --check-voice: nothing ignored, nothing on stderr" \
    '! grep -q "^Ignored" check.out && [ ! -s check.err ]'
  check "$name: the folder credits the voice and says it was changed" \
    'grep -q "tohoku-f01" "$kana/README.md" && grep -q "CC BY 4.0" "$kana/README.md" &&
     grep -q "changed from" "$kana/README.md"'

  # Format, length, level and ends of every unit, against the built-in female samples.
  verdict=$(python3 - "$kana" "$source_dir/resources/samples" <<'PY'
import array, glob, math, os, statistics, sys, wave
folder, builtin = sys.argv[1:3]
def frames(path):
    with wave.open(path) as w:
        raw = w.readframes(w.getnframes())
        if w.getsampwidth() == 1:
            return w, [(b - 128) / 128 for b in raw]
        return w, [x / 32768 for x in array.array("h", raw)]
def rms(x):
    return 20 * math.log10(math.sqrt(sum(v * v for v in x) / len(x)))
reference = statistics.median(
    rms(frames(p)[1]) for p in glob.glob(os.path.join(builtin, "IDF_*.wav"))
    if not p.endswith("IDF_S.wav"))
bad = []
for path in sorted(glob.glob(os.path.join(folder, "*.wav"))):
    name = os.path.basename(path)
    w, x = frames(path)
    if (w.getnchannels(), w.getsampwidth(), w.getframerate()) != (1, 2, 22050):
        bad.append(f"{name}: format")
        continue
    seconds = len(x) / 22050
    if name == "S.wav":
        _, pause = frames(os.path.join(builtin, "IDF_S.wav"))
        if any(x) or abs(seconds - len(pause) / 8000) > 1 / 22050:
            bad.append(f"{name}: not silence as long as the built-in pause")
        continue
    if not 0.06 <= seconds <= 0.175:
        bad.append(f"{name}: {seconds:.3f} s")
    if abs(rms(x) - reference) > 2:
        bad.append(f"{name}: {rms(x):.1f} dBFS against {reference:.1f}")
    if abs(x[0]) > 0.01 or abs(x[-1]) > 0.01 or max(map(abs, x)) >= 1:
        bad.append(f"{name}: starts, ends or peaks on a step")
print(" ".join(bad) if bad else "ok")
PY
  )
  check "$name: every unit shaped and levelled like the built-in samples ($verdict)" '[ "$verdict" = ok ]'
done

# Regenerating: a plain unit, one said again faster (SHE), the moraic N, a two-vowel unit, the
# pause and the README give the same bytes as the shipped folder.
if [ -x /usr/bin/open_jtalk ] && [ -d /var/lib/mecab/dic/open-jtalk/naist-jdic ]; then
  python3 "$source_dir/tools/make_kana_voice.py" --only KA,SHE,NN,UXA,S "$work/again" \
    >again.out 2>again.err
  check "regenerating: status 0" '[ $? -eq 0 ] || cat again.err'
  for f in KA.wav SHE.wav NN.wav UXA.wav S.wav README.md; do
    check "regenerating: $f has the same bytes" 'cmp -s "$work/again/$f" "$source_dir/voices/tohoku-f01-kana/$f"'
  done
  check "regenerating: only the units asked for" '[ "$(ls "$work/again" | wc -l)" -eq 6 ]'
  check "regenerating: no staging folder left" '[ -z "$(ls -A "$work" | grep "^\.again")" ]'
  # A voice open_jtalk cannot load: one message, and the folder it was to replace unchanged.
  cp -r "$source_dir/voices/tohoku-f01-kana" kept
  echo "not a voice" >bad.htsvoice
  python3 "$source_dir/tools/make_kana_voice.py" --voice bad.htsvoice --only KA "$work/kept" \
    >bad.out 2>bad.err
  check "a bad voice: status 1, said on stderr" \
    '[ $? -eq 1 ] && grep -q "^make_kana_voice.py: open_jtalk on カ: exit status" bad.err'
  check "a bad voice: the old folder as it was, no staging folder left" \
    'diff -r kept "$source_dir/voices/tohoku-f01-kana" >/dev/null && [ -z "$(ls -A | grep "^\.kept")" ]'
  # The lower variant: the same rules with the pitch and the all-pass constant changed.
  python3 "$source_dir/tools/make_kana_voice.py" --half-tones -5 --all-pass 0.6 --only KA,S \
    "$work/low" >low.out 2>low.err
  check "regenerating the lower variant: status 0" '[ $? -eq 0 ] || cat low.err'
  for f in KA.wav S.wav README.md; do
    check "regenerating the lower variant: $f has the same bytes" \
      'cmp -s "$work/low/$f" "$source_dir/voices/tohoku-f01-kana-low/$f"'
  done
else
  echo "FAIL: open_jtalk or its dictionary is missing (tools/install-deps.sh installs them)"
  failures=$((failures + 1))
fi

# --wav with the folder chosen for the female slot: ｶﾞｷﾞｸﾞｹﾞｺﾞ is five ticks and the end, each
# speed ms at 16 kHz; the first tick is the folder's GA (converted independently by sox).
printf '[Voices]\r\nFemaleSlot=%s\r\n' "$source_dir/voices/tohoku-f01-kana" >"$XDG_CONFIG_HOME/yomi6.ini"
printf '\xb6\xde\xb7\xde\xb8\xde\xb9\xde\xba\xde\r\n' >text.txt
speed=190
# shellcheck disable=SC2034 # read by a check condition
ticks=$("$yomi6" --speed "$speed" --schedule text.txt | wc -l)
"$yomi6" --voice female --speed "$speed" --wav folder.wav text.txt 2>folder.err
check "--wav: status 0, nothing on stderr" '[ $? -eq 0 ] && [ ! -s folder.err ]'
check "--wav: six ticks" '[ "$ticks" -eq 6 ]'
check "--wav: frames = ticks x tick length" \
  '[ "$(soxi -s folder.wav)" -eq $(((ticks - 1) * speed * 16)) ]'
XDG_CONFIG_HOME="$work/none" "$yomi6" --voice female --speed "$speed" --wav builtin.wav text.txt
sox "$source_dir/voices/tohoku-f01-kana/GA.wav" -r 16000 -c 1 -b 8 -e unsigned-integer expected_ga.wav
verdict=$(python3 - folder.wav builtin.wav expected_ga.wav "$speed" <<'PY'
import sys, wave
def data(p):
    with wave.open(p) as w:
        return w.readframes(w.getnframes())
out, ref, ga = (data(p) for p in sys.argv[1:4])
n = min(len(ga), int(sys.argv[4]) * 16) - 64  # short of the fade before the next tick
folder = max(abs(out[i] - ga[i]) for i in range(n))
builtin = max(abs(out[i] - ref[i]) for i in range(n))
print("folder" if folder <= 3 and builtin > 20 else f"not-folder({folder},{builtin})")
PY
)
check "--wav: the first tick is the folder's GA ($verdict)" '[ "$verdict" = folder ]'

checks_done kana_voice
