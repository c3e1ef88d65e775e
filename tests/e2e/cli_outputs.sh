#!/usr/bin/env bash
# Where --wav and --pdf write as whole processes: FIFOs, devices and standard output written
# into, read-only and other users' files kept, names of the longest legal length, file size
# limits, temporary files beside the output and cleaned after killed runs, and the messages.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
enter_scratch_folder 'umount "$work/full" 2>/dev/null'
export QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_CONFIG_HOME"

# Files in the folder other than the ones named.
others() { find . -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | grep -v -x -F "$(printf '%s\n' "$@")"; }

printf 'aiueo\r\n' >text.txt
"$yomi6" --wav ref.wav text.txt
"$yomi6" --pdf ref.pdf text.txt
check "reference outputs" '[ "$(head -c 4 ref.wav)" = RIFF ] && [ "$(head -c 5 ref.pdf)" = "%PDF-" ]'

# A FIFO: written into, still a FIFO afterwards.
for mode in wav pdf; do
  mkfifo "out.$mode"
  timeout 60 cat "out.$mode" >"got.$mode" & # a reader, which gives up if nothing comes
  timeout 60 "$yomi6" --$mode "out.$mode" text.txt 2>err.txt
  # shellcheck disable=SC2034 # read by a check condition
  status=$?
  wait
  check "$mode into a FIFO: status 0" '[ $status -eq 0 ] && [ ! -s err.txt ]'
  check "$mode into a FIFO: the FIFO stays" '[ -p "out.$mode" ]'
  check "$mode into a FIFO: the reader got it" '[ "$(head -c 4 "got.$mode" | tr -d "%")" = "$(head -c 4 "ref.$mode" | tr -d "%")" ] && [ "$(stat -c %s "got.$mode")" -gt 100 ]'
  rm -f "out.$mode" "got.$mode"
done

# A character device node: written into, never replaced.
if mknod null c 1 3 2>/dev/null; then
  "$yomi6" --wav null text.txt 2>err.txt
  check "wav onto a device: status 0, still a device" '[ $? -eq 0 ] && [ -c null ]'
  "$yomi6" --pdf null text.txt 2>err.txt
  check "pdf onto a device: status 0, still a device" '[ $? -eq 0 ] && [ -c null ]'
  rm -f null
fi

# /dev/stdout, into a pipe and appended to a file.
"$yomi6" --wav /dev/stdout text.txt | cat >piped.wav
check "wav to /dev/stdout through a pipe" 'cmp -s piped.wav ref.wav'
"$yomi6" --pdf /dev/stdout text.txt | cat >piped.pdf
check "pdf to /dev/stdout through a pipe" '[ "$(head -c 5 piped.pdf)" = "%PDF-" ] && [ "$(pdfinfo piped.pdf | awk "/^Pages:/ {print \$2}")" = 1 ]'
printf 'head' >appended.wav
"$yomi6" --wav /dev/stdout text.txt >>appended.wav
check "wav appended to /dev/stdout" '[ "$(head -c 4 appended.wav)" = head ] && [ "$(stat -c %s appended.wav)" -eq $(($(stat -c %s ref.wav) + 4)) ]'
rm -f piped.wav piped.pdf appended.wav

# Read-only outputs are kept; the message says why.
for mode in wav pdf; do
  printf 'old' >"ro.$mode"
  chmod 0444 "ro.$mode"
  "$yomi6" --$mode "ro.$mode" text.txt 2>err.txt
  check "$mode onto a read-only file: status 1, kept" '[ $? -eq 1 ] && [ "$(cat "ro.$mode")" = old ]'
  check "$mode onto a read-only file: one line saying why" '[ "$(wc -l <err.txt)" -eq 1 ] && grep -q "ro.$mode.*Permission denied" err.txt'
  rm -f "ro.$mode"
done
# The same for an ordinary user, in a folder that user may write.
if [ "$(id -u)" -eq 0 ] && setpriv --help >/dev/null 2>&1; then
  mkdir shared
  chmod 0777 shared "$work"
  cp text.txt shared/
  printf 'old' >shared/ro.wav
  chown nobody shared/ro.wav
  chmod 0444 shared/ro.wav
  # No cache folder that user may make: the analyzer's links go to a temporary folder.
  setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$work/shared" XDG_CONFIG_HOME="$work/shared" \
    XDG_CACHE_HOME=/nonexistent/cache \
    "$yomi6" --wav shared/ro.wav shared/text.txt 2>err.txt
  check "an ordinary user's read-only file: status 1, kept" '[ $? -eq 1 ] && [ "$(cat shared/ro.wav)" = old ] && grep -q "Permission denied" err.txt'
  check "an ordinary user's read-only file: no temporary file" '[ "$(ls -A shared | sort | tr "\n" " ")" = "ro.wav text.txt " ]'
  # Root replacing another user's file leaves it theirs.
  printf 'old' >shared/theirs.wav
  chown nobody:nogroup shared/theirs.wav
  chmod 0640 shared/theirs.wav
  "$yomi6" --wav shared/theirs.wav text.txt
  check "another user's file stays theirs, with its mode" '[ "$(stat -c "%U:%G %a" shared/theirs.wav)" = "nobody:nogroup 640" ] && cmp -s shared/theirs.wav ref.wav'
  chmod 0700 "$work"
  rm -rf shared
fi

# A name of 255 bytes, the longest a folder entry holds.
long=$(printf 'n%.0s' $(seq 251))
"$yomi6" --wav "$long.wav" text.txt 2>err.txt
check "a 255-byte name: status 0" '[ $? -eq 0 ] && cmp -s "$long.wav" ref.wav'
"$yomi6" --pdf "$long.pdf" text.txt 2>err.txt
check "a 255-byte name for the PDF: status 0" '[ $? -eq 0 ] && [ "$(head -c 5 "$long.pdf")" = "%PDF-" ]'
rm -f "$long.wav" "$long.pdf"

# A file size limit: the write fails with a message, nothing is left behind.
head -c 3000 /dev/zero | tr '\0' 'a' >big.txt
(ulimit -f 1; "$yomi6" --wav limited.wav big.txt 2>err.txt; echo $? >status.txt)
check "wav over the size limit: status 1 with the cause" '[ "$(cat status.txt)" = 1 ] && grep -q "File too large" err.txt'
(ulimit -f 1; "$yomi6" --pdf limited.pdf big.txt 2>err.txt; echo $? >status.txt)
check "pdf over the size limit: status 1 with the cause" '[ "$(cat status.txt)" = 1 ] && grep -q "File too large" err.txt'
check "over the size limit: no file and no temporary left" '[ -z "$(others text.txt ref.wav ref.pdf big.txt err.txt status.txt config)" ]'

# The PDF's temporary file is made beside the output, not in the folder for temporary files:
# a run killed while it prints leaves it there, and a later write into that folder removes it.
# (About 1 MB of text, and tried again when the kill came only after the print was done.)
mkdir tmp killed
for i in $(seq 20000); do printf 'line %s of a text long enough to take a while\r\n' "$i"; done >killed/long.txt
for _ in 1 2 3 4 5; do
  rm -f killed/out.pdf
  TMPDIR="$work/tmp" "$yomi6" --pdf killed/out.pdf killed/long.txt &
  pid=$!
  for i in $(seq 400); do compgen -G 'killed/.yomi6-*' >/dev/null && break; sleep 0.05; done
  kill -9 $pid
  wait $pid 2>/dev/null
  left=$(find killed -mindepth 1 -maxdepth 1 -name '.yomi6-*' -printf '%f\n')
  [ -n "$left" ] || [ ! -e killed/out.pdf ] && break
done
rm -f killed/out.pdf
check "a killed print leaves its temporary beside the output" '[ -n "$left" ] && [ -z "$(ls -A tmp | grep -v "^runtime-")" ]'
[ -n "$left" ] && touch -d '10 minutes ago' "killed/$left"
"$yomi6" --wav killed/out.wav text.txt
check "the next write into that folder removes it" '[ "$(ls -A killed | tr "\n" " ")" = "long.txt out.wav " ]'
rm -rf tmp killed

# Temporary files of killed runs are removed by the next write into their folder.
gone=$(sh -c 'echo $$') # a process that has ended
for name in ".yomi6-$gone-abcdefgh.tmp" ".out.wav.tmp-$gone-0"; do
  printf 'x' >"$name"
  touch -d '10 minutes ago' "$name"
done
printf 'x' >".yomi6-$gone-recent00.tmp"
"$yomi6" --wav out.wav text.txt
check "stale temporaries removed, a recent one kept" '[ "$(ls -A | grep "^\." | tr "\n" " ")" = ".yomi6-$gone-recent00.tmp " ]'
rm -f out.wav ".yomi6-$gone-recent00.tmp"

# A full folder for temporary files is named as the cause.
mkdir full
if mount -t tmpfs -o size=4k tmpfs full 2>/dev/null; then
  TMPDIR="$work/full" "$yomi6" --pdf - text.txt >/dev/null 2>err.txt
  check "full temporary folder: status 1" '[ $? -eq 1 ]'
  check "full temporary folder: the cause named" '[ "$(wc -l <err.txt)" -eq 1 ] && grep -q "$work/full.*No space left on device" err.txt'
  check "full temporary folder: no temporary left" '[ -z "$(ls -A full | grep -v "^runtime-")" ]'
  umount full
fi
rmdir full

# An empty output name is a usage error.
"$yomi6" --wav "" text.txt 2>err.txt
check "empty wav name: status 2" '[ $? -eq 2 ] && grep -q "usage" err.txt'
"$yomi6" --pdf "" text.txt 2>err.txt
check "empty pdf name: status 2" '[ $? -eq 2 ] && grep -q "usage" err.txt'

checks_done
