# Fails when a catalog has a format error, a fuzzy or untranslated message, or lacks a
# message of the template.
# Run as: cmake -DMSGFMT=<exe> -DMSGCMP=<exe> -DPOT=<file> -DPO_DIR=<dir> -P SvPoCheck.cmake
include("${CMAKE_CURRENT_LIST_DIR}/SvLinguas.cmake")
sv_read_linguas("${PO_DIR}" LANGUAGES)
set(failures "")
foreach(code IN LISTS LANGUAGES)
  set(po "${PO_DIR}/${code}.po")
  execute_process(COMMAND "${MSGFMT}" --check --statistics -o /dev/null "${po}"
                  RESULT_VARIABLE failed ERROR_VARIABLE statistics OUTPUT_QUIET)
  if(failed OR statistics MATCHES "fuzzy|untranslated")
    list(APPEND failures "po/${code}.po: ${statistics}")
  endif()
  execute_process(COMMAND "${MSGCMP}" "${po}" "${POT}"
                  RESULT_VARIABLE failed ERROR_VARIABLE missing OUTPUT_QUIET)
  if(failed)
    list(APPEND failures "po/${code}.po lacks messages of the template: ${missing}")
  endif()
endforeach()
if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
