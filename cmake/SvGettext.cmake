# The string table: message ids are the English texts, marked with SvTr() or SvN().
# The build extracts them into po/SvqPeek.pot.
find_program(SV_XGETTEXT xgettext)

function(sv_add_pot_target)
  get_property(sources GLOBAL PROPERTY SV_GETTEXT_SOURCES)
  list(REMOVE_DUPLICATES sources)
  set(relative "")
  foreach(src IN LISTS sources)
    file(RELATIVE_PATH rel "${PROJECT_SOURCE_DIR}" "${src}")
    list(APPEND relative "${rel}")
  endforeach()
  if(NOT SV_XGETTEXT)
    message(STATUS "xgettext not found: po/${SV_TEXT_DOMAIN}.pot is not generated")
    return()
  endif()
  set(pot "${PROJECT_SOURCE_DIR}/po/${SV_TEXT_DOMAIN}.pot")
  set(raw "${PROJECT_BINARY_DIR}/po/${SV_TEXT_DOMAIN}.pot.raw")
  add_custom_command(
    OUTPUT "${raw}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/po"
    COMMAND ${SV_XGETTEXT} --language=C++ --from-code=UTF-8 --keyword=SvTr --keyword=SvN
            --package-name=${SV_TEXT_DOMAIN} --package-version=${PROJECT_VERSION}
            --sort-by-file --add-comments=TRANSLATORS -o "${raw}" ${relative}
    COMMAND ${CMAKE_COMMAND} -DIN=${raw} -DOUT=${pot} -P "${PROJECT_SOURCE_DIR}/cmake/SvPotStrip.cmake"
    DEPENDS ${sources}
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    COMMENT "Generating po/${SV_TEXT_DOMAIN}.pot")
  add_custom_target(sv_pot ALL DEPENDS "${raw}")
endfunction()
