# Debian packages made with "cpack -G DEB", laid out as Debian lays out a library:
#   svqpeek                  the programs, their manual pages and the catalogs
#   libsvqpeek-<folder><N>   one per shared library, named after its SONAME
#                            libsvqpeek_<folder>.so.<N> (shared builds only)
#   libsvqpeek-dev           headers, the libraries' links or archives, the CMake
#                            package and svq.pc
# The lists of SV_INSTALL_FOLDERS and SV_INSTALL_PROGRAMS decide what goes where.
# Configure with -DCMAKE_INSTALL_PREFIX=/usr so that the paths fit the packages.
set(SV_PACKAGE_MAINTAINER "The SvqPeek developers <maintainers@svqpeek.invalid>"
    CACHE STRING "Maintainer field of the Debian packages")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "svqpeek")
set(CPACK_PACKAGE_VENDOR "The SvqPeek developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file in each package that holds a shared library.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Each package's copyright file and changelog (docs/copyright, docs/changelog), in
# its folder of share/doc; Debian wants the changelog compressed.
set(sv_changelog "${PROJECT_SOURCE_DIR}/docs/changelog")
if(SV_GZIP)
  set(sv_changelog "${PROJECT_BINARY_DIR}/doc/changelog.gz")
  add_custom_command(OUTPUT "${sv_changelog}"
    COMMAND ${CMAKE_COMMAND} -E copy "${PROJECT_SOURCE_DIR}/docs/changelog"
            "${PROJECT_BINARY_DIR}/doc/changelog"
    COMMAND ${SV_GZIP} -9nf "${PROJECT_BINARY_DIR}/doc/changelog"
    DEPENDS "${PROJECT_SOURCE_DIR}/docs/changelog"
    COMMENT "Compressing the changelog"
    VERBATIM)
  add_custom_target(sv_changelog_gz ALL DEPENDS "${sv_changelog}")
endif()
function(sv_package_docs package component)
  install(FILES "${PROJECT_SOURCE_DIR}/docs/copyright" "${sv_changelog}"
          DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}"
          COMPONENT ${component})
endfunction()

set(sv_all_folders ${SV_INSTALL_FOLDERS} ${SV_INSTALL_GRAPHICS_FOLDERS})

# sv_shared_folders(<out> <target>...): the folders of the shared libraries that the
# targets link, directly or through other libraries of the project.
function(sv_shared_folders out)
  set(folders "")
  set(pending ${ARGN})
  set(seen "")
  while(pending)
    list(POP_FRONT pending target)
    if(target IN_LIST seen OR NOT TARGET ${target})
      continue()
    endif()
    list(APPEND seen ${target})
    get_target_property(type ${target} TYPE)
    string(REGEX REPLACE "^sv_" "" folder ${target})
    if(type STREQUAL "SHARED_LIBRARY" AND folder IN_LIST sv_all_folders)
      list(APPEND folders ${folder})
    endif()
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${target} LINK_LIBRARIES)
      if(links)
        list(APPEND pending ${links})
      endif()
    endif()
    get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
    if(links)
      list(TRANSFORM links REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1")
      list(APPEND pending ${links})
    endif()
  endwhile()
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# The runtime package of a shared library's folder, named after its SONAME with "_"
# as "-" and the SONAME's version appended.
function(sv_library_package out folder)
  set(${out} "libsvqpeek-${folder}${PROJECT_VERSION_MAJOR}" PARENT_SCOPE)
endfunction()

# sv_depends(<out> <folder>...): "pkg (= version)" of each folder's runtime package.
function(sv_depends out)
  set(depends "")
  foreach(folder IN LISTS ARGN)
    sv_library_package(package ${folder})
    list(APPEND depends "${package} (= ${PROJECT_VERSION})")
  endforeach()
  list(JOIN depends ", " depends)
  set(${out} "${depends}" PARENT_SCOPE)
endfunction()

set(sv_components Tools)

# The tools' package: Depends from dpkg-shlibdeps for the system's libraries, and
# the runtime packages of the project's libraries that the programs link.
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME "svqpeek")
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION "utils")
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "inspect, export, count and compare SVQ dictionary files
SvqPeek prints a fixed report of one SVQ dictionary file (a binary,
multilingual translation dictionary): its header, languages, translation
rows and information block. svq exports a dictionary to TMX, XLIFF,
gettext PO, CSV and JSON, counts how far each translation is, and
compares two dictionaries. Both only read the files.")
sv_shared_folders(sv_tool_folders ${SV_INSTALL_PROGRAMS})
sv_depends(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS ${sv_tool_folders})
sv_package_docs(svqpeek Tools)

# A runtime package per shared library. dpkg runs ldconfig by a trigger. Naming a
# postinst and a postrm that do not exist keeps CPack from writing its own, which
# call ldconfig (lintian: maintscript-calls-ldconfig).
file(WRITE "${PROJECT_BINARY_DIR}/debian/triggers" "activate-noawait ldconfig\n")
set(sv_no_scripts "${PROJECT_BINARY_DIR}/debian/none/postinst"
                  "${PROJECT_BINARY_DIR}/debian/none/postrm")
set(sv_library_folders "")
foreach(folder IN LISTS sv_all_folders)
  if(NOT TARGET sv_${folder})
    continue()
  endif()
  get_target_property(type sv_${folder} TYPE)
  if(NOT type STREQUAL "SHARED_LIBRARY")
    continue()
  endif()
  string(TOUPPER "LIBRARY_${folder}" component)
  sv_library_package(package ${folder})
  list(APPEND sv_components Library_${folder})
  list(APPEND sv_library_folders ${folder})
  # dpkg-shlibdeps finds the library in its package's folder beside the others.
  list(APPEND CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
       "../Library_${folder}/usr/${CMAKE_INSTALL_LIBDIR}")
  set(CPACK_DEBIAN_${component}_PACKAGE_NAME "${package}")
  set(CPACK_DEBIAN_${component}_PACKAGE_SECTION "libs")
  set(CPACK_DEBIAN_${component}_PACKAGE_CONTROL_EXTRA
      "${PROJECT_BINARY_DIR}/debian/triggers" ${sv_no_scripts})
  set(CPACK_COMPONENT_${component}_DESCRIPTION "SVQ dictionary library - ${folder} part
The shared library libsvqpeek_${folder} of SvqPeek, the class library that
reads SVQ dictionary files (binary, multilingual translation dictionaries),
with its language, locale and code page support.")
  # The project's libraries below it; the system's come from dpkg-shlibdeps.
  get_target_property(links sv_${folder} LINK_LIBRARIES)
  sv_shared_folders(below ${links})
  list(REMOVE_ITEM below ${folder})
  sv_depends(CPACK_DEBIAN_${component}_PACKAGE_DEPENDS ${below})
  # Version 1.0.0 shipped the shared libraries in svqpeek.
  set(CPACK_DEBIAN_${component}_PACKAGE_BREAKS "svqpeek (<< 1.1.0)")
  set(CPACK_DEBIAN_${component}_PACKAGE_REPLACES "svqpeek (<< 1.1.0)")
  sv_package_docs(${package} Library_${folder})
endforeach()

# The development package. Its users link ICU, expat, fontconfig, Pango and Cairo
# (found through pkg-config), and the headers include the ODBC headers.
list(APPEND sv_components Development)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME "libsvqpeek-dev")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION "libdevel")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "SVQ dictionary library - development files
Headers, libraries, the CMake package SvqPeek and the pkg-config file svq
of SvqPeek's SVQ reader and its language, locale and code page library.")
sv_depends(sv_dev_depends ${sv_library_folders})
list(APPEND sv_dev_depends libicu-dev libexpat1-dev libfontconfig-dev libpango1.0-dev
     libcairo2-dev unixodbc-dev "pkgconf | pkg-config")
list(JOIN sv_dev_depends ", " CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS)
# Version 1.0.0 named it svqpeek-dev.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_BREAKS "svqpeek-dev (<< 1.1.0)")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_REPLACES "svqpeek-dev (<< 1.1.0)")
sv_package_docs(libsvqpeek-dev Development)

set(CPACK_COMPONENTS_ALL ${sv_components})
include(CPack)
