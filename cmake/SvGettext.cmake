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
            --sort-by-file --add-location=file --add-comments=TRANSLATORS -o "${raw}" ${relative}
    COMMAND ${CMAKE_COMMAND} -DIN=${raw} -DOUT=${pot} -P "${PROJECT_SOURCE_DIR}/cmake/SvPotStrip.cmake"
    DEPENDS ${sources}
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    COMMENT "Generating po/${SV_TEXT_DOMAIN}.pot")
  add_custom_target(sv_pot ALL DEPENDS "${raw}")
endfunction()

# The catalogs: po/<code>.po for each language code listed in po/LINGUAS.
find_program(SV_MSGFMT msgfmt)
find_program(SV_MSGMERGE msgmerge)
find_program(SV_MSGINIT msginit)

include("${CMAKE_CURRENT_LIST_DIR}/SvLinguas.cmake")

# sv_add_catalogs(PROGRAM target): compiles every catalog with msgfmt (target sv_catalogs),
# into the locale folder that the un-installed PROGRAM finds beside its own folder, and
# installs it for the text domain. Sets SV_BUILD_LOCALE_DIR and SV_LINGUAS.
# The target sv_po_update merges the template into every catalog and starts a catalog
# for a newly listed language.
function(sv_add_catalogs)
  cmake_parse_arguments(ARG "" "PROGRAM" "" ${ARGN})
  sv_read_linguas("${PROJECT_SOURCE_DIR}/po" languages)
  set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               "${PROJECT_SOURCE_DIR}/po/LINGUAS")
  get_target_property(program_dir ${ARG_PROGRAM} BINARY_DIR)
  cmake_path(ABSOLUTE_PATH SV_LOCALE_DIR_FROM_BIN BASE_DIRECTORY "${program_dir}" NORMALIZE
             OUTPUT_VARIABLE build_dir)
  set(pot "${PROJECT_SOURCE_DIR}/po/${SV_TEXT_DOMAIN}.pot")

  if(SV_MSGMERGE AND SV_MSGINIT)
    add_custom_target(sv_po_update
      COMMAND ${CMAKE_COMMAND} -DMSGMERGE=${SV_MSGMERGE} -DMSGINIT=${SV_MSGINIT} -DPOT=${pot}
              -DPO_DIR=${PROJECT_SOURCE_DIR}/po
              -P "${PROJECT_SOURCE_DIR}/cmake/SvPoUpdate.cmake"
      WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}/po"
      COMMENT "Merging po/${SV_TEXT_DOMAIN}.pot into the catalogs"
      VERBATIM)
    if(TARGET sv_pot)
      add_dependencies(sv_po_update sv_pot)
    endif()
  endif()

  if(NOT SV_MSGFMT)
    message(STATUS "msgfmt not found: the catalogs of po/ are not compiled")
    return()
  endif()
  set(outputs "")
  foreach(code IN LISTS languages)
    set(po "${PROJECT_SOURCE_DIR}/po/${code}.po")
    if(NOT EXISTS "${po}")
      message(STATUS "po/LINGUAS lists ${code}, but po/${code}.po is missing: "
                     "build the target sv_po_update to start it")
      continue()
    endif()
    set(mo "${build_dir}/${code}/LC_MESSAGES/${SV_TEXT_DOMAIN}.mo")
    add_custom_command(
      OUTPUT "${mo}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${build_dir}/${code}/LC_MESSAGES"
      COMMAND ${SV_MSGFMT} --check -o "${mo}" "${po}"
      DEPENDS "${po}"
      COMMENT "Compiling po/${code}.po"
      VERBATIM)
    list(APPEND outputs "${mo}")
    install(FILES "${mo}" DESTINATION "${CMAKE_INSTALL_LOCALEDIR}/${code}/LC_MESSAGES"
            COMPONENT Tools)
  endforeach()
  add_custom_target(sv_catalogs ALL DEPENDS ${outputs})
  set(SV_BUILD_LOCALE_DIR "${build_dir}" PARENT_SCOPE)
  set(SV_LINGUAS ${languages} PARENT_SCOPE)
endfunction()
