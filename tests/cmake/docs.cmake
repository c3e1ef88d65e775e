# The manual page, --version and the AppStream metainfo against the built program.
if(TARGET yomi6)
  add_test(NAME docs
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/docs.sh $<TARGET_FILE:yomi6>
                   ${yomi6_generated}/yomi6.1
                   ${yomi6_generated}/${YOMI6_APPSTREAM_ID}.metainfo.xml ${PROJECT_VERSION})
  set_tests_properties(docs PROPERTIES LABELS cli SKIP_RETURN_CODE 77)
endif()
