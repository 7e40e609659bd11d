# Merges the template into the catalog of every language, and starts the catalog of a
# language that has none yet from the template.
# Run as: cmake -DMSGMERGE=<exe> -DMSGINIT=<exe> -DPOT=<file> -DPO_DIR=<dir> -P SvPoUpdate.cmake
include("${CMAKE_CURRENT_LIST_DIR}/SvLinguas.cmake")
sv_read_linguas("${PO_DIR}" LANGUAGES)
foreach(code IN LISTS LANGUAGES)
  set(po "${PO_DIR}/${code}.po")
  if(EXISTS "${po}")
    execute_process(COMMAND "${MSGMERGE}" --quiet --update --backup=none --previous "${po}" "${POT}"
                    RESULT_VARIABLE failed)
  else()
    execute_process(COMMAND "${MSGINIT}" --no-translator "--locale=${code}" "--input=${POT}"
                            "--output-file=${po}"
                    RESULT_VARIABLE failed)
    # msginit takes the charset of the C locale; the catalogs are UTF-8.
    if(NOT failed)
      file(READ "${po}" text)
      string(REPLACE "charset=ASCII" "charset=UTF-8" text "${text}")
      file(WRITE "${po}" "${text}")
    endif()
    message(STATUS "Started po/${code}.po: translate it, then build again")
  endif()
  if(failed)
    message(FATAL_ERROR "Updating po/${code}.po failed")
  endif()
endforeach()
