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
# A shared build ships the libraries in the main package with their shlibs file.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)

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
# ICU and expat, and the headers include the ODBC headers.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "svqpeek (= ${PROJECT_VERSION}), libicu-dev, libexpat1-dev, unixodbc-dev")

include(CPack)

cpack_add_component_group(main)
cpack_add_component_group(dev)
cpack_add_component(Runtime GROUP main)
cpack_add_component(Unspecified GROUP main)
cpack_add_component(Development GROUP dev)
