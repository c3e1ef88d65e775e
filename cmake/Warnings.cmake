# Warnings for the project's own targets (not for generated sources). YOMI6_WERROR makes them
# errors: off for users, whose newer compilers may warn of more; on in CI (.ci/run), so that
# no change brings a new warning in.
option(YOMI6_WERROR "Treat the project's warnings as errors" OFF)

function(yomi6_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast
                                             -Woverloaded-virtual)
    if(YOMI6_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()
