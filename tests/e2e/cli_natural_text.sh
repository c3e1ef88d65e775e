#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034 # the checks are strings evaluated later
# What the natural voice says is what the program reads, as whole processes with the real
# engine: Aozora notation read as the book (--aozora), numbers, words read by their context and
# characters beyond JIS X 0208 as the reading pane has them, characters outside code page 932 of
# a UTF-8 file read in their common form and shown as written in the subtitles, and long lines
# said whole.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
export YOMI6_NATURAL_VOICE_DIR="$2"
files=$(realpath "$3")
enter_scratch_folder
# The readings compared are IPADIC's, the dictionary every installation has.
export YOMI6_MECAB_DIC=/var/lib/mecab/dic/ipadic-utf8
tab=$'\t'

# The morae of a --units output, pauses left out, on one line.
morae() { awk -F'\t' '$1 != "-" { printf "%s", $1 } END { print "" }' "$1"; }

# Aozora notation: the ruby said for its base and not after it, notes and the colophon silent.
printf '吾輩《わがはい》は猫である。［＃「猫」に傍点］\r\n底本：「猫」\r\n' | iconv -f utf-8 -t cp932 >a.txt
"$yomi6" --units a.txt --engine natural --aozora on >a.on 2>a.err
check "aozora: status, nothing on standard error" '[ $? -eq 0 ] && [ ! -s a.err ]'
check "aozora: the base said as its ruby, once" '[ "$(morae a.on)" = "ワガハイワネコデアル" ]'
check "aozora: the ruby's morae cover its base" \
  '[ "$(grep -c "${tab}0${tab}4${tab}吾輩${tab}" a.on)" -eq 4 ]'
check "aozora: no unit covers the notation or the colophon" \
  '! cut -f4 a.on | grep -q "[《》［］＃]\|わがはい\|傍点\|底本"'
"$yomi6" --units a.txt --engine natural --aozora off >a.off
check "aozora off: the notation is said" 'grep -q "${tab}わがはい${tab}" a.off'
"$yomi6" --units a.txt --engine natural >a.auto
check "aozora auto: found in the text" 'cmp -s a.auto a.on'
"$yomi6" --units a.txt --engine natural --aozora on --readings dictionary >a.dic
check "the dictionary reading ignores --aozora" 'cmp -s a.dic a.off'
"$yomi6" --export a.wav --subtitles a.srt a.txt --engine natural 2>ax.err
check "aozora export: the cue shows the text as printed, the colophon none" \
  '[ ! -s ax.err ] && [ "$(grep -c " --> " a.srt)" -eq 1 ] && grep -qx "吾輩は猫である。" a.srt'

# A word given a ruby is said by it where it recurs without one, forty lines later too, as the
# reading pane reads it; not before the ruby.
python3 -c 'import sys
sys.stdout.buffer.write(("故郷を出た。故郷《ふるさと》の山。\r\n" + "雨が降る日は、家で本を読みます。\r\n" * 40
                         + "故郷は遠い。\r\n").encode("cp932"))' >rr.txt
"$yomi6" --units rr.txt --engine natural --aozora on >rr.units 2>rr.err
check "recurring ruby: said by its ruby after it, and forty lines later ($(morae rr.units | tail -c 40))" \
  '[ ! -s rr.err ] && morae rr.units | grep -q "^コキョ.*フルサトノヤマ.*フルサトワトーイ$"'

# A gaiji said as the character it names (鷗, in its common form), a ruby after ｜, and the cue
# as printed.
printf '森※［＃「區＋鳥」、第3水準1-94-69］外の｜丹塗《にぬり》の柱。\r\n' | iconv -f utf-8 -t cp932 >g.txt
"$yomi6" --units g.txt --engine natural >g.units 2>g.err
check "gaiji: said, and the ruby after the bar" '[ ! -s g.err ] && [ "$(morae g.units)" = "モリオーガイノニヌリノハシラ" ]'
check "gaiji: its morae cover the note" 'grep -q "^ガ${tab}2${tab}[0-9]*${tab}※［＃「區＋鳥」、第3水準1-94-69］" g.units'
"$yomi6" --export g.wav --subtitles g.srt g.txt --engine natural
check "gaiji: the cue shows the character" 'grep -qx "森鷗外の丹塗の柱。" g.srt'

# A whole test file: nothing of its notation is said.
"$yomi6" --units "$files/rashomon.txt" --engine natural >r.units 2>r.err
check "rashomon: status" '[ $? -eq 0 ] && [ ! -s r.err ]'
check "rashomon: no unit reads the notation" \
  '! cut -f4 r.units | sed "s/※［＃[^］]*］//g" | grep -q "[《》［］｜〔〕]\|底本\|入力"'

# Numbers and words read by the words beside them, and characters beyond JIS X 0208 (code page
# 932 has them), as the reading pane says them: the morae spell the reading.
printf '二三人、五六寸、都に上る。髙橋さん、﨑山㈱、3㌔、①、Ⅱ、㍉。' | iconv -f utf-8 -t cp932 >n.txt
"$yomi6" --units n.txt --engine natural >n.units 2>n.err
"$yomi6" --reading n.txt --readings auto | iconv -f cp932 -t utf-8 |
  python3 -c 'import sys, unicodedata; print("".join(c for c in unicodedata.normalize("NFKC", sys.stdin.read()) if "\u30a1" <= c <= "\u30fc"))' >n.reading
check "numbers, context, extension characters: status" '[ ! -s n.err ]'
check "numbers, context, extension characters: the morae spell the reading pane's reading" \
  '[ "$(morae n.units)" = "$(cat n.reading)" ] && [ "$(wc -c <n.reading)" -gt 100 ]'

# Characters outside code page 932 in a UTF-8 file: read in their common form (鷗 as 鴎, 𠮟 as
# 叱, 𠮷 as 吉) by both voices, and shown as written in the subtitles.
printf '森鷗外に𠮟られた𠮷野家。\n' >u.txt
"$yomi6" --units u.txt --engine natural >u.units 2>u.err
check "utf-8: status" '[ $? -eq 0 ] && [ ! -s u.err ]'
check "utf-8: 鷗, 𠮟 and 𠮷 are said" '[ "$(morae u.units)" = "モリオーガイニシカラレタヨシノヤ" ]'
check "utf-8: their morae cover them" \
  'grep -q "^オ${tab}2${tab}6${tab}" u.units && grep -q "^シ${tab}8${tab}1[02]${tab}" u.units &&
   grep -q "^ヨ${tab}16${tab}1[8-9]${tab}\|^ヨ${tab}16${tab}2[0-2]${tab}" u.units'
"$yomi6" --units u.txt --readings auto >u.samples
check "utf-8: the sample voices say them too" \
  'grep -q "^IDF_O${tab}" u.samples && grep -q "^IDF_SI${tab}" u.samples && grep -q "^IDF_YO${tab}" u.samples'
for engine in natural samples; do
  "$yomi6" --export "u-$engine.wav" --subtitles "u-$engine.srt" u.txt --engine "$engine" --readings auto
  check "utf-8 export ($engine): the subtitles show the characters as written" \
    'grep -qx "森鷗外に𠮟られた𠮷野家。" "u-$engine.srt"'
done

# Long lines: the engine reads only the first 1,022 bytes of its input and overflows its buffer
# on a line whose ASCII it widens, so a chunk's engine text is cut into runs that it reads whole.
python3 -c 'print("abcdefghijklmnopqrst" * 10)' >l.txt
"$yomi6" --units l.txt --engine natural >l.units 2>l.err
check "200 letters: every letter is said, the last one too" \
  '[ ! -s l.err ] && [ "$(awk -F"\t" "\$1 != \"-\" && \$3 - \$2 == 1 { print \$2 }" l.units | sort -u | wc -l)" -eq 200 ]'
python3 -c 'print("abc def " * 100)' >s.txt
"$yomi6" --units s.txt --engine natural >s.units 2>s.err
check "abc def ...: status, nothing skipped, every letter said" \
  '[ $? -eq 0 ] && [ ! -s s.err ] && [ "$(awk -F"\t" "\$1 != \"-\" && \$3 - \$2 == 1 { print \$2 }" s.units | sort -u | wc -l)" -eq 600 ]'
printf 'https://example.com/%s\n' "$(python3 -c 'print("path/" * 60)')" >url.txt
"$yomi6" --export url.wav --subtitles url.srt url.txt --engine natural 2>url.err
status=$?
"$yomi6" --units url.txt --engine natural >url.units
# Each path is said as the English word (パス), so every one of the 60 is heard.
check "a long URL: said without a skipped chunk" \
  '[ $status -eq 0 ] && [ ! -s url.err ] && [ "$(awk -F"\t" "\$1 == \"パ\"" url.units | wc -l)" -eq 60 ] &&
   [ "$(soxi -D url.wav | cut -d. -f1)" -gt 20 ]'

checks_done cli_natural_text
