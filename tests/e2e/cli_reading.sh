#!/usr/bin/env bash
# yomi6 --reading as a whole process: golden readings, the dictionary rules of the command line,
# standard input, and the exit statuses.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
golden=$(realpath "$2")
enter_scratch_folder
# The golden readings are the dictionary reading's.
choose_dictionary_reading

# Golden readings (no dictionary file here: the built-in rows only).
for text in "$golden"/reading_*.txt; do
  name=$(basename "$text" .txt)
  "$yomi6" --reading "$text" >"$name.out" 2>"$name.err"
  check "$name: status" '[ $? -eq 0 ]'
  check "$name: reading" 'cmp -s "$name.out" "$golden/$name.expected"'
  check "$name: nothing on stderr" '[ ! -s "$name.err" ]'
done
check "a missing default dictionary is not created" '[ ! -e Yomi6.dic ]'

# Standard input.
"$yomi6" --reading - <"$golden/reading_digits.txt" >stdin.out
check "standard input" 'cmp -s stdin.out "$golden/reading_digits.expected"'

# A dictionary of one record: "abc" read as ｴｰ (B4 B0), taken from the current directory.
make_dic() { # path, word, reading bytes as printf escapes
  printf '%s' "$2" >"$1"; truncate -s 13 "$1"; printf '%b' "$3" >>"$1"; truncate -s 339966 "$1"
}
make_dic Yomi6.dic abc '\xB4\xB0'
printf 'xabc' >word.txt
"$yomi6" --reading word.txt >default.out
check "default dictionary" '[ "$(od -An -tx1 default.out | tr -d " \n")" = "b4afb8bdb4b0" ]'
make_dic other.dic abc '\xB1'
"$yomi6" --reading word.txt --dictionary other.dic >named.out
check "named dictionary" '[ "$(od -An -tx1 named.out | tr -d " \n")" = "b4afb8bdb1" ]'
check "dictionaries are never written" '[ "$(stat -c %s Yomi6.dic other.dic | sort -u)" = 339966 ]'

# A short dictionary: the message, the records that were read, success.
head -c 34 other.dic >short.dic
"$yomi6" --reading word.txt --dictionary short.dic >short.out 2>short.err
check "short dictionary: status 0" '[ $? -eq 0 ]'
check "short dictionary: an English message" 'grep -q "short.dic: cannot read the whole dictionary file" short.err && ! grep -q "辞書" short.err'
check "short dictionary: records read" '[ "$(od -An -tx1 short.out | tr -d " \n")" = "b4afb8bdb1" ]'

# Errors: status 1 with one line on standard error; usage errors: status 2.
"$yomi6" --reading word.txt --dictionary missing.dic >/dev/null 2>err.txt
check "missing named dictionary: status 1" '[ $? -eq 1 ]'
check "missing named dictionary: one line" '[ "$(wc -l <err.txt)" -eq 1 ] && grep -q missing.dic err.txt'
"$yomi6" --reading nothere.txt >/dev/null 2>err.txt
check "missing input: status 1" '[ $? -eq 1 ] && grep -q nothere.txt err.txt'
"$yomi6" --reading . >/dev/null 2>err.txt
check "directory as input: status 1" '[ $? -eq 1 ]'
"$yomi6" --reading word.txt --dictionary . >/dev/null 2>err.txt
check "directory as dictionary: status 1" '[ $? -eq 1 ]'
mkfifo pipe.dic
timeout 10 "$yomi6" --reading word.txt --dictionary pipe.dic >/dev/null 2>err.txt
check "FIFO as dictionary: status 1 at once" '[ $? -eq 1 ]'
check "FIFO as dictionary: says why" 'grep -q "pipe.dic: cannot open the dictionary file: not a regular file" err.txt'
"$yomi6" --reading >/dev/null 2>err.txt
check "usage error: status 2" '[ $? -eq 2 ]'
"$yomi6" --frobnicate >/dev/null 2>err.txt
check "unknown option: status 2" '[ $? -eq 2 ]'
"$yomi6" --help >help.txt
check "help" '[ $? -eq 0 ] && grep -q -- "--reading FILE" help.txt'
"$yomi6" --version >version.txt
check "version" '[ $? -eq 0 ] && grep -q "^よみあげPad Ver6.0 (yomi6 [0-9][0-9.]*)\$" version.txt'

# More than 4000 bytes: only the first 4000 are read.
head -c 5000 /dev/zero | tr '\0' ' ' >long.txt
"$yomi6" --reading long.txt >long.out
check "4000-byte cut" '[ "$(stat -c %s long.out)" -eq 4000 ]'

checks_done
