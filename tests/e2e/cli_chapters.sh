#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034 # the checks are strings evaluated later
# yomi6 --chapters as a whole process: an Aozora file's heading notes and a plain text's
# heading lines, each with the byte offset of its line in the file whatever its encoding and
# line ends, and the exit statuses.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
enter_scratch_folder

# The line at a byte offset of a file, in UTF-8.
line_at() { tail -c +"$(($2 + 1))" "$1" | head -n 1 | iconv -f "$3" -t UTF-8 | tr -d '\r'; }

printf '羅生門\r\n\r\n［＃３字下げ］第一部［＃「第一部」は大見出し］\r\n本文《ほんぶん》です。\r\n［＃５字下げ］［＃中見出し］下人《げにん》［＃中見出し終わり］\r\n雨。\r\n' |
  iconv -f UTF-8 -t CP932 >aozora.txt
"$yomi6" --chapters aozora.txt >aozora.out 2>aozora.err
check "Aozora: status 0, nothing on standard error" '[ $? -eq 0 ] && [ ! -s aozora.err ]'
check "Aozora: two headings with their levels and titles" \
  '[ "$(cut -f1,3 aozora.out | tr "\t\n" ":|")" = "1:第一部|2:下人|" ]'
first=$(sed -n 1p aozora.out | cut -f2)
second=$(sed -n 2p aozora.out | cut -f2)
check "Aozora: the offset is the heading line's in the Shift-JIS CR LF file" \
  '[ "$(line_at aozora.txt "$first" CP932)" = "［＃３字下げ］第一部［＃「第一部」は大見出し］" ]'
check "Aozora: the second offset too" \
  '[ "$(line_at aozora.txt "$second" CP932)" = "［＃５字下げ］［＃中見出し］下人《げにん》［＃中見出し終わり］" ]'

# A plain text in UTF-8 with a byte order mark: the heading lines by the rule, a sentence
# that starts like one is none.
printf '\xef\xbb\xbf第一章　旅立ち\n本文です。\n第二章で会おう。\n\n＊＊＊\n\n十二\n' >plain.txt
"$yomi6" --chapters plain.txt >plain.out
check "plain: the heading lines and no sentence" \
  '[ "$(cut -f1,3 plain.out | tr "\t\n" ":|")" = "2:第一章　旅立ち|3:＊＊＊|2:十二|" ]'
check "plain: the first heading starts after the byte order mark" '[ "$(sed -n 1p plain.out | cut -f2)" = 3 ]'
third=$(sed -n 3p plain.out | cut -f2)
check "plain: a later offset counts the mark once" '[ "$(line_at plain.txt "$third" UTF-8)" = "十二" ]'

printf '吾輩は猫である。\n' >none.txt
"$yomi6" --chapters none.txt >none.out
check "no heading: status 0, no line" '[ $? -eq 0 ] && [ ! -s none.out ]'
"$yomi6" --chapters - <plain.txt >stdin.out
check "standard input" 'cmp -s stdin.out plain.out'
"$yomi6" --chapters nothere.txt >/dev/null 2>err.txt
check "missing input: status 1" '[ $? -eq 1 ] && grep -q nothere.txt err.txt'
"$yomi6" --chapters >/dev/null 2>err.txt
check "no FILE: a usage error" '[ $? -eq 2 ] && grep -q usage err.txt'

checks_done cli_chapters
