#!/usr/bin/env bash
# yomi6 --units as a whole process: one line per tick with the sample, the source byte range and
# the source text; both reading modes; options; errors.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
enter_scratch_folder
# The units below are the dictionary reading's, up to the checks of the reading modes.
choose_dictionary_reading

tab=$'\t'

# 漢字 (a built-in word: three units from source bytes 0-4), っ (a silent tick), CR LF (no
# tick), キャ (one unit), the tick past the end (an empty range at the end).
printf '漢字っ\r\nキャ' | iconv -f utf-8 -t cp932 >k.txt
"$yomi6" --units k.txt >u.out 2>u.err
check "units: status" '[ $? -eq 0 ] && [ ! -s u.err ]'
# shellcheck disable=SC2034 # read by a check condition
expected="IDF_KA${tab}0${tab}4${tab}漢字
IDF_NN${tab}0${tab}4${tab}漢字
IDF_ZI${tab}0${tab}4${tab}漢字
-${tab}4${tab}6${tab}っ
IDF_KYA${tab}8${tab}12${tab}キャ
-${tab}12${tab}12${tab}"
check "units: one line per tick with its source" '[ "$(cat u.out)" = "$expected" ]'
"$yomi6" --schedule k.txt >s.out
check "units: the same ticks as --schedule" '[ "$(cut -f1 u.out)" = "$(cat s.out)" ]'
"$yomi6" --units k.txt --voice male >m.out
check "units: --voice" '[ "$(head -1 m.out)" = "IDW_KA${tab}0${tab}4${tab}漢字" ]'
"$yomi6" --units - --readings dictionary <k.txt >stdin.out
check "units: standard input, --readings dictionary" 'cmp -s stdin.out u.out'

# Control bytes and the backslash are escaped, so that every line keeps four fields.
# shellcheck disable=SC1003 # printf makes \t a tab and \\ one backslash
printf 'a\tb\\' >ctl.txt
"$yomi6" --units ctl.txt >ctl.out
check "units: tab and backslash escaped" '[ "$(sed -n 3p ctl.out)" = "-${tab}1${tab}2${tab}\\t" ] && [ "$(sed -n 6p ctl.out)" = "-${tab}3${tab}4${tab}\\\\" ]'
check "units: four fields on every line" '[ -z "$(awk -F"\t" "NF != 4" ctl.out)" ]'

# A user word from the dictionary named on the command line maps to the whole word.
python3 - <<'PY'
word = "日本語".encode("cp932").ljust(13, b"\0")
yomi = "ﾆﾎﾝｺﾞ".encode("cp932").ljust(21, b"\0")
open("user.dic", "wb").write(word + yomi + b"\0" * (34 * 9998))
PY
printf '日本語' | iconv -f utf-8 -t cp932 >w.txt
"$yomi6" --units w.txt --dictionary user.dic >w.out
check "units: a user word" '[ "$(cut -f2-4 w.out | head -4 | sort -u)" = "0${tab}6${tab}日本語" ] && [ "$(wc -l <w.out)" -eq 5 ]'

# The automatic reading: 東京 is one word read as spoken, ﾄｵｷｮｵ, its units all mapping to it.
printf '東京' | iconv -f utf-8 -t cp932 >t.txt
"$yomi6" --units t.txt --readings auto >a.out 2>a.err
check "units: auto status" '[ $? -eq 0 ] && [ ! -s a.err ]'
check "units: auto reads the kanji word" '[ "$(cut -f1 a.out | tr "\n" " ")" = "IDF_TO IDF_O IDF_KYO IDF_O - " ]'
check "units: auto maps to the whole word" '[ "$(head -4 a.out | cut -f2-4 | sort -u)" = "0${tab}4${tab}東京" ]'

# The settings file's reading mode is the default; --readings beats it.
mkdir -p config
printf '[よみあげPadのセッティング]\r\n読み方=1\r\n' | iconv -f utf-8 -t cp932 >config/yomi6.ini
"$yomi6" --units t.txt >ini.out
check "units: reading mode from the settings file" 'cmp -s ini.out a.out'
"$yomi6" --units t.txt --readings dictionary >d.out
check "units: --readings beats the settings file" '! cmp -s d.out a.out'
choose_dictionary_reading
"$yomi6" --units t.txt >zero.out 2>zero.err
check "units: 読み方=0 keeps the dictionary reading" 'cmp -s zero.out d.out && [ ! -s zero.err ]'
rm -rf config

# No settings file (a new user): the automatic reading, the analyzer being at hand; nothing is
# written.
"$yomi6" --units t.txt >new.out 2>new.err
check "units: a new user hears kanji read" '[ $? -eq 0 ] && cmp -s new.out a.out && [ ! -s new.err ]'
check "units: no settings file is created" '[ ! -e config ]'
# ... and without the analyzer's dictionary: the dictionary reading, said in one line.
YOMI6_MECAB_DIC="$work/nothing" "$yomi6" --units t.txt >nf.out 2>nf.err
check "units: a new user without the analyzer gets the dictionary reading" '[ $? -eq 0 ] && cmp -s nf.out d.out'
check "units: ... and one message naming the folder" '[ "$(wc -l <nf.err)" -eq 1 ] && grep -q "$work/nothing" nf.err'

# A missing analyzer dictionary: one message, then the dictionary reading, status 0.
YOMI6_MECAB_DIC="$work/nothing" "$yomi6" --units t.txt --readings auto >f.out 2>f.err
check "units: missing analyzer dictionary falls back" '[ $? -eq 0 ] && cmp -s f.out d.out'
check "units: one clear message" '[ "$(wc -l <f.err)" -eq 1 ] && grep -q "$work/nothing" f.err'

# Errors.
"$yomi6" --units missing.txt 2>err.txt
check "units: missing input" '[ $? -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ]'
"$yomi6" --units t.txt --readings kanji 2>err.txt
check "units: unknown reading mode is a usage error" '[ $? -eq 2 ]'
"$yomi6" --units 2>err.txt
check "units: missing FILE is a usage error" '[ $? -eq 2 ]'
"$yomi6" --help | grep -q -- "--units" && "$yomi6" --help | grep -q -- "--readings dictionary|auto"
check "help: --units and --readings" '[ $? -eq 0 ]'

checks_done
