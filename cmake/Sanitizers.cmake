# Address and undefined-behaviour sanitizers for every target when YOMI6_SANITIZE is on.
if(YOMI6_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
