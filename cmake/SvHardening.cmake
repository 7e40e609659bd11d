# Debian's hardening for every optimised build (Release, RelWithDebInfo, MinSizeRel):
# the flags of "dpkg-buildflags" with hardening=+all (fortify from CPPFLAGS, which CMake
# does not read by itself, stack protector, format checks, relro, bindnow), and PIE.
# Debug, sanitizer and fuzz builds stay as they are: fortify needs optimisation, and
# the sanitizers check more themselves. -DSV_HARDEN=OFF turns it off.
option(SV_HARDEN "Build optimised builds with Debian's hardening flags" ON)

set(sv_optimised_types Release RelWithDebInfo MinSizeRel)
if(NOT SV_HARDEN OR SV_SANITIZE OR SV_SANITIZE_THREAD OR SV_BUILD_FUZZ OR NOT CMAKE_BUILD_TYPE IN_LIST sv_optimised_types)
  return()
endif()

# dpkg-buildflags --get VAR with every hardening feature; the build type, not
# dpkg-buildflags, chooses optimisation and debug information, and the paths stay whole.
function(sv_buildflags var out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${SV_DPKG_BUILDFLAGS} --get ${var}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "dpkg-buildflags --get ${var} failed")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(g|O)|^-f(file|debug|macro)-prefix-map=")
  set(${out} "${flags}" PARENT_SCOPE)
endfunction()

find_program(SV_DPKG_BUILDFLAGS dpkg-buildflags)
if(SV_DPKG_BUILDFLAGS)
  sv_buildflags(CPPFLAGS sv_cppflags)
  sv_buildflags(CFLAGS sv_cflags)
  sv_buildflags(CXXFLAGS sv_cxxflags)
  sv_buildflags(LDFLAGS sv_ldflags)
else()
  # What dpkg-buildflags gives on Debian 12, for systems without it.
  set(sv_cppflags -D_FORTIFY_SOURCE=2)
  set(sv_cflags -fstack-protector-strong -Wformat -Werror=format-security)
  set(sv_cxxflags ${sv_cflags})
  set(sv_ldflags -Wl,-z,relro -Wl,-z,now)
endif()
list(TRANSFORM sv_cflags REPLACE "(.+)" "$<$<COMPILE_LANGUAGE:C>:\\1>")
list(TRANSFORM sv_cxxflags REPLACE "(.+)" "$<$<COMPILE_LANGUAGE:CXX>:\\1>")
add_compile_options(${sv_cppflags} ${sv_cflags} ${sv_cxxflags})
add_link_options(${sv_ldflags})

# Programs are position independent (gcc on Debian does so already; other compilers
# may not).
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(SV_HARDENED ON)
