# What "cmake --install" puts in place: the program and the Qt and sound programs it starts, its desktop
# entry, icon, AppStream metainfo, manual page and bash completion, and the package documents.
include(GNUInstallDirs)

set(YOMI6_APPSTREAM_ID io.yomi6.Yomi6)
set(yomi6_generated ${PROJECT_BINARY_DIR}/install)

install(TARGETS yomi6 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program yomi6 hands the editor, --speak and --pdf over to (src/cli/qt_program.h): one
# level under the prefix, as bin/ is, so that it finds <prefix>/share as yomi6 does.
install(TARGETS yomi6-qt RUNTIME DESTINATION libexec)
# The program it hands the modes that need the sound libraries over to, likewise.
install(TARGETS yomi6-sound RUNTIME DESTINATION libexec)
# The output module of speech-dispatcher, where Debian's speech-dispatcher looks for modules,
# and its configuration file, which the user's speechd.conf names (AddModule).
install(TARGETS sd_yomi6 RUNTIME DESTINATION lib/speech-dispatcher-modules)
install(FILES ${PROJECT_SOURCE_DIR}/resources/speech-dispatcher/yomi6.conf
        DESTINATION /etc/speech-dispatcher/modules)
install(FILES ${PROJECT_SOURCE_DIR}/resources/yomi6.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/app.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME yomi6.svg)

configure_file(${PROJECT_SOURCE_DIR}/resources/yomi6.metainfo.xml
               ${yomi6_generated}/${YOMI6_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${yomi6_generated}/${YOMI6_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page, compressed as Debian installs manual pages.
configure_file(${PROJECT_SOURCE_DIR}/resources/yomi6.1 ${yomi6_generated}/yomi6.1 @ONLY)
find_program(YOMI6_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${yomi6_generated}/yomi6.1.gz
  COMMAND ${YOMI6_GZIP} -9nfk ${yomi6_generated}/yomi6.1
  DEPENDS ${yomi6_generated}/yomi6.1
  COMMENT "Compressing the manual page"
  VERBATIM)

# The completion's option list comes from the built program's --help, so it follows the program.
add_custom_command(
  OUTPUT ${yomi6_generated}/yomi6.bash
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:yomi6>
          -DTEMPLATE=${PROJECT_SOURCE_DIR}/resources/completion/yomi6.bash.in
          -DOUTPUT=${yomi6_generated}/yomi6.bash -P ${PROJECT_SOURCE_DIR}/cmake/CompletionOptions.cmake
  DEPENDS yomi6 ${PROJECT_SOURCE_DIR}/resources/completion/yomi6.bash.in
          ${PROJECT_SOURCE_DIR}/cmake/CompletionOptions.cmake
  COMMENT "Writing the bash completion from yomi6 --help"
  VERBATIM)
add_custom_target(yomi6_install_files ALL
                  DEPENDS ${yomi6_generated}/yomi6.1.gz ${yomi6_generated}/yomi6.bash)

install(FILES ${yomi6_generated}/yomi6.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${yomi6_generated}/yomi6.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME yomi6)

# The package's copyright and change log, where Debian looks for them.
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/yomi6)
add_custom_command(
  OUTPUT ${yomi6_generated}/changelog.Debian.gz
  COMMAND ${YOMI6_GZIP} -9nc ${PROJECT_SOURCE_DIR}/resources/debian/changelog
          > ${yomi6_generated}/changelog.Debian.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog
  VERBATIM)
add_custom_target(yomi6_changelog ALL DEPENDS ${yomi6_generated}/changelog.Debian.gz)
install(FILES ${yomi6_generated}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/yomi6)

# The voices shipped with the program, each a folder under share/yomi6/voices/ with its licence
# beside it: the HTS voice for the natural reading, and the kana voice folder made from it (any
# folder voices/ holds is installed whole, so that a new voice needs no new rule).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/voices/ DESTINATION ${CMAKE_INSTALL_DATADIR}/yomi6/voices
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
