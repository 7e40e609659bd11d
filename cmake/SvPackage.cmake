# Debian packages made with "cpack -G DEB": svqpeek (the tool, its catalogs and, when
# shared, the libraries) and svqpeek-dev (headers, libraries, CMake package, svq.pc).
# Configure with -DCMAKE_INSTALL_PREFIX=/usr so that the paths fit the packages.
set(SV_PACKAGE_MAINTAINER "The SvqPeek developers <maintainers@svqpeek.invalid>"
    CACHE STRING "Maintainer field of the Debian packages")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "svqpeek")
set(CPACK_PACKAGE_VENDOR "The SvqPeek developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
# The tool is installed without a component name; it belongs to the main package.
set(CPACK_COMPONENTS_ALL Runtime Unspecified Development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shared build ships the libraries in the main package with their shlibs file, and
# has dpkg run ldconfig by a trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
if(BUILD_SHARED_LIBS)
  file(WRITE "${PROJECT_BINARY_DIR}/debian/triggers" "activate-noawait ldconfig\n")
  set(CPACK_DEBIAN_MAIN_PACKAGE_CONTROL_EXTRA "${PROJECT_BINARY_DIR}/debian/triggers")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

set(CPACK_DEBIAN_MAIN_PACKAGE_NAME "svqpeek")
set(CPACK_DEBIAN_MAIN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_MAIN_DESCRIPTION "inspect SVQ dictionary files
SvqPeek prints a fixed report of one SVQ dictionary file (a binary,
multilingual translation dictionary): its header, languages, translation
rows and information block. It only reads the file.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME "svqpeek-dev")
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION "libdevel")
set(CPACK_DEBIAN_DEV_DESCRIPTION "SVQ dictionary reader library - development files
Headers, libraries, the CMake package SvqPeek and the pkg-config file svq
of the SVQ reader and its language, locale and code page library.")
# The main package holds the catalogs and, when shared, the libraries; users link
# ICU, expat, fontconfig, Pango and Cairo (found through pkg-config), and the headers
# include the ODBC headers.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "svqpeek (= ${PROJECT_VERSION}), libicu-dev, libexpat1-dev, libfontconfig-dev, libpango1.0-dev, libcairo2-dev, unixodbc-dev, pkgconf | pkg-config")

# Each package's copyright file and changelog (docs/copyright, docs/changelog), in
# its folder of share/doc; Debian wants the changelog compressed.
find_program(SV_GZIP gzip)
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
foreach(sv_package IN ITEMS svqpeek:Runtime svqpeek-dev:Development)
  string(REPLACE ":" ";" sv_package "${sv_package}")
  list(GET sv_package 0 sv_name)
  list(GET sv_package 1 sv_component)
  install(FILES "${PROJECT_SOURCE_DIR}/docs/copyright" "${sv_changelog}"
          DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/${sv_name}"
          COMPONENT ${sv_component})
endforeach()

include(CPack)

cpack_add_component_group(main)
cpack_add_component_group(dev)
cpack_add_component(Runtime GROUP main)
cpack_add_component(Unspecified GROUP main)
cpack_add_component(Development GROUP dev)
