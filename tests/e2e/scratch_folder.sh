#!/usr/bin/env bash
# enter_scratch_folder of checks.sh, which every end-to-end script works in, run by small scripts
# of its own: the folder is entered with its own settings folder and is gone at the exit; the
# cleanup runs first, while the folder is there; the script's exit status is the one it ended
# with, failure included; KEEP=1 keeps the folder; without a temporary folder the script stops
# and writes nothing where it was started.
#   scratch_folder.sh
set -u
here=$(dirname "$(realpath "$0")")
# shellcheck source=checks.sh
. "$here/checks.sh"
# Its own folder is made by hand: the function under test is not trusted with it.
outside=$(mktemp -d)
trap 'rm -rf "$outside"' EXIT
cd "$outside" || exit 1

# Runs a script that sources checks.sh, its lines the arguments, in a folder of its own;
# sets status, and out to what it printed.
run_script() {
  mkdir -p "$outside/start"
  printf '%s\n' '. "$1/checks.sh"' "$@" >"$outside/script.sh"
  out=$(cd "$outside/start" && bash "$outside/script.sh" "$here" 2>&1)
  status=$?
}

run_script 'enter_scratch_folder' 'pwd >"'"$outside"'/pwd"' \
  'echo "$XDG_CONFIG_HOME" >"'"$outside"'/config"' 'touch made'
# shellcheck disable=SC2034 # read by the checks, which eval their conditions
entered=$(cat pwd)
check "the script works in its folder, a temporary one" \
  '[ "$status" -eq 0 ] && [ "${entered#"${TMPDIR:-/tmp}"/}" != "$entered" ]'
check "its settings folder is inside it" '[ "$(cat config)" = "$entered/config" ]'
check "the folder is gone at the exit" '[ -n "$entered" ] && [ ! -e "$entered" ]'
check "nothing is left where the script started" '[ -z "$(ls -A start)" ]'

# A failure, from a check or an exit with a status of its own, is the script's status.
run_script 'enter_scratch_folder' 'check "one" false' 'checks_done'
check "a failed check fails the script ($status)" '[ "$status" -eq 1 ]'
run_script 'enter_scratch_folder' 'exit 3'
check "exit 3 stays the script's status ($status)" '[ "$status" -eq 3 ]'

# The cleanup runs at the exit while the folder is there, however the script ends.
run_script 'enter_scratch_folder '"'"'ls >"'"$outside"'/seen"'"'" 'touch server.pid' 'exit 2'
check "the cleanup sees the folder's files" '[ "$(cat seen)" = server.pid ] && [ "$status" -eq 2 ]'

# KEEP=1 keeps the folder for inspection.
KEEP=1 run_script 'enter_scratch_folder' 'pwd >"'"$outside"'/pwd"' 'touch kept'
kept=$(cat pwd)
check "KEEP=1 keeps the folder and its files" '[ -f "$kept/kept" ]'
[ -d "$kept" ] && [ "$kept" != / ] && rm -rf "$kept"

# No temporary folder to be had: the script says so and stops before it writes anything.
TMPDIR="$outside/missing" run_script 'enter_scratch_folder' 'touch written' 'echo went on'
check "without a temporary folder the script fails and says why ($status: $out)" \
  '[ "$status" -eq 1 ] && grep -q "FAIL: no scratch folder" <<<"$out" && ! grep -q "went on" <<<"$out"'
check "and writes nothing where it was started" '[ -z "$(ls -A start)" ]'

checks_done
