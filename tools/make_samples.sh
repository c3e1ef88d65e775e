#!/usr/bin/env bash
# Regenerates the 282 voice samples in resources/samples: every syllable of the male ("IDW_")
# and the female ("IDF_") voice is synthesized on its own by espeak-ng's Japanese voice and
# shaped by sox (one loudness, silence trimmed, resampled, 8-bit unsigned). The
# WAVE header is written here, so that each file is exactly "RIFF", "WAVE", a 16-byte "fmt "
# chunk and "data" with nothing else.
#
# Usage: tools/make_samples.sh [OUTPUT_DIR]   writes the samples (default: resources/samples)
#        tools/make_samples.sh --phonemes       lists what espeak-ng will say for each syllable,
#                                               to check the table below by eye
# Needs: espeak-ng and sox (Debian: apt-get install espeak-ng sox). The result is the same on
# every run with the same package versions.
set -euo pipefail
# Numbers are printed and read with a decimal point, whatever the user's locale.
export LC_ALL=C

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/resources/samples}"
list_phonemes=0
if [ "${1:-}" = --phonemes ]; then
  list_phonemes=1
fi

for tool in espeak-ng sox; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "make_samples.sh: $tool is missing; install it with: apt-get install espeak-ng sox" >&2
    exit 1
  fi
done

# --- Voice settings ------------------------------------------------------------------------
# espeak-ng voice, pitch (-p, 0-99) and speed (-s, words per minute) per voice. The variants
# chosen have neither echo nor breath noise, which would turn into hiss at 8 bits.
male_voice="ja+m3"
male_pitch=55
male_speed=190
female_voice="ja+f1"
female_pitch=70
female_speed=210
# Loudness: every syllable is brought to the same RMS level (dBFS), a limiter keeping the peaks
# below full scale; the ends are trimmed where the level first and last exceeds trim_level.
rms_db=-15
trim_level="4.5%"
# Shape in time: the sample rises over lead_in_us microseconds before the sound passes
# trim_level, holds the syllable's first core_ms at full level and then decays over the rest,
# min_decay_ms at least. A take longer than max_take_ms is said again speed_step words per
# minute faster, up to max_speed, so that consonant and vowel fall in the held part.
lead_in_us=1000
core_ms=120
min_decay_ms=40
max_take_ms=175
speed_step=10
max_speed=400

# The 11 female samples kept at 11025 Hz (their hiss and bursts want the wider band); every
# other sample is 8000 Hz.
wide_female=" PA PI PU PO SA SI SU SHA SHU SHE SHO "

# --- What each syllable is fed to espeak-ng --------------------------------------------------
# Full-width katakana where espeak-ng's Japanese rules say the syllable right. Where they do
# not (they drop a small ェ, read テャ as "te-a", add a vowel after リャ, read ウァ as "u"),
# the syllable is given as espeak-ng phonemes in [[...]]. Kana that standard Japanese says
# exactly like another kana (ヂ like ジ, ヅ like ズ, ヲ like オ) are spoken with a trailing
# "、": the same sound, but their own take with a continuing intonation. A lone ン is a short
# murmur in espeak-ng, so NN is ンン: one moraic n held about as long as the other syllables.
syllables=(
  # three-byte units
  GYA ギャ  GYU ギュ  GYE "[[g_j'e]]"  GYO ギョ
  JA ジャ  JU ジュ  JE ジェ  JO ジョ
  DHA "[[d_j'a]]"  DHI ディ  DHU デュ  DHE "[[d_j'e]]"  DHO "[[d_j'o]]"
  DWU ドゥ
  BYA ビャ  BYU ビュ  BYE "[[b_j'e]]"  BYO ビョ
  PYA ピャ  PYU ピュ  PYE "[[p_j'e]]"  PYO ピョ
  VA ヴァ  VI ヴィ  VE ヴェ  VO ヴォ
  # two-byte units
  KYA キャ  KYU キュ  KYE "[[k_j'e]]"  KYO キョ
  SHA シャ  SHU シュ  SHE シェ  SHO ショ
  CHA チャ  CHU チュ  CHE チェ  CHO チョ
  THA "[[t_j'a]]"  THI ティ  THU テュ  THE "[[t_j'e]]"  THO "[[t_j'o]]"
  TWU トゥ
  NYA ニャ  NYU ニュ  NYE "[[n_j'e]]"  NYO ニョ
  HYA ヒャ  HYU ヒュ  HYE "[[C'e]]"  HYO ヒョ
  FA ファ  FI フィ  FE フェ  FO フォ
  MYA ミャ  MYU ミュ  MYE "[[m_j'e]]"  MYO ミョ
  RYA "[[r\`_j'a]]"  RYU "[[r\`_j'u]]"  RYE "[[r\`_j'e]]"  RYO "[[r\`_j'o]]"
  GA ガ  GI ギ  GU グ  GE ゲ  GO ゴ
  ZA ザ  ZI ジ  ZU ズ  ZE ゼ  ZO ゾ
  DA ダ  DI ヂ、  DU ヅ、  DE デ  DO ド
  BA バ  BI ビ  BU ブ  BE ベ  BO ボ
  PA パ  PI ピ  PU プ  PE ペ  PO ポ
  UXA "[[u'a]]"  UXI ウィ  UXE ウェ  UXO ウォ
  VU ヴ
  # one-byte units
  A ア  I イ  U ウ  E エ  O オ
  KA カ  KI キ  KU ク  KE ケ  KO コ
  SA サ  SI シ  SU ス  SE セ  SO ソ
  TA タ  TI チ  TU ツ  TE テ  TO ト
  NA ナ  NI ニ  NU ヌ  NE ネ  NO ノ
  HA ハ  HI ヒ  HU フ  HE ヘ  HO ホ
  MA マ  MI ミ  MU ム  ME メ  MO モ
  YA ヤ  YU ユ  YO ヨ
  RA ラ  RI リ  RU ル  RE レ  RO ロ
  WA ワ  WO ヲ、  NN ンン
)

# --- Helpers ---------------------------------------------------------------------------------
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# byte N prints one raw byte; le16 and le32 print a little-endian 16- or 32-bit number.
byte() { printf '%b' "\\0$(printf '%03o' "$1")"; }
le16() { byte $(($1 & 255)); byte $(($1 >> 8 & 255)); }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }

# write_wave RAW RATE TARGET: wraps 8-bit unsigned mono samples in the 44-byte header and
# moves the result into place only when complete.
write_wave() {
  local raw="$1" rate="$2" target="$3"
  local n
  n=$(stat -c %s "$raw")
  {
    printf 'RIFF'
    le32 $((n + 36))
    printf 'WAVEfmt '
    le32 16
    le16 1          # PCM
    le16 1          # one channel
    le32 "$rate"    # sample rate
    le32 "$rate"    # byte rate: one byte per sample
    le16 1          # block alignment
    le16 8          # bits per sample
    printf 'data'
    le32 "$n"
    cat "$raw"
  } >"$target.tmp"
  mv "$target.tmp" "$target"
}

# level_take VOICE PITCH SPEED TEXT RATE: one take of the syllable at that espeak-ng speed,
# leveled and resampled, into $work/level.wav (32-bit float at RATE). It starts one lead-in
# (see below) before the sound first exceeds trim_level, or at the take's first sample, and
# ends where the sound last exceeds trim_level. Prints the take's length in samples.
level_take() {
  local voice="$1" pitch="$2" speed="$3" text="$4" rate="$5"
  # sox runs without dither (-D) and keeps 32-bit float between the steps: silence stays
  # exactly 128 and every run gives the same bytes.
  espeak-ng -v "$voice" -p "$pitch" -s "$speed" -w "$work/syl.wav" "$text"
  # 1. Remove rumble, level the peak, cut the silence espeak-ng puts around the syllable.
  sox -D "$work/syl.wav" -e floating-point -b 32 "$work/cut.wav" highpass 70 norm -1 \
    silence 1 0.002 1% reverse silence 1 0.002 1% reverse
  # 2. Bring the RMS level to rms_db and resample (the resampler band-limits).
  local rms gain
  rms=$(sox "$work/cut.wav" -n stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }')
  gain=$(awk -v r="$rms" -v t="$rms_db" 'BEGIN { printf "%.2f", t - 20 * log(r) / log(10) }')
  sox -D "$work/cut.wav" -r "$rate" "$work/rated.wav" gain -l "$gain" rate -v "$rate"
  # 3. Trim at the final level and rate, keeping the lead-in before the sound (a plosive's
  #    burst included), so that the sample can rise from silence instead of starting on a
  #    step; the end goes where the sound last exceeds trim_level.
  local total started lead begin
  sox -D "$work/rated.wav" "$work/started.wav" silence 1 0.0005 "$trim_level"
  total=$(soxi -s "$work/rated.wav")
  started=$(soxi -s "$work/started.wav")
  lead=$((rate * lead_in_us / 1000000))
  begin=$((total - started - lead))
  if [ "$begin" -lt 0 ]; then
    begin=0
  fi
  sox -D "$work/rated.wav" "$work/level.wav" trim "${begin}s" \
    reverse silence 1 0.0005 "$trim_level" reverse
  soxi -s "$work/level.wav"
}

# make_syllable PREFIX VOICE PITCH SPEED SUFFIX TEXT
make_syllable() {
  local prefix="$1" voice="$2" pitch="$3" speed="$4" suffix="$5" text="$6"
  local rate=8000
  if [ "$prefix" = IDF_ ] && [[ "$wide_female" == *" $suffix "* ]]; then
    rate=11025
  fi
  # A take longer than max_take is said again faster: first at the speed that would fit if
  # the length went with the inverse of the speed (it falls faster than that, so this mostly
  # fits), then speed_step faster at a time. Consonant and vowel then sit in the held part.
  local n max
  max=$((rate * max_take_ms / 1000))
  n=$(level_take "$voice" "$pitch" "$speed" "$text" "$rate")
  if [ "$n" -gt "$max" ]; then
    speed=$(((speed * n / max + speed_step - 1) / speed_step * speed_step))
    speed=$((speed < max_speed ? speed : max_speed))
    n=$(level_take "$voice" "$pitch" "$speed" "$text" "$rate")
  fi
  while [ "$n" -gt "$max" ] && [ "$speed" -lt "$max_speed" ]; do
    speed=$((speed + speed_step))
    n=$(level_take "$voice" "$pitch" "$speed" "$text" "$rate")
  done
  # 4. Rise over the lead-in; hold the sound for its first core_ms; then let the tail decay on
  #    a half cosine to silence (at least min_decay_ms of it), and store as 8 bits. A take
  #    that stays too long however fast it is said (a held ン) is cut to max_take before.
  local len fade_in fade_out core min_decay
  len=$((n < max ? n : max))
  fade_in=$((rate * lead_in_us / 1000000))
  core=$((rate * core_ms / 1000))
  min_decay=$((rate * min_decay_ms / 1000))
  fade_out=$((len - core))
  if [ "$fade_out" -lt "$min_decay" ]; then
    fade_out=$min_decay
  fi
  sox -D "$work/level.wav" -t raw -e unsigned-integer -b 8 -c 1 "$work/syl.raw" \
    trim 0 "${len}s" fade h "${fade_in}s" "${len}s" "${fade_out}s"
  write_wave "$work/syl.raw" "$rate" "$out/$prefix$suffix.wav"
}

# The pause: 2036 bytes of near-silence, 128 with a faint dither of +-2 drawn from a fixed
# linear congruential sequence, so that every run and every shell gives the same bytes.
make_pause() {
  local raw="$work/pause.raw"
  local bytes="" i x=1955
  for ((i = 0; i < 2036; i++)); do
    x=$(((x * 1103515245 + 12345) % 2147483648))
    case $((x >> 16 & 7)) in
      0) bytes+='\x7e' ;;
      1) bytes+='\x82' ;;
      *) bytes+='\x80' ;;
    esac
  done
  printf '%b' "$bytes" >"$raw"
  write_wave "$raw" 8000 "$out/IDW_S.wav"
  cp "$out/IDW_S.wav" "$out/IDF_S.wav.tmp"
  mv "$out/IDF_S.wav.tmp" "$out/IDF_S.wav"
}

# --- Run -------------------------------------------------------------------------------------
if [ "$list_phonemes" = 1 ]; then
  for ((i = 0; i < ${#syllables[@]}; i += 2)); do
    printf '%-4s %-14s %s\n' "${syllables[i]}" "${syllables[i + 1]}" \
      "$(espeak-ng -v ja -q -x "${syllables[i + 1]}")"
  done
  exit 0
fi

mkdir -p "$out"
count=0
for ((i = 0; i < ${#syllables[@]}; i += 2)); do
  suffix="${syllables[i]}"
  text="${syllables[i + 1]}"
  make_syllable IDW_ "$male_voice" "$male_pitch" "$male_speed" "$suffix" "$text"
  make_syllable IDF_ "$female_voice" "$female_pitch" "$female_speed" "$suffix" "$text"
  count=$((count + 2))
done
make_pause
count=$((count + 2))
echo "make_samples.sh: wrote $count samples to $out"
