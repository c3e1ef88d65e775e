#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing yomi6 need, if missing.
# Uses sudo only when not root. Quiet when everything is there already.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format pkg-config
  libgtest-dev libbenchmark-dev
  # voice folders: resampling (libsoxr); exported sound files: the encoders (libsndfile)
  libsoxr-dev libsndfile1-dev
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev libgl-dev
  # the automatic reading: the morphological analyzer and its IPADIC dictionary in UTF-8
  libmecab-dev mecab-ipadic-utf8
  # the automatic reading's English words: the CMU pronouncing dictionary
  festlex-cmu
  # time-scaling of the voice samples
  librubberband-dev
  # the natural voice said in our own process: the HMM synthesis engine (libhtsengine1 at run time)
  libhtsengine-dev libhtsengine1
  # the natural voice: the Open JTalk engine and its dictionary (also what makes the kana voice
  # folder in voices/, and the labels of the synthesis tests until our own label library lands)
  open-jtalk open-jtalk-mecab-naist-jdic
  # running: a Japanese font, Qt's own texts in Japanese, sound through PulseAudio
  fonts-noto-cjk qt6-translations-l10n pulseaudio-utils
  # the speech-dispatcher module: its sound through PulseAudio's simple API; its tests run the
  # real server and drive it with spd-say and the Python client
  libpulse-dev speech-dispatcher python3-speechd
  # tests: a sound server with a null sink, an X server for the end-to-end runs, PDF reading
  pulseaudio xvfb xauth xdotool poppler-utils
  # tests: a small window manager that frames the editor's window, and what measures the frame
  twm x11-utils
  # tests of exported sound files and voice folders: independent tools for their formats
  ffmpeg sox
  # the reading accuracy evaluator
  python3
  # benchmarks of whole processes
  hyperfine
  # the gates of tools/check.sh: static analysis of the C++ and of the shell scripts
  clang-tidy shellcheck
  # the package and the installed files: dpkg-shlibdeps, lintian, the AppStream validator, man
  dpkg-dev lintian appstream man-db file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
