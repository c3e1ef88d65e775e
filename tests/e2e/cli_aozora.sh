#!/usr/bin/env bash
# Aozora notation on the command line: golden --units and --reading outputs of the test files
# (Shift-JIS, CR LF), --aozora auto|on|off, the settings' switch as the default, and export
# subtitles without the notation.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
files=$(realpath "$2")
enter_scratch_folder
# The golden outputs are IPADIC's readings, the dictionary every installation has.
export YOMI6_MECAB_DIC=/var/lib/mecab/dic/ipadic-utf8

for text in "$files"/*.txt; do
  name=$(basename "$text" .txt)
  "$yomi6" --units "$text" --readings auto >"$name.units" 2>"$name.err"
  check "$name: --units status" '[ $? -eq 0 ] && [ ! -s "$name.err" ]'
  check "$name: --units as the golden output" 'cmp -s "$name.units" "$files/$name.units.expected"'
  "$yomi6" --reading "$text" --readings auto >"$name.reading"
  check "$name: --reading as the golden output" 'cmp -s "$name.reading" "$files/$name.reading.expected"'
  "$yomi6" --units "$text" --readings auto --aozora on >"$name.on"
  check "$name: --aozora on reads as auto does here" 'cmp -s "$name.on" "$name.units"'
  "$yomi6" --units "$text" --readings auto --aozora off >"$name.off"
  check "$name: --aozora off reads the notation" '[ "$(wc -l <"$name.off")" -gt "$(wc -l <"$name.units")" ]'
  "$yomi6" --units "$text" --readings dictionary >"$name.dic"
  "$yomi6" --units "$text" --readings dictionary --aozora on >"$name.dicon"
  check "$name: the dictionary reading ignores --aozora" 'cmp -s "$name.dic" "$name.dicon"'
done

# Nothing of the notation sounds: no unit's source text holds a bracket of it or the colophon.
# (A gaiji inside a ruby's base is part of the base's source text.)
check "no unit reads the notation" '! cut -f4 rashomon.units | sed "s/※［＃[^］]*］//g" | grep -q "[《》［］｜〔〕]\|底本\|入力"'
check "the title is read" '[ "$(head -1 rashomon.units | cut -f4)" = "羅生門" ]'

# auto reads a text without notation as off does; on finds it even so.
printf '本《ほん》を読む' | iconv -f utf-8 -t cp932 >plain.txt
"$yomi6" --units plain.txt --readings auto --aozora on >plain.on
"$yomi6" --units plain.txt --readings auto >plain.auto
check "auto: a ruby is notation" 'cmp -s plain.on plain.auto'
printf '《書名》を読む' | iconv -f utf-8 -t cp932 >book.txt
"$yomi6" --units book.txt --readings auto >book.auto
"$yomi6" --units book.txt --readings auto --aozora off >book.off
"$yomi6" --units book.txt --readings auto --aozora on >book.on
check "auto: brackets after no kanji are text" 'cmp -s book.auto book.off && ! cmp -s book.auto book.on'

# The settings' switch is the default; --aozora beats it.
mkdir -p config
printf '[よみあげPadのセッティング]\r\n青空文庫の注記を読まない=0\r\n' | iconv -f utf-8 -t cp932 >config/yomi6.ini
"$yomi6" --units "$files/neko.txt" --readings auto >ini.off
check "settings: unchecked reads everything" 'cmp -s ini.off neko.off'
"$yomi6" --units "$files/neko.txt" --readings auto --aozora auto >ini.auto
check "settings: --aozora beats them" 'cmp -s ini.auto neko.units'
rm -r config

# Usage errors.
"$yomi6" --units plain.txt --aozora maybe >/dev/null 2>bad.err
check "a bad --aozora: status 2 and a message" '[ $? -eq 2 ] && grep -q "aozora" bad.err'

# Export: subtitles show the text as printed; no tick reads the colophon.
"$yomi6" --export r.wav --subtitles r.srt --timings r.json --readings auto "$files/rashomon.txt" 2>export.err
check "export: status" '[ $? -eq 0 ]'
check "export: subtitles without notation" '! grep -q "[《》［］｜]\|底本" r.srt && grep -q "下人が、羅生門の下で雨やみを待っていた。" r.srt'
check "export: the gaiji and the accent as printed" 'grep -q "挘るように梯子を上った。" r.srt && grep -q "Café de Paris" r.srt'
python3 - "$files/rashomon.txt" r.json >colophon.out <<'PY'
import json, sys
colophon = open(sys.argv[1], "rb").read().index("\r\n底本：".encode("cp932")) + 2
units = json.load(open(sys.argv[2]))["units"]
print(len(units), sum(1 for u in units if u["source"][1] > colophon))
PY
check "export: units, none in the colophon" '[ "$(cut -d" " -f2 colophon.out)" = 0 ] && [ "$(cut -d" " -f1 colophon.out)" -gt 100 ]'

# Hostile lines: a line of about 1 MB of a mark that opens notation and that nothing on it
# closes (［＃, 《, 〔, ※［＃, a gaiji note of 水準 without a code) is found to be no notation,
# or is parsed after a line that is, in time that grows with its length: a short export of each
# ends well within a limit that a scan growing with the square of the line took minutes past.
python3 - <<'PY'
line = {"note": "［＃", "ruby": "《", "accent": "〔", "gaiji": "※［＃"}
for name, mark in line.items():
    unit = mark.encode("cp932")
    marks = unit * ((1 << 20) // len(unit))
    open(f"hostile-{name}.txt", "wb").write("あ".encode("cp932") + marks)
    open(f"hostile-parsed-{name}.txt", "wb").write("本《ほん》\r\n".encode("cp932") + marks)
level = "※［＃".encode("cp932") + "水準".encode("cp932") * (1 << 18) + "］".encode("cp932")
open("hostile-level.txt", "wb").write("本《ほん》\r\n".encode("cp932") + level)
PY
for text in hostile-*.txt; do
  timeout 30 "$yomi6" --export "$text.wav" --to 10 --readings auto "$text" 2>"$text.err"
  check "$text: a 10-byte export within 30 s" '[ $? -eq 0 ] && [ -s "$text.wav" ]'
done

checks_done cli_aozora
