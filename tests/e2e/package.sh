#!/usr/bin/env bash
# The Debian package: built with cpack into a private folder, its metadata and contents checked,
# lintian run on it (no errors; warnings are shown). As root (as in CI) it is also installed with
# apt-get, the installed program is run, and the package is purged again, also when a check
# fails. A machine where a yomi6 package is already installed keeps it: the install part is
# skipped. YOMI6_PACKAGE_NO_INSTALL=1 skips it too.
set -u
# shellcheck source=checks.sh
. "$(dirname "$(realpath "$0")")/checks.sh"
build=$(realpath "$1")
golden=$(realpath "$2")
installed_here=0
purge_installed() {
  if [ "$installed_here" -eq 1 ]; then
    dpkg --purge yomi6 >/dev/null 2>&1 || echo "FAIL: could not purge yomi6; purge it by hand"
  fi
}
enter_scratch_folder purge_installed
chmod 755 "$work" # apt-get reads the package as its own unprivileged user
trap 'exit 1' INT TERM HUP


# shellcheck disable=SC2034 # read by a check condition
version=$("$build/src/yomi6" --version | sed -n 's/.*(yomi6 \(.*\))$/\1/p')
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1
check "cpack -G DEB succeeds" '[ $? -eq 0 ] || { cat "$work/cpack.log"; false; }'
deb=$(find "$work/package" -maxdepth 1 -name 'yomi6_*.deb' 2>/dev/null | sort | head -n 1)
check "one package file" '[ -n "$deb" ]'
[ -n "$deb" ] || { echo "$passes passed, $failures failed"; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# Metadata.
field() { dpkg-deb -f "$deb" "$1"; }
check "package name" '[ "$(field Package)" = yomi6 ]'
check "version" '[ "$(field Version)" = "$version-1" ]'
check "architecture" '[ "$(field Architecture)" = "$(dpkg --print-architecture)" ]'
check "maintainer" '[ -n "$(field Maintainer)" ]'
check "section" '[ "$(field Section)" = editors ]'
depends=$(field Depends)
echo "Depends: $depends"
for p in libqt6widgets6 libqt6multimedia6 libqt6printsupport6 libc6 libstdc++6; do
  check "computed dependency on $p" 'grep -qE "(^|, )${p//+/\\+}( |,|$)" <<<"$depends"'
done
for p in fonts-noto-cjk mecab-ipadic-utf8 libqt6svg6 qt6-translations-l10n libhtsengine1; do
  check "run-time dependency on $p" 'grep -qE "(^|, )$p( |,|$)" <<<"$depends"'
done
check "no build-only dependency" \
  '! grep -qE -- "-dev( |,|$)|(^|, )(cmake|ninja-build|g\+\+|clang|pkg-config)( |,|$)" <<<"$depends"'
check "a sound server is recommended" 'grep -q pulse <<<"$(field Recommends)"'
# The natural voice's dictionary: recommended, since the sample voices speak without it; the
# engine program is not needed to speak.
check "recommends open-jtalk-mecab-naist-jdic" \
  'grep -qE "(^|, )open-jtalk-mecab-naist-jdic( |,|$)" <<<"$(field Recommends)"'
# The English pronouncing dictionary: recommended, since without it English words are spelled.
check "recommends festlex-cmu" 'grep -qE "(^|, )festlex-cmu( |,|$)" <<<"$(field Recommends)"'
check "the engine program is not asked for" '! grep -qE "(^|, )open-jtalk( |,|$)" <<<"$depends, $(field Recommends)"'

dpkg-deb -I "$deb" >"$work/info.txt"
check "dpkg-deb -I" '[ $? -eq 0 ] && grep -q "Description: " "$work/info.txt"'

# Contents.
dpkg-deb --contents "$deb" | awk '{print $1, $NF}' >"$work/contents.txt"
has() { grep -qE "^$1 \./$2\$" "$work/contents.txt"; }
check "the program, executable" 'has -rwxr-xr-x usr/bin/yomi6'
check "the Qt program, executable" 'has -rwxr-xr-x usr/libexec/yomi6-qt'
check "the sound program, executable" 'has -rwxr-xr-x usr/libexec/yomi6-sound'
for f in usr/share/applications/yomi6.desktop usr/share/icons/hicolor/scalable/apps/yomi6.svg \
         usr/share/metainfo/io.yomi6.Yomi6.metainfo.xml usr/share/man/man1/yomi6.1.gz \
         usr/share/bash-completion/completions/yomi6 usr/share/doc/yomi6/copyright \
         usr/share/doc/yomi6/changelog.Debian.gz; do
  check "contains $f" 'has -rw-r--r-- "$f"'
done
for f in usr/share/yomi6/voices/tohoku-f01/COPYRIGHT.txt \
         usr/share/yomi6/voices/tohoku-f01/tohoku-f01-neutral.htsvoice \
         usr/share/yomi6/voices/tohoku-f01-kana/KA.wav usr/share/yomi6/voices/tohoku-f01-kana/README.md \
         usr/share/yomi6/voices/tohoku-f01-kana-low/KA.wav; do
  check "contains $f" 'has -rw-r--r-- "$f"'
done
check "the copyright file credits the voice" \
  'dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/yomi6/copyright |
   grep -q "Files: voices/tohoku-f01/\*"'
# Everything under /usr but the module's configuration, a conffile where the sound server reads
# its modules' configuration.
check "everything under /usr or the module's configuration" \
  '! grep -vqE " \./(usr/.*|etc/(speech-dispatcher/(modules/(yomi6\.conf)?)?)?)?$" "$work/contents.txt"'
check "the module's configuration is a conffile" \
  'dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /etc/speech-dispatcher/modules/yomi6.conf'
check "owned by root" '! dpkg-deb --contents "$deb" | grep -vq " root/root "'
check "the program is stripped" \
  'dpkg-deb -x "$deb" "$work/x" && ! file "$work/x/usr/bin/yomi6" | grep -q "not stripped"'
check "the Qt program is stripped" '! file "$work/x/usr/libexec/yomi6-qt" | grep -q "not stripped"'
check "the sound program is stripped" '! file "$work/x/usr/libexec/yomi6-sound" | grep -q "not stripped"'

# lintian: errors fail the test; everything it says is shown.
if command -v lintian >/dev/null; then
  lintian --allow-root "$deb" >"$work/lintian.txt" 2>&1
  echo "lintian:"; sed 's/^/  /' "$work/lintian.txt"
  check "lintian reports no errors" '! grep -q "^E: " "$work/lintian.txt"'
else
  echo "FAIL: lintian is missing (tools/install-deps.sh installs it)"
  failures=$((failures + 1))
fi

# Install, run, purge: only as root, never over an installed yomi6, one run at a time.
if [ "$(id -u)" -ne 0 ] || [ -n "${YOMI6_PACKAGE_NO_INSTALL:-}" ]; then
  echo "SKIP: installing the package (needs root; YOMI6_PACKAGE_NO_INSTALL unset)"
else
  exec 9>/var/lock/yomi6-package-test.lock
  flock -w 900 9
  if dpkg-query -W -f='${Status}' yomi6 2>/dev/null | grep -q "ok installed"; then
    echo "SKIP: a yomi6 package is installed on this machine; it is left alone"
  else
    installed_here=1
    DEBIAN_FRONTEND=noninteractive apt-get install -y -o DPkg::Lock::Timeout=600 "$deb" \
      >"$work/apt.log" 2>&1
    check "apt-get install ./yomi6.deb" '[ $? -eq 0 ] || { tail -n 20 "$work/apt.log"; false; }'
    check "installed yomi6 --version" \
      '[ "$(/usr/bin/yomi6 --version)" = "よみあげPad Ver6.0 (yomi6 $version)" ]'
    /usr/bin/yomi6 --reading "$golden/reading_kanji_line.txt" --readings dictionary >reading.out 2>reading.err
    check "installed yomi6 --reading" 'cmp -s reading.out "$golden/reading_kanji_line.expected"'
    QT_QPA_PLATFORM=offscreen /usr/bin/yomi6 --pdf out.pdf "$golden/reading_kanji_line.txt"
    check "installed yomi6 --pdf, through the installed Qt program" \
      '[ $? -eq 0 ] && [ "$(head -c 5 out.pdf)" = "%PDF-" ]'
    check "the manual page is found" '[ "$(man -w yomi6 2>/dev/null)" = /usr/share/man/man1/yomi6.1.gz ]'
    # Automatic kanji reading: 東京, which no built-in dictionary row holds, reads ﾄｵｷｮｵ
    # (the dictionary mode leaves its bytes as they are).
    if /usr/bin/yomi6 --help | grep -q -- --readings; then
      printf '\x93\x8c\x8b\x9e' >tokyo.txt
      check "installed yomi6 --readings auto reads kanji" \
        '[ "$(/usr/bin/yomi6 --reading tokyo.txt --readings auto | od -An -tx1 | tr -d " \n")" = c4b5b7aeb5 ]'
    fi
    cd /
    dpkg --purge yomi6 >"$work/purge.log" 2>&1
    check "dpkg --purge yomi6" '[ $? -eq 0 ]'
    check "nothing left installed" \
      '! dpkg-query -W -f="\${Status}" yomi6 2>/dev/null | grep -q "ok installed" && [ ! -e /usr/bin/yomi6 ] && [ ! -e /usr/libexec/yomi6-qt ] && [ ! -e /usr/libexec/yomi6-sound ]'
    installed_here=0
  fi
fi

checks_done
