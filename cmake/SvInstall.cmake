# Install rules of the libraries: public headers under include/svqpeek/<folder>/, the
# libraries (static, or shared with -DBUILD_SHARED_LIBS=ON), the CMake package SvqPeek
# with the targets SvqPeek::<folder>, and the pkg-config file svq.pc.
# Included from the top-level CMakeLists.txt after every library folder.
include(CMakePackageConfigHelpers)

set(SV_INSTALL_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}/svqpeek")
set(SV_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/SvqPeek")

# The library of each folder, lowest layer first. A folder whose target does not
# exist (yet) is left out.
set(SV_INSTALL_FOLDERS text locale core xml language svq odbc app export stats)

# How the package's users find again what the exported targets link: one line of
# CMake code each, written into SvqPeekConfig.cmake.
set(SV_INSTALL_DEPENDENCIES
    "find_dependency(ICU 72 COMPONENTS uc i18n data)"
    "find_dependency(EXPAT)")
# pkg-config modules of the same (Requires of svq.pc).
set(SV_INSTALL_PC_REQUIRES icu-uc icu-i18n expat)
# The fonts and graphics modules of sv_language, found through pkg-config as the
# build finds them, under the imported target's own name.
if(SV_TEXT_GRAPHICS_MODULES)
  list(JOIN SV_TEXT_GRAPHICS_MODULES " " modules)
  list(APPEND SV_INSTALL_DEPENDENCIES
    "find_dependency(PkgConfig)"
    "if(NOT TARGET PkgConfig::SV_TEXT_GRAPHICS)
  pkg_check_modules(SV_TEXT_GRAPHICS QUIET IMPORTED_TARGET ${modules})
  if(NOT SV_TEXT_GRAPHICS_FOUND)
    set(SvqPeek_FOUND FALSE)
    set(SvqPeek_NOT_FOUND_MESSAGE \"SvqPeek needs the pkg-config modules ${modules}\")
    return()
  endif()
endif()")
  list(APPEND SV_INSTALL_PC_REQUIRES ${SV_TEXT_GRAPHICS_MODULES})
endif()

# Makes a library target fit for export: its include folder and the project's compiler
# options hold in the build tree only, and it gets a versioned name with a SONAME.
function(sv_prepare_export target folder)
  get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
  if(dirs)
    set(fixed "")
    foreach(dir IN LISTS dirs)
      string(FIND "${dir}" "${PROJECT_SOURCE_DIR}" in_source)
      string(FIND "${dir}" "${PROJECT_BINARY_DIR}" in_binary)
      if(in_source EQUAL 0 OR in_binary EQUAL 0)
        list(APPEND fixed "$<BUILD_INTERFACE:${dir}>")
      else()
        list(APPEND fixed "${dir}")
      endif()
    endforeach()
    set_property(TARGET ${target} PROPERTY INTERFACE_INCLUDE_DIRECTORIES "${fixed}")
  endif()
  get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
  if(links)
    list(TRANSFORM links REPLACE "^sv_options$" "$<BUILD_INTERFACE:sv_options>")
    list(TRANSFORM links REPLACE "^\\$<LINK_ONLY:sv_options>$" "$<BUILD_INTERFACE:sv_options>")
    set_property(TARGET ${target} PROPERTY INTERFACE_LINK_LIBRARIES "${links}")
  endif()
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${folder})
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    set_target_properties(${target} PROPERTIES
      OUTPUT_NAME svqpeek_${folder}
      VERSION ${PROJECT_VERSION}
      SOVERSION ${PROJECT_VERSION_MAJOR})
  endif()
  add_library(SvqPeek::${folder} ALIAS ${target})
endfunction()

set(sv_exported "")
set(sv_pc_libs "")
foreach(folder IN LISTS SV_INSTALL_FOLDERS)
  if(NOT TARGET sv_${folder})
    continue()
  endif()
  sv_prepare_export(sv_${folder} ${folder})
  list(APPEND sv_exported sv_${folder})
  get_target_property(type sv_${folder} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    # Higher layers first, as the linker wants them.
    list(PREPEND sv_pc_libs "-lsvqpeek_${folder}")
  endif()
  install(DIRECTORY "${PROJECT_SOURCE_DIR}/${folder}/"
          DESTINATION "${SV_INSTALL_INCLUDEDIR}/${folder}"
          COMPONENT Development
          FILES_MATCHING PATTERN "*.h")
endforeach()

install(TARGETS ${sv_exported}
  EXPORT SvqPeekTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime
          NAMELINK_COMPONENT Development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime
  INCLUDES DESTINATION ${SV_INSTALL_INCLUDEDIR})
install(EXPORT SvqPeekTargets
  NAMESPACE SvqPeek::
  DESTINATION ${SV_INSTALL_CMAKEDIR}
  COMPONENT Development)

# The installed tool and libraries find the shared libraries of their own install,
# wherever that is moved.
if(BUILD_SHARED_LIBS)
  foreach(target IN LISTS sv_exported)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    endif()
  endforeach()
  if(TARGET SvqPeek)
    file(RELATIVE_PATH sv_bin_to_lib "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBDIR}")
    set_target_properties(SvqPeek PROPERTIES INSTALL_RPATH "$ORIGIN/${sv_bin_to_lib}")
  endif()
endif()

# The CMake package.
set(SV_CONFIG_DEPENDENCIES "")
foreach(dependency IN LISTS SV_INSTALL_DEPENDENCIES)
  string(APPEND SV_CONFIG_DEPENDENCIES "${dependency}\n")
endforeach()
file(WRITE "${PROJECT_BINARY_DIR}/SvqPeekConfig.cmake.in" [=[
@PACKAGE_INIT@

include(CMakeFindDependencyMacro)
@SV_CONFIG_DEPENDENCIES@
include("${CMAKE_CURRENT_LIST_DIR}/SvqPeekTargets.cmake")
check_required_components(SvqPeek)
]=])
configure_package_config_file(
  "${PROJECT_BINARY_DIR}/SvqPeekConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/SvqPeekConfig.cmake"
  INSTALL_DESTINATION ${SV_INSTALL_CMAKEDIR})
write_basic_package_version_file(
  "${PROJECT_BINARY_DIR}/SvqPeekConfigVersion.cmake"
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/SvqPeekConfig.cmake"
              "${PROJECT_BINARY_DIR}/SvqPeekConfigVersion.cmake"
        DESTINATION ${SV_INSTALL_CMAKEDIR}
        COMPONENT Development)

# The pkg-config file; its prefix is found from its own place, so a moved install works.
file(RELATIVE_PATH SV_PC_TO_PREFIX "${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig"
     "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/$" "" SV_PC_TO_PREFIX "${SV_PC_TO_PREFIX}")
list(JOIN sv_pc_libs " " SV_PC_LIBS)
list(JOIN SV_INSTALL_PC_REQUIRES " " SV_PC_REQUIRES)
if(BUILD_SHARED_LIBS)
  # Shared libraries carry their own dependencies.
  set(SV_PC_REQUIRES_FIELD "Requires.private")
  set(SV_PC_LIBS_PRIVATE "${CMAKE_DL_LIBS}")
else()
  set(SV_PC_REQUIRES_FIELD "Requires")
  set(SV_PC_LIBS_PRIVATE "")
  if(CMAKE_DL_LIBS)
    string(APPEND SV_PC_LIBS " -l${CMAKE_DL_LIBS}")
  endif()
endif()
if(SV_PC_LIBS_PRIVATE)
  set(SV_PC_LIBS_PRIVATE "Libs.private: -l${SV_PC_LIBS_PRIVATE}")
endif()
file(WRITE "${PROJECT_BINARY_DIR}/svq.pc.in" [=[
prefix=${pcfiledir}/@SV_PC_TO_PREFIX@
exec_prefix=${prefix}
libdir=${prefix}/@CMAKE_INSTALL_LIBDIR@
includedir=${prefix}/@SV_INSTALL_INCLUDEDIR@

Name: svq
Description: SVQ dictionary reader with its language, locale and code page library
Version: @PROJECT_VERSION@
@SV_PC_REQUIRES_FIELD@: @SV_PC_REQUIRES@
Cflags: -I${includedir}
Libs: -L${libdir} @SV_PC_LIBS@
@SV_PC_LIBS_PRIVATE@
]=])
configure_file("${PROJECT_BINARY_DIR}/svq.pc.in" "${PROJECT_BINARY_DIR}/svq.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/svq.pc"
        DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
        COMPONENT Development)
