# How much of real Japanese prose yomi6 reads aloud correctly: tools/reading_accuracy.py over
# tests/accuracy/sentences.tsv (technical prose), tests/accuracy/literary.tsv (literature) and
# tests/accuracy/aozora.tsv (literature in Aozora Bunko notation, read as such, where every
# ruby'd word must be read as its ruby).
# It uses the automatic reading mode when the program offers one and fails below the limit set
# for that mode. Each limit is the level reached (tests/accuracy/README.md), so a regression
# fails. The analyzer's dictionary is named for each test: the one a new user gets without
# UniDic (the Open JTalk dictionary, which tools/install-deps.sh installs for the natural voice,
# else IPADIC, installed with the program), IPADIC on the Aozora set besides, and UniDic, used in
# their place when installed, where it is installed.
find_package(Python3 COMPONENTS Interpreter)
set(YOMI6_ACCURACY_MIN_DICTIONARY "60" CACHE STRING
    "Lowest share (per cent) of morae read correctly in the dictionary mode")
# Technical prose: 99.25 while every Latin word was spelled; since English words are said in
# katakana, 99.03: the references spell some command names (groff) and write some loanwords
# otherwise than the rules do (locale ロケール, allow アロー); 99.59 since 行 ぎょう and 値 あたい.
set(YOMI6_ACCURACY_MIN_TECHNICAL "99.58" CACHE STRING
    "Lowest share (per cent) of morae of technical prose read correctly in the automatic mode")
set(YOMI6_ACCURACY_MIN_LITERARY "98.7" CACHE STRING
    "Lowest share (per cent) of morae of literature read correctly in the automatic mode")
set(YOMI6_ACCURACY_MIN_TECHNICAL_UNIDIC "99.66" CACHE STRING
    "The same for technical prose, with UniDic")
set(YOMI6_ACCURACY_MIN_LITERARY_UNIDIC "98.9" CACHE STRING
    "The same for literature, with UniDic")
set(YOMI6_ACCURACY_MIN_AOZORA "98.7" CACHE STRING
    "Lowest share (per cent) of morae of text in Aozora Bunko notation read correctly")
set(YOMI6_ACCURACY_MIN_AOZORA_UNIDIC "99.2" CACHE STRING
    "The same for text in Aozora Bunko notation, with UniDic")
# Share (per cent) of ruby'd words of the Aozora set that must be read whole as their ruby, and
# the most morae heard beyond its reference (notation read aloud, a ruby said after its base).
set(YOMI6_ACCURACY_AOZORA_RUBY "100")
set(YOMI6_ACCURACY_AOZORA_MAX_EXTRA "0.14")
set(YOMI6_ACCURACY_AOZORA_MAX_EXTRA_UNIDIC "0.04")
# The same limits for the Open JTalk dictionary.
set(YOMI6_ACCURACY_MIN_TECHNICAL_OPENJTALK "99.70" CACHE STRING
    "The same for technical prose, with the Open JTalk dictionary")
set(YOMI6_ACCURACY_MIN_LITERARY_OPENJTALK "99.35" CACHE STRING
    "The same for literature, with the Open JTalk dictionary")
set(YOMI6_ACCURACY_MIN_AOZORA_OPENJTALK "99.05" CACHE STRING
    "The same for text in Aozora Bunko notation, with the Open JTalk dictionary")
set(YOMI6_IPADIC_FOLDER "/var/lib/mecab/dic/ipadic-utf8")
set(YOMI6_OPENJTALK_FOLDER "/var/lib/mecab/dic/open-jtalk/naist-jdic")
set(YOMI6_UNIDIC_FOLDER "/var/lib/mecab/dic/unidic")

# One accuracy test: NAME over the test set SET with the dictionary in FOLDER, failing below
# LIMIT in the automatic mode; further arguments go to the tool.
function(yomi6_accuracy_test name set folder limit)
  add_test(NAME ${name}
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/reading_accuracy.py
                   $<TARGET_FILE:yomi6> ${CMAKE_CURRENT_SOURCE_DIR}/accuracy/${set}
                   --auto-if-supported --min-overall ${YOMI6_ACCURACY_MIN_DICTIONARY}
                   --min-overall-auto ${limit} ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS accuracy TIMEOUT 300
                       ENVIRONMENT "YOMI6_MECAB_DIC=${folder}")
endfunction()

if(Python3_Interpreter_FOUND)
  add_test(NAME reading_accuracy_tool
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/accuracy/reading_accuracy_test.py)
  set_tests_properties(reading_accuracy_tool PROPERTIES LABELS accuracy)
  if(TARGET yomi6)
    # The default without UniDic: the Open JTalk dictionary where installed, else IPADIC.
    if(EXISTS ${YOMI6_OPENJTALK_FOLDER}/sys.dic)
      set(default_folder ${YOMI6_OPENJTALK_FOLDER})
      set(suffix _OPENJTALK)
    else()
      set(default_folder ${YOMI6_IPADIC_FOLDER})
      set(suffix "")
    endif()
    yomi6_accuracy_test(reading_accuracy sentences.tsv ${default_folder}
                        ${YOMI6_ACCURACY_MIN_TECHNICAL${suffix}})
    yomi6_accuracy_test(reading_accuracy_literary literary.tsv ${default_folder}
                        ${YOMI6_ACCURACY_MIN_LITERARY${suffix}})
    # Each sentence is read as a line of an Aozora Bunko file, whose notation elsewhere makes
    # the whole file read as such (--aozora on), after the sentences of its work before it, so
    # that a word given a ruby in one is read by it in the next.
    yomi6_accuracy_test(reading_accuracy_aozora aozora.tsv ${default_folder}
                        ${YOMI6_ACCURACY_MIN_AOZORA${suffix}} --mode-args "--aozora on"
                        --whole-works --min-ruby ${YOMI6_ACCURACY_AOZORA_RUBY}
                        --max-extra ${YOMI6_ACCURACY_AOZORA_MAX_EXTRA})
    if(suffix)
      yomi6_accuracy_test(reading_accuracy_aozora_ipadic aozora.tsv ${YOMI6_IPADIC_FOLDER}
                          ${YOMI6_ACCURACY_MIN_AOZORA} --mode-args "--aozora on" --whole-works
                          --min-ruby ${YOMI6_ACCURACY_AOZORA_RUBY}
                          --max-extra ${YOMI6_ACCURACY_AOZORA_MAX_EXTRA})
    endif()
    if(EXISTS ${YOMI6_UNIDIC_FOLDER}/sys.dic)
      yomi6_accuracy_test(reading_accuracy_unidic sentences.tsv ${YOMI6_UNIDIC_FOLDER}
                          ${YOMI6_ACCURACY_MIN_TECHNICAL_UNIDIC})
      yomi6_accuracy_test(reading_accuracy_literary_unidic literary.tsv ${YOMI6_UNIDIC_FOLDER}
                          ${YOMI6_ACCURACY_MIN_LITERARY_UNIDIC})
      yomi6_accuracy_test(reading_accuracy_aozora_unidic aozora.tsv ${YOMI6_UNIDIC_FOLDER}
                          ${YOMI6_ACCURACY_MIN_AOZORA_UNIDIC} --mode-args "--aozora on"
                          --whole-works
                          --min-ruby ${YOMI6_ACCURACY_AOZORA_RUBY}
                          --max-extra ${YOMI6_ACCURACY_AOZORA_MAX_EXTRA_UNIDIC})
    endif()
  endif()
endif()
