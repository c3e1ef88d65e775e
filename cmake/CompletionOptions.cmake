# Writes the bash completion script with the options that "yomi6 --help" prints.
# -DPROGRAM=<built yomi6> -DTEMPLATE=<yomi6.bash.in> -DOUTPUT=<completion file>
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()
string(REGEX MATCHALL "--[a-z][a-z0-9-]*" options "${help}")
list(REMOVE_DUPLICATES options)
if(NOT options)
  message(FATAL_ERROR "${PROGRAM} --help lists no options")
endif()
list(JOIN options " " YOMI6_OPTIONS)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
