#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034 # the checks are strings evaluated later
# On demand, not part of the test suite: renders a WAVE file past 4 GiB (280,000 あ at speed
# 1000, 77.8 hours, 4,482,224,080 bytes) and checks that it is RF64 with the right sizes, that
# ffprobe reads its full length and that its samples start as a short export's do.
#   tools/check-large-export.sh [BUILD_DIR] [DIR]   (DIR: where the 4.5 GB go; default $TMPDIR)
set -u
cd "$(dirname "$0")/.." || exit 1
build=$(realpath "${1:-build}")
# shellcheck source=../tests/e2e/checks.sh
. tests/e2e/checks.sh
require_tools ffprobe iconv python3
dir=$(mktemp -d "${2:-${TMPDIR:-/tmp}}/yomi6-large.XXXXXX")
trap 'rm -rf "$dir"' EXIT
export XDG_CONFIG_HOME="$dir/config"
yomi6="$build/src/yomi6"

python3 -c 'import sys; sys.stdout.buffer.write("あ".encode("cp932") * 280000)' >"$dir/big.txt"
python3 -c 'import sys; sys.stdout.buffer.write("あ".encode("cp932") * 10)' >"$dir/small.txt"
start=$(date +%s)
"$yomi6" --export "$dir/big.wav" --speed 1000 "$dir/big.txt"
status=$?
echo "export: $(($(date +%s) - start)) s"
check "status 0" '[ $status -eq 0 ]'
"$yomi6" --export "$dir/small.wav" --speed 1000 "$dir/small.txt"

# 140 passes of 2000 characters, each with its ending tick: 280,140 ticks, the sound lasting
# to the last one.
data=$((280139 * 16000))
check "size: the RF64 header and the samples" '[ "$(stat -c %s "$dir/big.wav")" = $((80 + data)) ]'
read -r magic riff size samples < <(python3 - "$dir/big.wav" <<'PY'
import struct, sys
h = open(sys.argv[1], "rb").read(80)
riff, size, samples = struct.unpack("<QQQ", h[20:44])
print(h[:4].decode(), riff, size, samples)
PY
)
check "header: RF64 ($magic)" '[ "$magic" = RF64 ]'
check "header: the RF64 size" '[ "$riff" = $((72 + data)) ]'
check "header: the data size ($size)" '[ "$size" = "$data" ]'
check "header: the sample count" '[ "$samples" = "$data" ]'
duration=$(ffprobe -v error -show_entries stream=duration_ts -of csv=p=0 "$dir/big.wav")
check "ffprobe: $duration samples" '[ "$duration" = "$data" ]'
check "the samples start as a short export's" \
  'cmp -s <(tail -c +81 "$dir/big.wav" | head -c 144000) <(tail -c +45 "$dir/small.wav" | head -c 144000)'
checks_done check-large-export
