#!/usr/bin/env bash
# yomi6 --check-voice as a whole process, over voice folders made with sox: a complete folder,
# missing units, broken files, a folder that is not there or cannot be read; the exit status.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
yomi6=$(realpath "$1")
samples=$(realpath "$2") # resources/samples: the built-in voice names one unit per file
enter_scratch_folder 'chmod -R u+rwx "$work"'

# Every unit of the built-in female voice, as a file name.
units=$(cd "$samples" && printf '%s\n' IDF_*.wav | sed 's/^IDF_//; s/\.wav$//')
check "141 units" '[ "$(echo "$units" | wc -l)" -eq 141 ]'

mkdir full
for u in $units; do
  sox -n -r 44100 -b 16 -c 2 "full/$u.wav" synth 0.3 sine 440 vol 0.3
done
"$yomi6" --check-voice full >full.out 2>full.err
check "complete: status 0" '[ $? -eq 0 ]'
check "complete: all usable" 'grep -q "^Units: 141 (141 usable, 0 missing, 0 unusable)$" full.out'
check "complete: nothing on stderr" '[ ! -s full.err ]'

mkdir part
sox -n -r 8000 -b 8 -c 1 part/KA.wav synth 0.2 sine 300
sox -n -r 96000 -b 24 -c 1 part/GYA.wav synth 0.2 sine 300
"$yomi6" --check-voice part >part.out
check "missing only: status 0" '[ $? -eq 0 ]'
check "missing only: counts" 'grep -q "(2 usable, 139 missing, 0 unusable)" part.out'
check "missing only: listed" 'grep -q "^Missing (the built-in voice speaks them): A I U E O KI " part.out'

echo "hello" >part/KI.wav
head -c 1000 full/KU.wav >part/KU.wav
"$yomi6" --check-voice part >bad.out
check "broken: status 1" '[ $? -eq 1 ]'
check "broken: not a wave" 'grep -q "^  KI.wav: not a usable WAVE file: not a RIFF/WAVE file$" bad.out'
check "broken: truncated" 'grep -q "^  KU.wav: not a usable WAVE file: the header declares" bad.out'

"$yomi6" --check-voice "$work/absent" >absent.out
check "absent folder: status 1" '[ $? -eq 1 ]'
check "absent folder: said" 'grep -q "^The folder does not exist" absent.out'

# Permissions bind only users other than the superuser: check as nobody when running as root.
mkdir locked
chmod 000 locked
if [ "$(id -u)" -eq 0 ]; then
  as_user() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
  chmod 755 "$work"
else
  as_user() { "$@"; }
fi
if as_user "$yomi6" --version >/dev/null 2>&1; then
  as_user "$yomi6" --check-voice "$work/locked" >locked.out
  check "unreadable folder: status 1" '[ $? -eq 1 ]'
  check "unreadable folder: said why" 'grep -q "^The folder cannot be read: Permission denied$" locked.out'
fi

"$yomi6" --check-voice >usage.out 2>usage.err
check "no DIR: usage error" '[ $? -eq 2 ] && grep -q "needs a DIR" usage.err'
"$yomi6" --help | grep -q -- "--check-voice DIR"
check "in --help" '[ $? -eq 0 ]'

checks_done cli_check_voice
