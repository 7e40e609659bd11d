# Compiler options shared by every target of the project.
add_library(sv_options INTERFACE)
target_compile_options(sv_options INTERFACE -Wall -Wextra)
target_compile_features(sv_options INTERFACE cxx_std_20)
if(SV_SANITIZE)
  target_compile_options(sv_options INTERFACE -fsanitize=address,undefined
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(sv_options INTERFACE -fsanitize=address,undefined)
endif()
if(SV_SANITIZE_THREAD)
  # ThreadSanitizer, for the tests of the parallel paths.
  target_compile_options(sv_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(sv_options INTERFACE -fsanitize=thread)
endif()
if(SV_BUILD_FUZZ)
  # Every library is instrumented for libFuzzer's coverage; each fuzz target adds
  # the fuzzer's main. A sanitizer report ends the run.
  target_compile_options(sv_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                         -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(sv_options INTERFACE -fsanitize=address,undefined)
  if(SV_FUZZ_COVERAGE)
    # Line coverage of the corpus with llvm-cov.
    target_compile_options(sv_options INTERFACE -fprofile-instr-generate -fcoverage-mapping)
    target_link_options(sv_options INTERFACE -fprofile-instr-generate)
  endif()
endif()

# sv_library(NAME [STATIC] SOURCES... [LINKS ...]): a library of the project, static
# unless BUILD_SHARED_LIBS is on. STATIC: always static (and position independent),
# for the code of the programs themselves, which goes into each program.
function(sv_library name)
  cmake_parse_arguments(ARG "STATIC" "" "SOURCES;LINKS" ${ARGN})
  if(ARG_STATIC)
    add_library(${name} STATIC ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  else()
    add_library(${name} ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC sv_options ${ARG_LINKS})
  foreach(src IN LISTS ARG_SOURCES)
    get_filename_component(abs "${src}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    set_property(GLOBAL APPEND PROPERTY SV_GETTEXT_SOURCES "${abs}")
  endforeach()
endfunction()
