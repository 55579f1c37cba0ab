# Compiler flags shared by every target, and helpers for tests and fuzz targets.

add_compile_options(-Wall -Wextra)
if(WERROR)
  add_compile_options(-Werror)
endif()

if(SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

if(FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "FUZZ=ON needs clang: configure with CC=clang CXX=clang++")
  endif()
  # Every library is instrumented for coverage; only the fuzz executables link the driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# toolkit_add_test(NAME LABEL <label> SOURCES <files...> [LIBS <targets...>])
# One GoogleTest executable; each test case becomes a CTest test carrying the label.
function(toolkit_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(FUZZ)
    return()  # the fuzz build runs only the fuzz targets
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "TOOLKIT_BUILD=${CMAKE_BINARY_DIR}")
endfunction()

# toolkit_add_fuzzer(NAME SOURCES <files...> [LIBS <targets...>] [CORPUS <dir>])
# A libFuzzer target plus a bounded smoke run under CTest (label "fuzz").
function(toolkit_add_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  set(work ${CMAKE_BINARY_DIR}/fuzz/${name}.corpus)
  set(seed "")
  if(F_CORPUS)
    set(seed ${F_CORPUS})
  endif()
  add_test(NAME fuzz.${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:${name}> -DWORK=${work} -DSEED=${seed}
            -DSECONDS=${FUZZ_SECONDS} -P ${CMAKE_SOURCE_DIR}/cmake/RunFuzzer.cmake)
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 600)
  add_dependencies(fuzz_all ${name})
endfunction()

# `cmake --build <dir> --target fuzz_all` builds the fuzz targets and what they need, nothing else.
if(FUZZ)
  add_custom_target(fuzz_all)
endif()

# Adds every immediate subdirectory of the current one that holds a CMakeLists.txt.
function(toolkit_add_subdirectories)
  file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(entry IN LISTS entries)
    if(IS_DIRECTORY ${entry} AND EXISTS ${entry}/CMakeLists.txt)
      add_subdirectory(${entry})
    endif()
  endforeach()
endfunction()

# toolkit_requires(<targets...>): skips the rest of the calling CMakeLists.txt unless every named
# target exists, so bench/ and fuzz/ folders of deliverables left out of COMPONENTS do no harm.
macro(toolkit_requires)
  foreach(_required ${ARGN})
    if(NOT TARGET ${_required})
      return()
    endif()
  endforeach()
endmacro()
