#!/usr/bin/env bash
# yomi6 --labels as a whole process: one utterance of labels per line of text, the input's
# encodings, the accent rules' option and the exit statuses.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
if [ ! -r /var/lib/mecab/dic/open-jtalk/naist-jdic/sys.dic ]; then
  echo "SKIP: open-jtalk-mecab-naist-jdic is not installed (tools/install-deps.sh installs it)"
  exit 77
fi
enter_scratch_folder
unset YOMI6_MECAB_DIC

# Two sentences, a blank line between them: two utterances, each from sil to sil.
printf '雨が降る。\n\n勉強しています。\n' >two.txt
"$yomi6" --labels two.txt >two.lab 2>two.err
check "status 0" '[ $? -eq 0 ] && [ ! -s two.err ]'
check "two utterances" '[ "$(grep -c -- "-sil+" two.lab)" -eq 4 ]'
check "the first label starts at the silence" 'head -n 1 two.lab | grep -q "^xx^xx-sil+a=m/A:xx+xx+xx/"'
check "one label per phoneme: a m e g a f u r u and two silences" \
  '[ "$(sed -n "/^xx^xx-sil/,/-sil+xx/p" two.lab | head -n 11 | tail -n 1 | cut -c1-12)" = "r^u-sil+xx=x" ]'

# The same text in Shift-JIS gives the same labels; standard input too.
printf '雨が降る。\n' | iconv -f UTF-8 -t CP932 >sjis.txt
"$yomi6" --labels sjis.txt --encoding sjis >sjis.lab
"$yomi6" --labels - <two.txt >stdin.lab
check "Shift-JIS input" '[ "$(head -n 11 sjis.lab)" = "$(head -n 11 two.lab)" ]'
check "standard input" 'cmp -s stdin.lab two.lab'

# Own accent rules: する joins the noun's phrase with them, not without.
"$yomi6" --labels two.txt --accent-rules none >none.lab
check "--accent-rules none differs from all" '! cmp -s none.lab two.lab'
"$yomi6" --labels two.txt --accent-rules -suru >minus.lab
"$yomi6" --labels two.txt --accent-rules suru >suru.lab
check "-suru leaves that rule out" '! cmp -s minus.lab two.lab'
check "suru alone differs from none" '! cmp -s suru.lab none.lab'

# Errors: an unknown rule is a usage error; a missing dictionary an input error.
"$yomi6" --labels two.txt --accent-rules nonesuch >/dev/null 2>err.txt
check "unknown rule: status 2, one line" '[ $? -eq 2 ] && [ "$(wc -l <err.txt)" -eq 1 ] && grep -q nonesuch err.txt'
YOMI6_MECAB_DIC="$work/none" "$yomi6" --labels two.txt >/dev/null 2>err.txt
check "missing dictionary: status 1" '[ $? -eq 1 ] && grep -q "$work/none" err.txt'
"$yomi6" --labels nothere.txt >/dev/null 2>err.txt
check "missing input: status 1" '[ $? -eq 1 ] && grep -q nothere.txt err.txt'

checks_done cli_labels
