# Installs the build into a fresh prefix outside the source and build trees and uses it
# as the library's users do: the installed tool (in German), every installed header on
# its own, the CMake package and the pkg-config file.
# Run as: cmake -DSOURCE_DIR=<dir> -DBUILD_DIR=<dir> -DCXX=<compiler> -P SvInstallCheck.cmake
string(RANDOM LENGTH 8 ALPHABET abcdefghijklmnopqrstuvwxyz0123456789 suffix)
set(tmp_root "$ENV{TMPDIR}")
if(NOT tmp_root)
  set(tmp_root "/tmp")
endif()
set(work "${tmp_root}/svqpeek-install-${suffix}")
set(prefix "${work}/prefix")
set(sample "${SOURCE_DIR}/examples/sample.svq")
set(expected_consumer "Languages: 3\n#1: German (Germany), de_DE\n")
set(expected_export "<tuv xml:lang=\"de-DE\"><seg>&amp;Datei</seg></tuv>")

function(fail text)
  file(REMOVE_RECURSE "${work}")
  message(FATAL_ERROR "${text}")
endfunction()

# run(<name> COMMAND...): runs a command; fails the check with its output on an error.
function(run name)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(failed)
    fail("${name} failed (${failed}):\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

run("cmake --install" ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")

# The installed tool finds its German catalog where it was installed.
run("installed SvqPeek" ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 LANGUAGE=de
    "${prefix}/bin/SvqPeek")
string(FIND "${output}" "Aufruf:\nSvqPeek [-t] svqdatei\n  -t         Übersetzungen anzeigen\n"
       found)
if(found LESS 0)
  fail("The installed SvqPeek did not print the German usage block:\n${output}")
endif()

# Every installed header compiles in a translation unit of its own.
file(GLOB_RECURSE headers RELATIVE "${prefix}/include/svqpeek" "${prefix}/include/svqpeek/*.h")
list(LENGTH headers count)
if(count EQUAL 0)
  fail("No headers under ${prefix}/include/svqpeek")
endif()
foreach(header IN LISTS headers)
  string(MAKE_C_IDENTIFIER "${header}" name)
  file(WRITE "${work}/headers/${name}.cpp" "#include \"${header}\"\n")
  run("${header} alone" "${CXX}" -std=c++20 -fsyntax-only -Wall -Wextra
      "-I${prefix}/include/svqpeek" "${work}/headers/${name}.cpp")
endforeach()

# A separate project through find_package, copied out of the source tree.
file(COPY "${SOURCE_DIR}/tests/consumer/CMakeLists.txt" "${SOURCE_DIR}/tests/consumer/SvqConsumer.cpp"
     "${SOURCE_DIR}/tests/consumer/SvqGraphicsConsumer.cpp"
     DESTINATION "${work}/consumer")
run("consumer configure" ${CMAKE_COMMAND} -S "${work}/consumer" -B "${work}/consumer-build"
    "-DCMAKE_PREFIX_PATH=${prefix}" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
    "-DCMAKE_CXX_COMPILER=${CXX}")
run("consumer build" ${CMAKE_COMMAND} --build "${work}/consumer-build")
file(READ "${work}/consumer-build/compile_commands.json" commands)
file(READ "${work}/consumer-build/CMakeFiles/svq_consumer.dir/link.txt" link)
foreach(tree IN ITEMS "${SOURCE_DIR}" "${BUILD_DIR}")
  string(FIND "${commands}${link}" "${tree}" leak)
  if(leak GREATER_EQUAL 0)
    fail("The consumer's build reaches into ${tree}:\n${commands}\n${link}")
  endif()
endforeach()
set(english ${CMAKE_COMMAND} -E env --unset=LANGUAGE LC_ALL=C.UTF-8)
run("consumer" ${english} "${work}/consumer-build/svq_consumer" "${sample}")
if(NOT output STREQUAL expected_consumer)
  fail("The consumer printed:\n${output}")
endif()
run("consumer export" ${english} "${work}/consumer-build/svq_consumer" "${sample}" tmx)
string(FIND "${output}" "${expected_export}" found)
if(found LESS 0)
  fail("The consumer exported:\n${output}")
endif()

# The installed svq exports the sample and speaks German.
run("installed svq" ${english} "${prefix}/bin/svq" export -f csv "${sample}")
string(FIND "${output}" "\"1\",\"TMainForm\",\"OpenItem\",\"&Open...\"" found)
if(found LESS 0)
  fail("The installed svq exported:\n${output}")
endif()
run("installed svq in German" ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 LANGUAGE=de
    "${prefix}/bin/svq" export --help)
string(FIND "${output}" "Aufruf: svq export" found)
if(found LESS 0)
  fail("The installed svq did not print the German help:\n${output}")
endif()
# The reader's consumer links no graphics module; the graphics consumer starts the
# renderers.
set(graphics_pattern "pango|cairo|fontconfig|glib|gobject|harfbuzz|freetype")
if(link MATCHES "${graphics_pattern}")
  fail("The reader's consumer links graphics modules:\n${link}")
endif()
set(expected_graphics "Renderers: 1\n#0: Standard\n")
run("graphics consumer" ${english} "${work}/consumer-build/svq_graphics_consumer")
if(NOT output STREQUAL expected_graphics)
  fail("The graphics consumer printed:\n${output}")
endif()

# The same program through pkg-config.
file(GLOB pc_files "${prefix}/lib*/pkgconfig/svq.pc" "${prefix}/lib/*/pkgconfig/svq.pc")
if(NOT pc_files)
  fail("No svq.pc under ${prefix}")
endif()
list(GET pc_files 0 pc_file)
file(READ "${pc_file}" pc)
if(NOT pc MATCHES "\nLicense: MIT\n")
  fail("svq.pc names no licence:\n${pc}")
endif()
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} "${pc_dir}")
run("pkg-config" pkg-config --cflags --libs svq)
string(STRIP "${output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
# A private prefix is not on the loader's path: shared libraries are found by rpath.
run("pkg-config libdir" pkg-config --variable=libdir svq)
string(STRIP "${output}" libdir)
run("pkg-config consumer build" "${CXX}" -std=c++20 -o "${work}/svq_consumer_pc"
    "${work}/consumer/SvqConsumer.cpp" ${flags} "-Wl,-rpath,${libdir}")
run("pkg-config consumer" ${english} "${work}/svq_consumer_pc" "${sample}")
if(NOT output STREQUAL expected_consumer)
  fail("The pkg-config consumer printed:\n${output}")
endif()
run("pkg-config consumer export" ${english} "${work}/svq_consumer_pc" "${sample}" json)
string(FIND "${output}" "\"code\": \"de-DE\"" found)
if(found LESS 0)
  fail("The pkg-config consumer exported:\n${output}")
endif()
if(flags MATCHES "${graphics_pattern}")
  fail("svq.pc asks for graphics modules: ${flags}")
endif()
run("pkg-config graphics" pkg-config --cflags --libs svq-graphics)
string(STRIP "${output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run("pkg-config graphics consumer build" "${CXX}" -std=c++20 -o "${work}/svq_graphics_consumer_pc"
    "${work}/consumer/SvqGraphicsConsumer.cpp" ${flags} "-Wl,-rpath,${libdir}")
run("pkg-config graphics consumer" ${english} "${work}/svq_graphics_consumer_pc")
if(NOT output STREQUAL expected_graphics)
  fail("The pkg-config graphics consumer printed:\n${output}")
endif()

file(REMOVE_RECURSE "${work}")
