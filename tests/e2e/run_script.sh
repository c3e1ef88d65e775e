#!/usr/bin/env bash
# tools/run.sh opens the editor outside the checkout: in the user's data folder, where the
# editor keeps its dictionary Yomi6.dic, so that the checkout stays as it was cloned; file
# arguments still name files relative to the caller's folder; a dictionary an earlier version
# left in the checkout is moved along. The script runs in a copy of the checkout's tools whose
# install, build and editor are stand-ins (the real ones would install packages and rebuild
# the tree): the stand-in editor records where it runs and with what, and creates Yomi6.dic
# in its folder as the editor does when its first window opens. run.sh builds the editor only.
#   run_script.sh RUN_SH
set -u
run_sh=$(realpath "$1")
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
enter_scratch_folder

checkout="$work/checkout"
mkdir -p "$checkout/tools" "$checkout/build/src" "$work/caller/sub" "$work/home"
cp "$run_sh" "$checkout/tools/run.sh"
printf '#!/bin/sh\nexit 0\n' >"$checkout/tools/install-deps.sh"
# The stand-in build notes the targets it is asked for.
printf '#!/bin/sh\necho "$*" >"$BUILD_LOG"\n' >"$checkout/tools/build.sh"
cat >"$checkout/build/src/yomi6" <<'STUB'
#!/usr/bin/env bash
pwd >"$RUN_SCRIPT_LOG"
printf '%s\n' "$@" >>"$RUN_SCRIPT_LOG"
touch Yomi6.dic
STUB
chmod +x "$checkout/tools/"*.sh "$checkout/build/src/yomi6"
export RUN_SCRIPT_LOG="$work/log" BUILD_LOG="$work/build.log" HOME="$work/home"
unset XDG_DATA_HOME
# shellcheck disable=SC2034 # read by the checks, which eval their conditions
data="$work/home/.local/share/yomi6"

cd "$work/caller" || exit 1
touch doc.txt
"$checkout/tools/run.sh" doc.txt --speed 180 sub/out.wav - auto 2>run.err
check "run.sh: status 0" '[ $? -eq 0 ]'
check "the editor runs in the data folder" '[ "$(head -n 1 "$work/log")" = "$data" ]'
# shellcheck disable=SC2034
expected=$(printf '%s\n' "$work/caller/doc.txt" --speed 180 "$work/caller/sub/out.wav" - auto)
check "file arguments name the caller's files, other arguments pass unchanged" \
  '[ "$(tail -n +2 "$work/log")" = "$expected" ]'
check "the dictionary is in the data folder" '[ -e "$data/Yomi6.dic" ]'
check "the checkout holds no dictionary" '[ ! -e "$checkout/Yomi6.dic" ] && [ ! -e "$work/caller/Yomi6.dic" ]'
check "where the dictionary is kept, said once" 'grep -q "Yomi6.dic is kept in $data" run.err'
check "only the editor is built (tests and benchmarks are tools/test.sh's)" \
  '[ "$(cat "$work/build.log")" = yomi6 ]'
"$checkout/tools/run.sh" --speed 90 -- -x.txt 3 2>/dev/null
# shellcheck disable=SC2034
expected=$(printf '%s\n' --speed 90 -- "$work/caller/-x.txt" "$work/caller/3")
check "after --, every argument names a file" '[ "$(tail -n +2 "$work/log")" = "$expected" ]'

# XDG_DATA_HOME is followed; a dictionary left in the checkout moves there with its words.
export XDG_DATA_HOME="$work/xdg"
echo "my words" >"$checkout/Yomi6.dic"
"$checkout/tools/run.sh" 2>moved.err
check "XDG_DATA_HOME: the editor runs there" '[ "$(head -n 1 "$work/log")" = "$work/xdg/yomi6" ]'
check "the old dictionary moved along" \
  '[ "$(cat "$work/xdg/yomi6/Yomi6.dic")" = "my words" ] && [ ! -e "$checkout/Yomi6.dic" ]'
check "the move is said" 'grep -q "moved the dictionary" moved.err'

checks_done run_script
