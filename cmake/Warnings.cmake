# Warnings for the project's own targets (not for generated sources).
function(yomi6_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast
                                             -Woverloaded-virtual)
  endif()
endfunction()
