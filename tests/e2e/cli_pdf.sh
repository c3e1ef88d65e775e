#!/usr/bin/env bash
# yomi6 --pdf as a whole process: pages, header and footer switched by the settings file, the
# printer font of the settings file, standard input and output, atomic output and errors.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
enter_scratch_folder
export QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_CONFIG_HOME"

pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ {print $2}'; }
words() { pdftotext -bbox "$1" - 2>/dev/null | sed -n 's/.*<word [^>]*>\(.*\)<\/word>/\1/p'; }
# xMin and yMin of the first word that is exactly $2 on the first page that has it.
where() { pdftotext -bbox "$1" - | grep -m1 ">$2</word>" | sed 's/.*xMin="\([0-9.]*\)" yMin="\([0-9.]*\)".*/\1 \2/'; }
settings() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 >"$XDG_CONFIG_HOME/yomi6.ini"; }

# 300 numbered lines in Shift-JIS with CR LF.
for i in $(seq -f "%04g" 1 300); do printf 'L%s 漢字とかな\r\n' "$i"; done | iconv -f UTF-8 -t CP932 >long.txt

# No settings file: page numbers only, no title or date.
"$yomi6" --pdf long.pdf long.txt 2>err.txt
check "status 0" '[ $? -eq 0 ]'
check "nothing on stderr" '[ ! -s err.txt ]'
check "a PDF file" '[ "$(head -c 5 long.pdf)" = "%PDF-" ]'
# shellcheck disable=SC2034 # read by a check condition
n=$(pages long.pdf)
check "several pages" '[ "${n:-0}" -gt 1 ]'
check "every line once, in order" '[ "$(words long.pdf | grep "^L[0-9]" | tr -d "\n")" = "$(seq -f "L%04g" 1 300 | tr -d "\n")" ]'
check "one page number per page" '[ "$(words long.pdf | grep -c "^-[0-9]*-$")" -eq "$n" ]'
check "the last page number" '[ "$(words long.pdf | grep "^-[0-9]*-$" | tail -1)" = "-$n-" ]'
check "no title" '! words long.pdf | grep -q "long.txt"'
check "Japanese text" '[ "$(words long.pdf | grep -c "^漢字とかな$")" -eq 300 ]'

# Title and date on, page number off.
settings $'[よみあげPadのセッティング]\r\nファイル名の印字=1\r\n日付の印字=1\r\nページ印字=0\r\n'
"$yomi6" --pdf switched.pdf long.txt
check "a four-digit year and padded seconds on every page" '[ "$(words switched.pdf | grep -cE "^[0-9]{2}:[0-9]{2}:[0-9]{2}$")" -eq "$(pages switched.pdf)" ] && [ "$(words switched.pdf | grep -E "^[0-9]{4}/[0-9]{2}/[0-9]{2}$" | sort -u | wc -l)" -eq 1 ]'
check "the title on every page" '[ "$(words switched.pdf | grep -c "^long.txt$")" -eq "$(pages switched.pdf)" ]'
check "no page numbers" '! words switched.pdf | grep -q "^-[0-9]*-$"'
check "the body still inset" '[ "$(where switched.pdf L0001)" = "$(where long.pdf L0001)" ]'

# A printer font of the settings file: twice the height gives fewer lines per page.
settings $'[プリンタ用フォント]\r\nHeight=-400\r\n'
"$yomi6" --pdf big.pdf long.txt
check "a larger printer font makes more pages" '[ "$(pages big.pdf)" -gt "$(pages long.pdf)" ]'
rm "$XDG_CONFIG_HOME/yomi6.ini"

# Standard input and standard output; an untitled document.
"$yomi6" --pdf - - <long.txt >stdout.pdf
check "standard input to standard output" '[ "$(head -c 5 stdout.pdf)" = "%PDF-" ] && [ "$(pages stdout.pdf)" = "$n" ]'
: >empty.txt
"$yomi6" --pdf empty.pdf empty.txt
check "an empty text prints one page" '[ "$(pages empty.pdf)" = 1 ] && [ "$(words empty.pdf)" = "-1-" ]'

# Errors: one line on stderr, status 1, nothing written, an existing file untouched.
printf 'old' >keep.pdf
"$yomi6" --pdf keep.pdf missing.txt 2>err.txt
check "missing input: status 1" '[ $? -eq 1 ]'
check "missing input: one line naming it" '[ "$(wc -l <err.txt)" -eq 1 ] && grep -q "missing.txt" err.txt'
check "missing input: old output kept" '[ "$(cat keep.pdf)" = old ]'
"$yomi6" --pdf no/such/dir/out.pdf long.txt 2>err.txt
check "unwritable output: status 1" '[ $? -eq 1 ]'
check "unwritable output: one line naming it" '[ "$(wc -l <err.txt)" -eq 1 ] && grep -q "no/such/dir/out.pdf" err.txt'
check "unwritable output: no file" '[ ! -e no ]'
head -c 1048576 /dev/zero | tr '\0' 'a' >large.txt
"$yomi6" --pdf large.pdf large.txt 2>err.txt
check "too large: status 1, one line" '[ $? -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ] && [ ! -e large.pdf ]'
mkdir adir
"$yomi6" --pdf adir.pdf adir 2>err.txt
check "a directory: status 1" '[ $? -eq 1 ] && [ ! -e adir.pdf ]'
"$yomi6" --pdf only.pdf 2>err.txt
check "usage error: status 2" '[ $? -eq 2 ] && [ "$(wc -l <err.txt)" -eq 1 ]'
check "no temporary files left" '[ -z "$(ls -A | grep -v -E "^(config|long.txt|long.pdf|switched.pdf|big.pdf|stdout.pdf|empty.txt|empty.pdf|keep.pdf|err.txt|large.txt|adir)$")" ]'

checks_done cli_pdf
