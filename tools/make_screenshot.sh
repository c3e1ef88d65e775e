#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture of the editor: the built program on a private
# virtual X server and sound server, a short public-domain text (the opening of 夏目漱石
# 「吾輩は猫である」) read automatically with the reading pane shown, captured with ffmpeg's
# x11grab while the unit being heard is highlighted.
#   tools/make_screenshot.sh [BUILD_DIR] [OUT.png]
# Needs Xvfb, xdotool, ffmpeg, pulseaudio and a Japanese font (fonts-noto-cjk).
set -euo pipefail
checkout=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$checkout/build}")
out=$(realpath -m "${2:-$checkout/docs/screenshot.png}")
yomi6="$build/src/yomi6"
for tool in Xvfb xdotool ffmpeg pulseaudio iconv; do
  command -v "$tool" >/dev/null || { echo "make_screenshot.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$yomi6" ] || { echo "make_screenshot.sh: no $yomi6 (tools/build.sh yomi6)" >&2; exit 1; }
# shellcheck source=../tests/e2e/xvfb_server.sh
. "$checkout/tests/e2e/xvfb_server.sh"
# shellcheck source=../tests/e2e/pulse_server.sh
. "$checkout/tests/e2e/pulse_server.sh"

work=$(mktemp -d)
editor_pid=""
finish() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null && wait "$editor_pid" 2>/dev/null
  stop_pulse
  stop_xvfb
  rm -rf "$work"
}
trap finish EXIT
start_xvfb "$work/x"
start_pulse "$work/pulse"

# A settings file of our own: the automatic reading, the reading pane in hiragana, lines
# wrapped, the window at the top left, 900 by 440 pixels.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" HOME="$work"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
iconv -f UTF-8 -t CP932 >"$XDG_CONFIG_HOME/yomi6.ini" <<'INI'
[よみあげPadのセッティング]
右端で折り返す=1
読み方=1
読みパネル=1
読みパネルの文字=1
X1=0
Y1=0
X2=900
Y2=440
INI
sed 's/$/\r/' <<'TEXT' | iconv -f UTF-8 -t CP932 >"$work/neko.txt"
吾輩は猫である
夏目漱石

　吾輩は猫である。名前はまだ無い。
　どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。吾輩はここで始めて人間というものを見た。しかもあとで聞くとそれは書生という人間中で一番獰悪な種族であったそうだ。
TEXT

cd "$work"
"$yomi6" neko.txt >editor.out 2>editor.err &
editor_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name 'よみあげPad' | head -n 1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 2
# The caret into the first sentence of the body, then read from there.
xdotool key --window "$window" ctrl+Home Down Down Down
sleep 0.5
xdotool key --window "$window" ctrl+F3
xdotool mousemove 899 439
sleep "${YOMI6_SHOT_DELAY:-2.5}"
ffmpeg -loglevel error -y -f x11grab -video_size 900x440 -i "$DISPLAY+0,0" -frames:v 1 \
  "$work/shot.png"
mkdir -p "$(dirname "$out")"
mv "$work/shot.png" "$out"
echo "$out"
