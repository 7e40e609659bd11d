# Install rules: the programs of SV_INSTALL_PROGRAMS and the manual pages of
# SV_INSTALL_MAN_PAGES (install component Tools); the library of each folder of
# SV_INSTALL_FOLDERS (static, or shared with -DBUILD_SHARED_LIBS=ON; a shared one in
# the component Library_<folder>); public headers under include/svqpeek/<folder>/, the
# CMake package SvqPeek with the targets SvqPeek::<folder>, and the pkg-config file
# svq.pc (component Development). A folder whose target does not exist (yet) is left
# out. The graphics library is the package's component "graphics" (its own export
# set, found only when asked for) with its own svq-graphics.pc, so that a program that
# reads dictionaries links without the fonts and graphics modules. Included from the top-level CMakeLists.txt after every library folder.
include(CMakePackageConfigHelpers)

set(SV_INSTALL_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}/svqpeek")
set(SV_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/SvqPeek")

# The programs, and a lower-case link to each whose name is not: Linux users type the
# name in lower case. They find the shared libraries of their own install, wherever
# it is moved.
file(RELATIVE_PATH sv_bin_to_lib "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBDIR}")
foreach(program IN LISTS SV_INSTALL_PROGRAMS)
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)
  string(TOLOWER "${program}" lower)
  if(NOT lower STREQUAL program)
    install(CODE "execute_process(COMMAND \${CMAKE_COMMAND} -E create_symlink ${program}
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${lower}\")"
      COMPONENT Tools)
  endif()
  if(BUILD_SHARED_LIBS)
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/${sv_bin_to_lib}")
  endif()
endforeach()

# The manual pages, compressed as Debian installs them, each also under its name in
# lower case.
find_program(SV_GZIP gzip)
set(sv_man_outputs "")
foreach(page IN LISTS SV_INSTALL_MAN_PAGES)
  get_filename_component(name "${page}" NAME)
  string(REGEX REPLACE ".*\\.([0-9])[^.]*$" "\\1" section "${name}")
  string(TOLOWER "${name}" lower)
  set(dir "${CMAKE_INSTALL_MANDIR}/man${section}")
  if(SV_GZIP)
    set(gz "${PROJECT_BINARY_DIR}/man/${name}.gz")
    add_custom_command(OUTPUT "${gz}"
      COMMAND ${CMAKE_COMMAND} -E copy "${PROJECT_SOURCE_DIR}/${page}" "${PROJECT_BINARY_DIR}/man/${name}"
      COMMAND ${SV_GZIP} -9nf "${PROJECT_BINARY_DIR}/man/${name}"
      DEPENDS "${PROJECT_SOURCE_DIR}/${page}"
      COMMENT "Compressing the manual page ${name}"
      VERBATIM)
    list(APPEND sv_man_outputs "${gz}")
    install(FILES "${gz}" DESTINATION "${dir}" COMPONENT Tools)
    if(NOT lower STREQUAL name)
      install(CODE "execute_process(COMMAND \${CMAKE_COMMAND} -E create_symlink ${name}.gz
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${dir}/${lower}.gz\")"
        COMPONENT Tools)
    endif()
  else()
    install(FILES "${PROJECT_SOURCE_DIR}/${page}" DESTINATION "${dir}" COMPONENT Tools)
    if(NOT lower STREQUAL name)
      install(FILES "${PROJECT_SOURCE_DIR}/${page}" DESTINATION "${dir}" RENAME "${lower}"
              COMPONENT Tools)
    endif()
  endif()
endforeach()
if(sv_man_outputs)
  add_custom_target(sv_man_gz ALL DEPENDS ${sv_man_outputs})
endif()

# How the package's users find again what the exported targets link: one line of
# CMake code each, written into SvqPeekConfig.cmake.
set(SV_INSTALL_DEPENDENCIES
    "find_dependency(ICU 72 COMPONENTS uc i18n data)"
    "find_dependency(EXPAT)")
# pkg-config modules of the same (Requires of svq.pc).
set(SV_INSTALL_PC_REQUIRES icu-uc icu-i18n expat)
# The fonts and graphics modules of sv_graphics, found through pkg-config as the
# build finds them, under the imported target's own name, when the component
# "graphics" is asked for.
set(SV_GRAPHICS_DEPENDENCIES "")
if(SV_TEXT_GRAPHICS_MODULES)
  list(JOIN SV_TEXT_GRAPHICS_MODULES " " modules)
  set(SV_GRAPHICS_DEPENDENCIES "find_dependency(PkgConfig)
  if(NOT TARGET PkgConfig::SV_TEXT_GRAPHICS)
    pkg_check_modules(SV_TEXT_GRAPHICS QUIET IMPORTED_TARGET ${modules})
  endif()")
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

# sv_install_folders(<export set> <targets var> <-l flags var> FOLDERS...): the
# library and headers of each folder, in the export set.
function(sv_install_folders export targets_var libs_var)
  set(targets "")
  set(libs "")
  foreach(folder IN LISTS ARGN)
    if(NOT TARGET sv_${folder})
      continue()
    endif()
    sv_prepare_export(sv_${folder} ${folder})
    list(APPEND targets sv_${folder})
    get_target_property(type sv_${folder} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      # Higher layers first, as the linker wants them.
      list(PREPEND libs "-lsvqpeek_${folder}")
    endif()
    install(DIRECTORY "${PROJECT_SOURCE_DIR}/${folder}/"
            DESTINATION "${SV_INSTALL_INCLUDEDIR}/${folder}"
            COMPONENT Development
            FILES_MATCHING PATTERN "*.h")
  endforeach()
  if(targets)
    # Each shared library in a component of its own, for a package of its own.
    foreach(target IN LISTS targets)
      string(REGEX REPLACE "^sv_" "" folder ${target})
      install(TARGETS ${target}
        EXPORT ${export}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Library_${folder}
                NAMELINK_COMPONENT Development
        INCLUDES DESTINATION ${SV_INSTALL_INCLUDEDIR})
    endforeach()
    install(EXPORT ${export}
      NAMESPACE SvqPeek::
      DESTINATION ${SV_INSTALL_CMAKEDIR}
      COMPONENT Development)
  endif()
  set(${targets_var} "${targets}" PARENT_SCOPE)
  set(${libs_var} "${libs}" PARENT_SCOPE)
endfunction()

sv_install_folders(SvqPeekTargets sv_exported sv_pc_libs ${SV_INSTALL_FOLDERS})
sv_install_folders(SvqPeekGraphicsTargets sv_graphics_exported sv_graphics_pc_libs
                   ${SV_INSTALL_GRAPHICS_FOLDERS})

# The installed libraries find the shared libraries of their own install, wherever
# that is moved.
if(BUILD_SHARED_LIBS)
  foreach(target IN LISTS sv_exported sv_graphics_exported)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    endif()
  endforeach()
endif()

# The CMake package.
set(SV_CONFIG_DEPENDENCIES "")
foreach(dependency IN LISTS SV_INSTALL_DEPENDENCIES)
  string(APPEND SV_CONFIG_DEPENDENCIES "${dependency}\n")
endforeach()
file(WRITE "${PROJECT_BINARY_DIR}/SvqPeekConfig.cmake.in" [=[
@PACKAGE_INIT@

# SvqPeek is released under the MIT License.
set(SvqPeek_LICENSE "MIT")

include(CMakeFindDependencyMacro)
@SV_CONFIG_DEPENDENCIES@
include("${CMAKE_CURRENT_LIST_DIR}/SvqPeekTargets.cmake")
# The component "graphics": fonts and text renderers, with their pkg-config modules.
if("graphics" IN_LIST SvqPeek_FIND_COMPONENTS)
  set(SvqPeek_graphics_FOUND FALSE)
  @SV_GRAPHICS_DEPENDENCIES@
  if(TARGET PkgConfig::SV_TEXT_GRAPHICS AND
     EXISTS "${CMAKE_CURRENT_LIST_DIR}/SvqPeekGraphicsTargets.cmake")
    include("${CMAKE_CURRENT_LIST_DIR}/SvqPeekGraphicsTargets.cmake")
    set(SvqPeek_graphics_FOUND TRUE)
  endif()
endif()
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
Description: SVQ dictionary reader with its language, locale and code page library and the writers of open formats
Version: @PROJECT_VERSION@
License: MIT
@SV_PC_REQUIRES_FIELD@: @SV_PC_REQUIRES@
Cflags: -I${includedir}
Libs: -L${libdir} @SV_PC_LIBS@
@SV_PC_LIBS_PRIVATE@
]=])
configure_file("${PROJECT_BINARY_DIR}/svq.pc.in" "${PROJECT_BINARY_DIR}/svq.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/svq.pc"
        DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
        COMPONENT Development)

# svq-graphics.pc: the graphics library over svq.pc and the graphics modules.
list(JOIN sv_graphics_pc_libs " " SV_GRAPHICS_PC_LIBS)
list(JOIN SV_TEXT_GRAPHICS_MODULES " " modules)
if(BUILD_SHARED_LIBS)
  set(SV_GRAPHICS_PC_REQUIRES "Requires: svq = ${PROJECT_VERSION}\nRequires.private: ${modules}")
else()
  set(SV_GRAPHICS_PC_REQUIRES "Requires: svq = ${PROJECT_VERSION} ${modules}")
endif()
file(WRITE "${PROJECT_BINARY_DIR}/svq-graphics.pc.in" [=[
prefix=${pcfiledir}/@SV_PC_TO_PREFIX@
exec_prefix=${prefix}
libdir=${prefix}/@CMAKE_INSTALL_LIBDIR@
includedir=${prefix}/@SV_INSTALL_INCLUDEDIR@

Name: svq-graphics
Description: Installed fonts and text renderers of the SVQ language library
Version: @PROJECT_VERSION@
@SV_GRAPHICS_PC_REQUIRES@
Cflags: -I${includedir}
Libs: -L${libdir} @SV_GRAPHICS_PC_LIBS@
]=])
configure_file("${PROJECT_BINARY_DIR}/svq-graphics.pc.in" "${PROJECT_BINARY_DIR}/svq-graphics.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/svq-graphics.pc"
        DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
        COMPONENT Development)
