#!/usr/bin/env bash
# The gate scripts on small repositories of their own: which commits and files a change is
# measured against, and that each gate fails on what it must find and passes on clean files.
# Each repository is a copy of the real tools and settings (.clang-format, .clang-tidy, the
# .shellcheckrc files) with a few files of its own; clang-tidy runs on a compile database
# written for them.
#   gates.sh SOURCE_DIR
set -u
source_dir=$(realpath "$1")
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
require_tools git clang-format clang-tidy shellcheck python3
enter_scratch_folder
export GIT_AUTHOR_NAME=gates GIT_AUTHOR_EMAIL=gates@example.invalid
export GIT_COMMITTER_NAME=gates GIT_COMMITTER_EMAIL=gates@example.invalid
export GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1

# A repository with the gate scripts and settings, its branch named main.
new_repo() { # dir
  mkdir -p "$1/tools" "$1/src" "$1/tests/e2e"
  cp "$source_dir"/tools/{changed,format,shellcheck,tidy,check}.sh "$source_dir/tools/check_layers.py" "$1/tools/"
  cp "$source_dir"/.clang-format "$source_dir"/.clang-tidy "$source_dir"/.shellcheckrc "$1/"
  cp "$source_dir"/tests/e2e/.shellcheckrc "$source_dir"/tests/e2e/checks.sh "$1/tests/e2e/"
  git -C "$1" init -q -b main
}
commit() { # dir, message
  git -C "$1" add -A && git -C "$1" commit -q -m "$2"
}
changed() { # dir, arguments... -> the changed files on one line
  "$1/tools/changed.sh" "${@:2}" | tr '\n' ' '
}

# Which files a change is: the last commit on main, the branch since its merge base with
# origin/main, uncommitted edits and new files in the index; a deleted file is not one.
r="$work/repo"
new_repo "$r"
printf 'int one() { return 1; }\n' >"$r/src/one.cpp"
commit "$r" one
check "one commit: every file of it" '[ "$(changed "$r")" = "src/one.cpp " ]'
printf 'int two() { return 2; }\n' >"$r/src/two.cpp"
printf 'int three();\n' >"$r/src/three.h"
printf 'not C++\n' >"$r/src/notes.txt"
commit "$r" two
check "main without a remote: the last commit's C++ files" \
  '[ "$(changed "$r")" = "src/three.h src/two.cpp " ]'
check "an explicit base" '[ "$(changed "$r" HEAD~1)" = "src/three.h src/two.cpp " ]'
"$r/tools/changed.sh" no-such-commit >/dev/null 2>"$work/err"
check "a base that is no commit: status 2 and a message" \
  '[ $? -eq 2 ] && grep -q "no-such-commit is not a commit" "$work/err"'

c="$work/clone"
git clone -q "$r" "$c"
check "a clone of main: the last commit" '[ "$(changed "$c")" = "src/three.h src/two.cpp " ]'
git -C "$c" checkout -q -b topic
printf 'int four() { return 4; }\n' >"$c/src/four.cpp"
commit "$c" four
git -C "$c" rm -q src/one.cpp
commit "$c" "one goes"
printf 'int five() { return 5; }\n' >"$c/src/five.cpp"
git -C "$c" add src/five.cpp
printf 'int two() { return 22; }\n' >"$c/src/two.cpp"
check "a branch: since its merge base with origin/main, edits included, deletions not" \
  '[ "$(changed "$c")" = "src/five.cpp src/four.cpp src/two.cpp " ]'
check "the base of a branch is its merge base" \
  '[ "$("$c/tools/changed.sh" --base)" = "$(git -C "$c" rev-parse origin/main)" ]'
git -C "$c" branch -q other origin/main
git -C "$c" worktree add -q "$work/other" other
printf 'int six() {\n    return 6;\n}\n' >"$work/other/src/six.cpp"
commit "$work/other" six
check "a base that went on since: only this branch's changes" \
  '[ "$(changed "$c" other)" = "src/five.cpp src/four.cpp src/two.cpp " ]'

# Format: a file laid out otherwise is named and fails; --fix rewrites only what it is given.
f="$work/format"
new_repo "$f"
printf 'int good() {\n    return 1;\n}\n' >"$f/src/good.cpp"
printf 'int  bad( ){return 1;}\n' >"$f/src/bad.cpp"
printf 'int  other( ){return 1;}\n' >"$f/src/other.h"
commit "$f" start
"$f/tools/format.sh" >"$work/out" 2>&1
check "format: fails on unformatted files" '[ $? -eq 1 ]'
check "format: names each, and not the formatted one" \
  'grep -qx "format: not formatted: src/bad.cpp" "$work/out" && grep -qx "format: not formatted: src/other.h" "$work/out" && ! grep -q good.cpp "$work/out"'
"$f/tools/format.sh" --fix src/bad.cpp >/dev/null
check "format --fix: the file given is rewritten" \
  '[ "$(cat "$f/src/bad.cpp")" = "$(printf "int bad() {\n    return 1;\n}")" ]'
check "format --fix: the others are left alone" '[ "$(cat "$f/src/other.h")" = "int  other( ){return 1;}" ]'
"$f/tools/format.sh" src/bad.cpp src/good.cpp >/dev/null
check "format: passes on formatted files" '[ $? -eq 0 ]'

# The shell gate: a real finding fails with its code; the check conditions of the end-to-end
# scripts do not (tests/e2e/.shellcheckrc), anywhere else they do.
s="$work/shell"
new_repo "$s"
printf '#!/usr/bin/env bash\ncd /tmp\necho here\n' >"$s/tools/uncd"
printf '#!/bin/sh\necho "$1"\n' >"$s/tools/fine"
printf '# helpers, no shebang\n' >"$s/tools/notes"
commit "$s" start
"$s/tools/shellcheck.sh" >"$work/out" 2>&1
check "shellcheck: a script without an extension, by its shebang, fails" \
  '[ $? -eq 1 ] && grep -q "tools/uncd:2:1: .*SC2164" "$work/out"'
rm "$s/tools/uncd"
cat >"$s/tests/e2e/conditions.sh" <<'SH'
#!/usr/bin/env bash
. "$(dirname "$0")/checks.sh"
check "kept for check()" '[ -n "$HOME" ]'
SH
commit "$s" conditions
"$s/tools/shellcheck.sh" >"$work/out" 2>&1
check "shellcheck: check conditions in tests/e2e pass" '[ $? -eq 0 ] || { cat "$work/out"; false; }'
printf '#!/usr/bin/env bash\necho '"'"'$HOME'"'"'\n' >"$s/tools/quoted.sh"
commit "$s" quoted
"$s/tools/shellcheck.sh" >"$work/out" 2>&1
check "shellcheck: single-quoted expansions elsewhere are still found" \
  '[ $? -eq 1 ] && grep -q "tools/quoted.sh:2:.*SC2016" "$work/out"'

# clang-tidy: only the changed files, as errors; a header through the file that includes it;
# a finding in an unchanged header that a changed file includes is not the change's.
t="$work/tidy"
new_repo "$t"
mkdir -p "$t/build"
printf '#pragma once\nint g_old = 0;\n' >"$t/src/old.h"
printf 'int limit();\n' >"$t/src/shared.h"
printf '#include "old.h"\n#include "shared.h"\nint limit() {\n    return 3;\n}\n' >"$t/src/user.cpp"
printf 'int calm() {\n    return 0;\n}\n' >"$t/src/calm.cpp"
python3 - "$t" <<'PY'
import json, sys
root = sys.argv[1]
json.dump([{"directory": root, "file": f"{root}/src/{name}",
            "command": f"c++ -std=c++20 -I{root}/src -c {root}/src/{name}"}
           for name in ("user.cpp", "calm.cpp")], open(f"{root}/build/compile_commands.json", "w"))
PY
commit "$t" start
printf 'int calm() {\n    return 1;\n}\n' >"$t/src/calm.cpp"
commit "$t" calm
"$t/tools/tidy.sh" >"$work/out" 2>&1
check "tidy: a clean change passes" '[ $? -eq 0 ] || { cat "$work/out"; false; }'
printf '#include "old.h"\n#include "shared.h"\nint limit() {\n    return 4;\n}\n' >"$t/src/user.cpp"
printf 'int counter = 0;\nint calm() {\n    return counter;\n}\n' >"$t/src/calm.cpp"
"$t/tools/tidy.sh" >"$work/out" 2>&1
check "tidy: a mutable global in a changed file fails" \
  '[ $? -eq 1 ] && grep -q "calm.cpp:1:5: error: .*counter.*cppcoreguidelines-avoid-non-const-global-variables" "$work/out"'
check "tidy: the unchanged header's global is not reported" '! grep -q g_old "$work/out"'
git -C "$t" checkout -q -- src/calm.cpp src/user.cpp
printf 'int limit();\nextern int g_shared;\n' >"$t/src/shared.h"
"$t/tools/tidy.sh" >"$work/out" 2>&1
check "tidy: a changed header is analysed through the file that includes it" \
  '[ $? -eq 1 ] && grep -q "shared.h:2:12: error: .*g_shared" "$work/out" && ! grep -q g_old "$work/out"'
git -C "$t" checkout -q -- src/shared.h

# tools/check.sh runs every gate even after one failed, and --fix lays out the changed files.
printf 'int  calm( ){return 2;}\n' >"$t/src/calm.cpp"
printf '#!/usr/bin/env bash\ncd /tmp\n' >"$t/tools/uncd.sh"
git -C "$t" add tools/uncd.sh
"$t/tools/check.sh" >"$work/out" 2>&1
check "check: a failed gate fails it, and the later gates still run" \
  '[ $? -eq 1 ] && grep -qx "check: failed: format shellcheck" "$work/out" && grep -q "^== layering" "$work/out"'
git -C "$t" rm -q -f tools/uncd.sh
"$t/tools/check.sh" --fix >"$work/out" 2>&1
check "check --fix: the changed file laid out, then every gate passes" \
  '[ $? -eq 0 ] && [ "$(sed -n 2p "$t/src/calm.cpp")" = "    return 2;" ] || { cat "$work/out"; false; }'
git -C "$t" checkout -q -- src/calm.cpp
mv "$t/build/compile_commands.json" "$t/build/away.json"
"$t/tools/tidy.sh" HEAD~1 >"$work/out" 2>&1
check "tidy: without a build it says to build first" '[ $? -eq 2 ] && grep -q "build first" "$work/out"'

checks_done gates
