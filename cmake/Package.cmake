# The Debian package: "cpack -G DEB" in the build folder. Library dependencies are computed by
# dpkg-shlibdeps; what it cannot see (data the program loads at run time) is listed here.
set(CPACK_PACKAGE_NAME yomi6)
set(CPACK_PACKAGE_VENDOR "yomi6 developers")
set(CPACK_PACKAGE_CONTACT "yomi6 maintainers <maintainers@users.noreply.c-seed-9f4d80bc.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Japanese plain text that reads it aloud")
# The extended description: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "A multi-document editor for Japanese plain text in Shift-JIS (code page 932)
that reads a document aloud: the text is turned into a half-width katakana
reading through a user pronunciation dictionary and fixed folding rules, and
spoken one recorded kana sample per timer tick, in a male or a female voice.
Command-line modes print the reading, render a WAVE file, speak, or print to
PDF.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so invisible to dpkg-shlibdeps: the analyzer's dictionary, a font with
# Japanese glyphs, Qt's SVG icon engine plugin that draws the program's icons, and Qt's Japanese
# translations of its standard dialogs and menus. A sound server is only needed for speaking.
# The HMM synthesis engine of the natural voice in our own process (src/engines/synthesis/): listed here
# while the program does not call it yet (the linker leaves it out of the program, so
# dpkg-shlibdeps cannot see it); once the program speaks through it, dpkg-shlibdeps lists it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "mecab-ipadic-utf8, fonts-noto-cjk, libqt6svg6, qt6-translations-l10n, libhtsengine1")
# The natural voice is said in our own process (libhtsengine); the dictionary with the words'
# accents is recommended, not required: without it the program still speaks with the sample
# voices (the default of both slots, and what a slot falls back to), and the kana voice folder
# made from the natural voice is shipped ready-made. The English pronouncing dictionary
# (festlex-cmu) is recommended too: without it English words are spelled.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "pipewire-pulse | pulseaudio, open-jtalk-mecab-naist-jdic, festlex-cmu")
# UniDic reads literature better than IPADIC and is used when installed, but at 1 GB to download
# (5 GB installed) it is only suggested; so is speech-dispatcher, for which the package has the
# module sd_yomi6 (the desktop's Japanese voice for the screen reader and other programs).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "unidic-mecab, speech-dispatcher")
# The module's configuration file in /etc is the administrator's to change: a conffile.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/resources/debian/conffiles)
# Directories owned by the system stay 0755, files 0644, the program 0755.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
