# Fails when groff warns about the manual page.
# Run as: cmake -DSV_MAN_PAGE=<file> -P SvManCheck.cmake
find_program(GROFF groff REQUIRED)
execute_process(COMMAND ${GROFF} -ww -man -Tutf8 -z ${SV_MAN_PAGE}
  RESULT_VARIABLE result ERROR_VARIABLE warnings)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff on ${SV_MAN_PAGE}: ${result}\n${warnings}")
endif()
