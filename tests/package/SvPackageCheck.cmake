# Makes the Debian packages as a release does: a Release build of the sources with
# shared libraries and the prefix /usr (in BUILD_DIR/package-build, so that a second
# run only rebuilds what changed), packed by cpack in a scratch folder. Checks their
# fields and contents, lintian and hardening-check; installs them into a scratch root,
# runs every program from there in English and German, and removes them again.
# Run as: cmake -DSOURCE_DIR=<dir> -DBUILD_DIR=<dir> -DVERSION=<x.y.z>
#   -DPROGRAMS=<name,...> [-DCXX=<compiler>] [-DLAUNCHER=<ccache>] -P SvPackageCheck.cmake
cmake_minimum_required(VERSION 3.25)
string(RANDOM LENGTH 8 ALPHABET abcdefghijklmnopqrstuvwxyz0123456789 suffix)
set(tmp_root "$ENV{TMPDIR}")
if(NOT tmp_root)
  set(tmp_root "/tmp")
endif()
set(work "${tmp_root}/svqpeek-package-${suffix}")
set(root "${work}/root")
string(REPLACE "," ";" PROGRAMS "${PROGRAMS}")

# Info tags of lintian that may stay; any other tag fails the check.
set(allowed_info_tags
    # CPack strips the debug symbols only; .comment holds the compiler's version.
    binary-has-unneeded-section static-library-has-unneeded-sections
    # C++ libraries: their shlibs file, which asks for the same version, stands in
    # for a symbols file of mangled names.
    no-symbols-control-file
    # A library that calls no libc function fortify can check; the programs pass
    # hardening-check below.
    hardening-no-fortify-functions
    # Names in the locale tables, such as "Viet Nam".
    spelling-error-in-binary)

function(fail text)
  file(REMOVE_RECURSE "${work}")
  message(FATAL_ERROR "${text}")
endfunction()

function(run name)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(failed)
    fail("${name} failed (${failed}):\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

# expect(<what> <text> <pattern>...): every regular expression matches the text.
function(expect what text)
  foreach(pattern IN LISTS ARGN)
    if(NOT text MATCHES "${pattern}")
      fail("${what} lacks ${pattern}:\n${text}")
    endif()
  endforeach()
endfunction()

set(package_build "${BUILD_DIR}/package-build")
set(options -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX=/usr
            -DSV_BUILD_TESTS=OFF -DSV_BUILD_BENCH=OFF)
if(CXX)
  list(APPEND options "-DCMAKE_CXX_COMPILER=${CXX}")
endif()
if(LAUNCHER)
  list(APPEND options "-DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER}")
endif()
run("package build configure" ${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${package_build}" ${options})
run("package build" ${CMAKE_COMMAND} --build "${package_build}" -j 2)
run("cpack" cpack -G DEB --config "${package_build}/CPackConfig.cmake" -B "${work}")
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(tools "${work}/svqpeek_${VERSION}_${arch}.deb")
set(dev "${work}/libsvqpeek-dev_${VERSION}_${arch}.deb")
file(GLOB debs "${work}/*.deb")
file(GLOB libraries "${work}/libsvqpeek-*[0-9]_${VERSION}_${arch}.deb")
if(NOT tools IN_LIST debs OR NOT dev IN_LIST debs OR NOT libraries)
  fail("Not the tools', the -dev and the runtime packages; made: ${debs}")
endif()

# lintian: no error, no warning, and no info tag but those allowed above.
run("lintian" lintian --fail-on error,warning --display-info ${debs})
string(REGEX MATCHALL "(^|\n)[A-Z]: [^\n]*" tags "${output}")
foreach(tag IN LISTS tags)
  string(STRIP "${tag}" tag)
  if(NOT tag MATCHES "^I: [^ ]+: ([^ ]+)" OR NOT CMAKE_MATCH_1 IN_LIST allowed_info_tags)
    fail("lintian reports:\n${output}")
  endif()
endforeach()

# The tools' package holds no library, the -dev package no program (that each
# library sits in the package its SONAME names, with shlibs file and ldconfig
# trigger, is lintian's to check).
run("tools contents" dpkg-deb -c "${tools}")
set(tools_contents "${output}")
expect("svqpeek" "${output}" "/bin/svqpeek -> SvqPeek" "/share/man/man1/svqpeek\\.1\\.gz -> ")
run("dev contents" dpkg-deb -c "${dev}")
expect("libsvqpeek-dev" "${output}" "/include/svqpeek/svq/SvSvqFormat.h" "/pkgconfig/svq.pc"
       "/cmake/SvqPeek/SvqPeekConfig.cmake" "libsvqpeek_text\\.so -> libsvqpeek_text\\.so\\.[0-9]+\n")
if(tools_contents MATCHES "/lib[^ /\n]*\\.so" OR output MATCHES "/bin/|/lib[^ /\n]*\\.so\\.")
  fail("A library in svqpeek or a program in libsvqpeek-dev:\n${tools_contents}\n${output}")
endif()

# Installed into a scratch root: every program hardened, and its help in German
# other than in English (its catalog found there); SvqPeek reports on the sample.
file(MAKE_DIRECTORY "${root}/var/lib/dpkg/updates" "${root}/var/lib/dpkg/info")
file(TOUCH "${root}/var/lib/dpkg/status")
set(dpkg dpkg "--root=${root}" --log=/dev/null --force-depends)
run("dpkg -i" ${dpkg} -i ${debs})
set(english ${CMAKE_COMMAND} -E env --unset=LANGUAGE LC_ALL=C.UTF-8)
foreach(program IN LISTS PROGRAMS)
  set(tool "${root}/usr/bin/${program}")
  run("hardening-check ${program}" hardening-check --nocfprotection "${tool}")
  run("${program} --help in English" ${english} "${tool}" --help)
  set(help "${output}")
  run("${program} --help in German" ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 LANGUAGE=de "${tool}" --help)
  if(output STREQUAL help)
    fail("${program} --help is not German in the scratch root:\n${output}")
  endif()
endforeach()
run("SvqPeek" ${english} "${root}/usr/bin/SvqPeek" "${SOURCE_DIR}/examples/sample.svq")
expect("SvqPeek's report" "${output}" "^SvqPeek Version ${VERSION} .*MIT License" "\nLanguages:\n")

# Removed again: no file of the packages stays.
set(packages ${debs})
list(TRANSFORM packages REPLACE ".*/([^_/]+)_[^/]*$" "\\1")
run("dpkg -r" ${dpkg} -r ${packages})
file(GLOB_RECURSE left LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
list(FILTER left EXCLUDE REGEX "^var/")
if(left)
  fail("dpkg -r left: ${left}")
endif()

file(REMOVE_RECURSE "${work}")
