#!/usr/bin/env bash
# sd_yomi6 under the real speech-dispatcher: a private configuration that loads the module from
# the build, a private socket, a PulseAudio null sink recorded with parec; driven with the real
# spd-say and the Python client. Speech is heard, a slower rate lasts longer, a stop silences,
# index marks arrive in order, and the module keeps serving after bad input (module_direct.py).
#   module_server.sh SD_YOMI6
# Exits 77 (skipped) when speech-dispatcher, spd-say or the Python client is not installed.
set -u
module=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
# shellcheck source=checks.sh
. "$here/checks.sh"
py=python3
[ -x /usr/bin/python3 ] && py=/usr/bin/python3 # the Debian client is for the system's Python
require_tools speech-dispatcher spd-say pulseaudio parec pactl
"$py" -c "import speechd" 2>/dev/null || { echo "SKIP: python3-speechd is missing"; exit 77; }

server_pid=""
# shellcheck source=pulse_server.sh
source "$here/pulse_server.sh"
stop_servers() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
  fi
  stop_pulse
}
enter_scratch_folder stop_servers
# A step that failed, counted among checks.sh's failures.
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

start_pulse "$work" || exit 1

# The module alone, with what the server would not pass on (bad UTF-8, 1 MiB, bursts, storms).
timeout 250 "$py" "$here/module_direct.py" "$module" || fail "the module alone (module_direct.py)"

mkdir -p "$work/conf/modules" "$work/log"
cp "$here/../../resources/speech-dispatcher/yomi6.conf" "$work/conf/modules/"
cat >"$work/conf/speechd.conf" <<CONF
LogLevel 3
LogDir "$work/log"
DefaultVolume 100
AudioOutputMethod "pulse"
AddModule "yomi6" "$module" "yomi6.conf"
DefaultModule yomi6
DefaultLanguage "ja"
LanguageDefaultModule "ja" "yomi6"
CONF
speech-dispatcher -s -t 0 -C "$work/conf" -c unix_socket -S "$work/sock" -P "$work/sd.pid" \
  -L "$work/log" >"$work/log/server.out" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  [ -S "$work/sock" ] && break
  sleep 0.1
done
[ -S "$work/sock" ] || { echo "speech-dispatcher did not start"; cat "$work/log/"*; exit 1; }
export SPEECHD_ADDRESS="unix_socket:$work/sock"
client() { timeout 60 "$py" "$here/module_client.py" "$@"; }

# The sound of one spd-say run: seconds from its first sound to its last (the sample voices
# space their samples out at a slower speed rather than drawing them out).
said() {
  record_start "$work/rec.raw" || return 1
  timeout 60 spd-say -w -o yomi6 -l ja "$@" || echo "spd-say failed: $*" >&2
  record_stop 0.5
  client span "$work/rec.raw"
}

# The module's voices, as spd-say lists them.
voices=$(timeout 30 spd-say -o yomi6 -L)
for v in female male natural-neutral natural-happy; do
  grep -q "^ *$v" <<<"$voices" || fail "spd-say -L does not list $v: $voices"
done

sentence="今日は良い天気です。明日も晴れるでしょう。"
normal=$(said "$sentence")
awk -v s="$normal" 'BEGIN { exit !(s > 1.0) }' || fail "speech was not heard: ${normal}s voiced"
slow=$(said -r -60 "$sentence")
fast=$(said -r 60 "$sentence")
awk -v s="$slow" -v f="$fast" 'BEGIN { exit !(s > 1.5 * f) }' ||
  fail "a slower rate did not last longer: slow ${slow}s, fast ${fast}s"
echo "spoken for: normal ${normal}s, rate -60 ${slow}s, rate +60 ${fast}s"

# A stop after a second silences a text of many seconds.
long=""
for _ in $(seq 1 8); do long+="$sentence"; done
record_start "$work/rec.raw" || exit 1
result=$(client stop 1.0 "$long")
record_stop 1.0
stopped=$(client voiced "$work/rec.raw")
[ "$result" = stopped ] || fail "no stop event: $result"
awk -v s="$stopped" 'BEGIN { exit !(s < 3.0) }' || fail "the stop did not silence: ${stopped}s voiced"
echo "stopped after 1 s: ${stopped}s voiced"

# Index marks arrive in order, each after the text before it.
# A character is said by name (one the reading has no word for too); spelling says each
# character; the punctuation mode says marks by name.
symbol=$(said -c "😀")
awk -v s="$symbol" 'BEGIN { exit !(s > 0.2) }' || fail "a character without a reading was not said: ${symbol}s"
whole=$(said "あいうえお")
spelled=$(said -s "あいうえお")
awk -v w="$whole" -v s="$spelled" 'BEGIN { exit !(s > w + 0.5) }' ||
  fail "spelling did not say each character: ${spelled}s, whole ${whole}s"
none=$(said -m none "「はい」。")
all=$(said -m all "「はい」。")
awk -v n="$none" -v a="$all" 'BEGIN { exit !(a > n + 1.0) }' ||
  fail "the punctuation mode all did not say the marks: ${all}s, none ${none}s"
echo "said: 😀 ${symbol}s; あいうえお ${whole}s, spelled ${spelled}s; marks none ${none}s, all ${all}s"

# A short message ends once it has been heard, not seconds later: spd-say -w returns then.
timeout 60 spd-say -w -o yomi6 -l ja -y natural-neutral "はい。" # the voice loaded once
slowest=0
for _ in 1 2 3; do
  start=$(date +%s%N)
  timeout 60 spd-say -w -o yomi6 -l ja -y natural-neutral "あ。"
  took=$((($(date +%s%N) - start) / 1000000))
  [ "$took" -gt "$slowest" ] && slowest=$took
done
[ "$slowest" -lt 1500 ] || fail "a short message ended ${slowest} ms after it was sent"
echo "a short message said and ended in ${slowest} ms at most"

marks=$(client marks '<speak>一つ目。<mark name="m1"/>二つ目。<mark name="m2"/>三つ目。<mark name="m3"/></speak>')
[ "$marks" = "m1 m2 m3 end" ] || fail "marks: '$marks'"

# A storm of stops: the module keeps serving.
[ "$(timeout 150 "$py" "$here/module_client.py" storm 50)" = end ] || fail "the module did not serve after a storm of stops"
after=$(said "まだ話せます。")
awk -v s="$after" 'BEGIN { exit !(s > 0.3) }' || fail "no speech after a storm of stops: ${after}s"

echo "failures: $failures"
if [ "$failures" -ne 0 ]; then
  echo "--- server log"
  grep -v "LINE here" "$work/log/speech-dispatcher.log" | tail -n 30
  tail -n 20 "$work/log/yomi6.log"
  exit 1
fi
echo "module_server: all passed"
