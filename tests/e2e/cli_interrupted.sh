#!/usr/bin/env bash
# The life of the output files as whole processes: an export or a print ended by SIGINT,
# SIGTERM, SIGHUP or SIGPIPE leaves no file but those there before (and those unchanged) and
# ends by that signal; an export that fails on a full disk leaves none of its three files, in
# every format, and keeps the old ones; progress shows on a terminal (Ctrl+C there too) and
# nowhere else.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
pty_py=$(realpath "$2")
enter_scratch_folder 'umount "$work/full" 2>/dev/null'
export QT_QPA_PLATFORM=offscreen
# A script's background jobs start with SIGINT ignored; a command typed at a terminal has it
# as default. This starts a command as the terminal does, SIGINT and SIGPIPE as default.
# (An array, not a function: a function in the background would run in a subshell of its own,
# and $! would be that subshell's.)
as_typed=(python3 -c 'import os, signal, sys
for sig in signal.SIGINT, signal.SIGPIPE:  # (Python itself ignores SIGPIPE)
    signal.signal(sig, signal.SIG_DFL)
os.execvp(sys.argv[1], sys.argv[1:])')

# Kana in lines of 100 bytes: kbytes KB of text.
kana_text() { # kbytes, file
  python3 - "$1" "$2" <<'PY'
import sys
kana = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ"
lines = [("".join(kana[(i * 7 + j) % len(kana)] for j in range(48)) + "。").encode("cp932") + b"\r\n"
         for i in range(int(sys.argv[1]) * 10)]
open(sys.argv[2], "wb").write(b"".join(lines))
PY
}
kana_text 400 long.txt # about 3 hours of speech at 180 ms a tick
# About 1 MB, near the largest the editor opens: a print of half a second or more.
for i in $(seq 20000); do printf 'line %s of a text long enough to take a while\r\n' "$i"; done >print.txt

# Waits until a temporary file of this program is in folder $1 and holds data.
wait_for_temporary() {
  local i
  for i in $(seq 600); do
    [ -n "$(find "$1" -maxdepth 1 -name '.yomi6-*.tmp' -size +0 2>/dev/null)" ] && return 0
    sleep 0.05
  done
  return 1
}

signal_number() { kill -l "$1"; }

# Runs a command in the background, sends it signal $1 once its temporary file in out/ holds
# data, and waits for its end: started is 0 when it was caught while writing, status is how it
# ended, its stderr is in err.txt.
signal_while_writing() { # signal, command...
  local sig=$1 pid
  shift
  "$@" 2>err.txt &
  pid=$!
  wait_for_temporary out
  # shellcheck disable=SC2034 # started and status are read by the checks
  started=$?
  kill -s "$sig" "$pid"
  wait "$pid"
  status=$?
}

for sig in INT TERM HUP PIPE; do
  for old in none kept; do
    rm -rf out && mkdir out
    if [ $old = kept ]; then
      for f in o.wav o.srt o.json; do printf 'old %s' "$f" >"out/$f"; done
    fi
    # shellcheck disable=SC2034 # read by a check condition
    before=$(find out -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | tr '\n' ' ')
    signal_while_writing $sig "${as_typed[@]}" "$yomi6" --export out/o.wav --subtitles out/o.srt \
      --timings out/o.json long.txt
    check "export, SIG$sig, old files $old: caught while writing" '[ $started -eq 0 ]'
    check "export, SIG$sig, old files $old: ended by the signal ($status)" '[ $status -eq $((128 + $(signal_number $sig))) ]'
    check "export, SIG$sig, old files $old: only the files there before" '[ "$(cd out && ls -A | sort | tr "\n" " ")" = "$before" ]'
    if [ $old = kept ]; then
      check "export, SIG$sig: the old files unchanged" '[ "$(cat out/o.wav out/o.srt out/o.json)" = "old o.wavold o.srtold o.json" ]'
    fi
  done
done

# A print is short: the signal can come after the PDF is already in place. Such a late run
# must have left a whole PDF and nothing else; it is tried again, up to five times, until one
# is caught while printing.
for sig in INT TERM; do
  caught=no late_wrong=""
  for try in 1 2 3 4 5; do
    rm -rf out && mkdir out
    printf 'old' >out/o.pdf
    signal_while_writing $sig "${as_typed[@]}" "$yomi6" --pdf out/o.pdf print.txt
    if [ "$(cat out/o.pdf)" != old ]; then
      [ "$(ls -A out)" = o.pdf ] && tail -c 32 out/o.pdf | grep -q '%%EOF' || late_wrong="$late_wrong $try"
      continue
    fi
    # shellcheck disable=SC2034 # read by a check condition
    caught=yes
    break
  done
  check "pdf, SIG$sig: caught while printing (in $try tries)" '[ $started -eq 0 ] && [ $caught = yes ]'
  check "pdf, SIG$sig: a run signalled after its commit left the whole PDF alone" '[ -z "$late_wrong" ]'
  check "pdf, SIG$sig: ended by the signal ($status)" '[ $status -eq $((128 + $(signal_number $sig))) ]'
  check "pdf, SIG$sig: the old file alone, unchanged" '[ "$(ls -A out)" = o.pdf ] && [ "$(cat out/o.pdf)" = old ]'
done

# A signal that was ignored when the program started stays ignored (nohup): the export ends
# normally.
kana_text 4 short.txt
rm -rf out && mkdir out
signal_while_writing HUP bash -c 'trap "" HUP; exec "$@"' _ "$yomi6" --export out/o.ogg short.txt
check "an ignored SIGHUP stays ignored" '[ $started -eq 0 ] && [ $status -eq 0 ] && [ -s out/o.ogg ]'

# A full disk: the issue's short text onto a 1250 KB tmpfs filled to leave 4, 8, 12... KB free,
# until the export fits. Every failure on the way (status 1, one line) leaves none of the
# three files, or the old ones as they were; at some point the sound fits but a side file or
# the sound's last block does not, which is where a commit of one file before the others
# showed.
printf 'こんにちは。今日は2026年です。\n' | iconv -t cp932 >disk.txt
mkdir full
if mount -t tmpfs -o size=1250k tmpfs full 2>/dev/null; then
  for f in wav flac ogg opus mp3; do
    side=srt
    case $f in ogg | mp3) side=vtt ;; esac
    for old in none kept; do
      failed=0 fitted=no wrong=""
      for free in $(seq 4 4 200); do
        rm -rf full/* full/.[!.]* 2>/dev/null
        if [ $old = kept ]; then
          printf 'old sound' >"full/o.$f"
          printf 'old cues' >"full/o.$side"
          printf 'old times' >full/o.json
          # Second names keep the old files' space taken when they are replaced, as on a
          # disk where nothing is freed by the commit.
          mkdir full/links && ln full/o.* full/links/
        fi
        head -c $(((1250 - free) * 1024)) /dev/zero >full/fill 2>/dev/null
        "$yomi6" --export "full/o.$f" --subtitles "full/o.$side" --timings full/o.json disk.txt 2>err.txt
        status=$?
        if [ $status -eq 0 ]; then
          # shellcheck disable=SC2034 # read by a check condition
          fitted=yes
          break
        fi
        failed=$((failed + 1))
        left=$(find full -mindepth 1 -maxdepth 1 ! -name fill ! -name links -printf '%f\n' | sort | tr '\n' ' ')
        if [ $old = kept ]; then
          [ "$left" = "$(printf '%s\n' "o.$f" "o.$side" o.json | sort | tr '\n' ' ')" ] &&
            [ "$(cat "full/o.$f" "full/o.$side" full/o.json)" = "old soundold cuesold times" ] ||
            wrong="$wrong ${free}k:[$left]"
        else
          [ -z "$left" ] || wrong="$wrong ${free}k:[$left]"
        fi
        [ $status -eq 1 ] && [ "$(wc -l <err.txt)" = 1 ] || wrong="$wrong ${free}k:status $status"
      done
      check "full disk, $f and $side, old files $old: every failure leaves things as they were ($failed failures)${wrong:+:$wrong}" '[ -z "$wrong" ]'
      check "full disk, $f and $side, old files $old: failures, then it fits" '[ $failed -gt 0 ] && [ $fitted = yes ]'
    done
  done
  umount full
else
  echo "SKIP: full-disk cases (mounting a tmpfs needs root)"
fi

# Progress: on a terminal, a line of percent, elapsed and estimate that is cleared at the end;
# with standard error in a file, nothing at all.
# (MP3 encodes slowly enough for a few lines, most often past the second that an estimate
# waits for.)
kana_text 20 progress.txt
python3 "$pty_py" progress "$yomi6" --export tty.mp3 progress.txt
check "progress on a terminal, cleared at the end" '[ $? -eq 0 ] && [ -s tty.mp3 ]'
"$yomi6" --export file.mp3 progress.txt 2>err.txt
check "no progress with standard error in a file" '[ $? -eq 0 ] && [ ! -s err.txt ] && cmp -s file.mp3 tty.mp3'
"$yomi6" --export pipe.mp3 progress.txt 2>&1 | cat >piped.txt
check "no progress with standard error in a pipe" '[ ! -s piped.txt ] && cmp -s pipe.mp3 tty.mp3'
rm -rf out && mkdir out
python3 "$pty_py" ctrl-c "$yomi6" --export out/o.wav --subtitles out/o.srt long.txt
check "Ctrl+C on the terminal: ended by SIGINT" '[ $? -eq 0 ]'
check "Ctrl+C on the terminal: no file left" '[ -z "$(ls -A out)" ]'

checks_done cli_interrupted
