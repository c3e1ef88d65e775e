# Address and undefined-behaviour sanitizers for every target when YOMI6_SANITIZE is on.
if(YOMI6_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz build: every target (the libraries the fuzz targets link included) carries libFuzzer's
# coverage instrumentation and both sanitizers, so that the fuzzer sees the library's branches
# and the sanitizers check its code. Undefined behaviour aborts, so the fuzzer reports it.
if(YOMI6_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "YOMI6_FUZZ needs clang (CXX=clang++); this is ${CMAKE_CXX_COMPILER_ID}")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all
                      -fsanitize-coverage-ignorelist=${PROJECT_SOURCE_DIR}/fuzz/coverage_ignorelist.txt)
  add_link_options(-fsanitize=address,undefined)
endif()
