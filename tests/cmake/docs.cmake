# The manual page, --version and the AppStream metainfo against the built program.
if(TARGET yomi6)
  add_test(NAME docs
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/docs.sh $<TARGET_FILE:yomi6>
                   ${yomi6_generated}/yomi6.1
                   ${yomi6_generated}/${YOMI6_APPSTREAM_ID}.metainfo.xml ${PROJECT_VERSION})
  set_tests_properties(docs PROPERTIES LABELS cli SKIP_RETURN_CODE 77)
endif()
# The README as a front door and docs/architecture.md against the tree (needs no build).
add_test(NAME docs_map COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/docs_map.py
                               ${PROJECT_SOURCE_DIR})
set_tests_properties(docs_map PROPERTIES LABELS docs)
