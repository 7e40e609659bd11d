# Makes the Debian packages of the build in a scratch folder, checks their fields and
# contents, and runs the tool extracted from the main package.
# Run as: cmake -DSOURCE_DIR=<dir> -DBUILD_DIR=<dir> -DVERSION=<x.y.z> -P SvPackageCheck.cmake
string(RANDOM LENGTH 8 ALPHABET abcdefghijklmnopqrstuvwxyz0123456789 suffix)
set(tmp_root "$ENV{TMPDIR}")
if(NOT tmp_root)
  set(tmp_root "/tmp")
endif()
set(work "${tmp_root}/svqpeek-package-${suffix}")

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

run("cpack" cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${work}")
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(main "${work}/svqpeek_${VERSION}_${arch}.deb")
set(dev "${work}/svqpeek-dev_${VERSION}_${arch}.deb")
foreach(deb IN ITEMS "${main}" "${dev}")
  if(NOT EXISTS "${deb}")
    file(GLOB made "${work}/*.deb")
    fail("No ${deb}; made: ${made}")
  endif()
endforeach()

# Depends of the main package come from the tool's shared libraries.
run("main fields" dpkg-deb -f "${main}" Package Depends Section)
expect("svqpeek's fields" "${output}" "Package: svqpeek\n" "Depends:.*libc6" "Depends:.*libicu"
       "Section: utils")
run("main contents" dpkg-deb -c "${main}")
expect("svqpeek" "${output}" "/bin/SvqPeek\n" "/bin/svqpeek -> SvqPeek"
       "/share/locale/de/LC_MESSAGES/SvqPeek.mo")
if(output MATCHES "/include/|\\.a\n|/cmake/|\\.pc\n")
  fail("svqpeek holds development files:\n${output}")
endif()

run("dev fields" dpkg-deb -f "${dev}" Package Depends)
expect("svqpeek-dev's fields" "${output}" "Package: svqpeek-dev\n"
       "Depends: svqpeek \\(= ${VERSION}\\)" "libicu-dev")
run("dev contents" dpkg-deb -c "${dev}")
expect("svqpeek-dev" "${output}" "/include/svqpeek/svq/SvSvqFormat.h"
       "/include/svqpeek/app/SvModules.h" "/cmake/SvqPeek/SvqPeekConfig.cmake"
       "/cmake/SvqPeek/SvqPeekConfigVersion.cmake" "/cmake/SvqPeek/SvqPeekTargets.cmake"
       "/pkgconfig/svq.pc" "libsvqpeek_text\\.(a|so)")
if(output MATCHES "/bin/")
  fail("svqpeek-dev holds programs:\n${output}")
endif()

# The tool of the extracted package, in English and in German.
run("extract" dpkg-deb -x "${main}" "${work}/root")
file(GLOB tool "${work}/root/usr/bin/SvqPeek")
if(NOT tool)
  fail("No usr/bin/SvqPeek in ${main}")
endif()
run("extracted SvqPeek" ${CMAKE_COMMAND} -E env --unset=LANGUAGE LC_ALL=C.UTF-8
    "${tool}" "${SOURCE_DIR}/examples/sample.svq")
expect("The extracted tool's output" "${output}" "^SvqPeek Version ${VERSION} ")
if(output MATCHES "Could not find file")
  fail("The extracted tool did not find the sample:\n${output}")
endif()
run("extracted SvqPeek in German" ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 LANGUAGE=de "${tool}")
expect("The extracted tool's German usage" "${output}" "\nAufruf:\n")

file(REMOVE_RECURSE "${work}")
