# Build helpers shared by every layer: warnings, sanitizers, and the
# functions that add a layer's library, its tests, fuzzers and benchmarks.

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)

if(BV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(BV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "BV_FUZZ needs clang")
  endif()
  # Coverage counters in every library, so the fuzzers see into the code they drive.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Sources of a folder, picked up by pattern so that adding a file needs no list edit.
function(bv_sources out dir)
  file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Sources of a folder and its subject folders, leaving out the widget folder
# ui/, which is a library of its own.
function(bv_sources_tree out dir)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
  list(FILTER found EXCLUDE REGEX "^${dir}/ui/")
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# bv_layer(name DIRS dir... [PUBLIC lib...])
# One static library made of the .cpp files of the given folders and of their
# subject folders (a ui/ folder below them excepted).
function(bv_layer name)
  cmake_parse_arguments(L "" "" "DIRS;PUBLIC" ${ARGN})
  set(all)
  foreach(d IN LISTS L_DIRS)
    bv_sources_tree(found ${d})
    list(APPEND all ${found})
  endforeach()
  add_library(${name} STATIC ${all})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_PUBLIC})
endfunction()

# bv_test_dir(name DIR dir LIBS lib...)
# One GoogleTest executable for a folder of tests and its subject folders; each
# test case is a CTest test.
function(bv_test_dir name)
  cmake_parse_arguments(T "" "DIR" "LIBS" ${ARGN})
  file(GLOB_RECURSE found CONFIGURE_DEPENDS "${T_DIR}/*.cpp" "${T_DIR}/*.h")
  if(NOT found)
    return()
  endif()
  foreach(lib IN LISTS T_LIBS)
    if(NOT TARGET ${lib})
      message(FATAL_ERROR "tests in ${T_DIR} need the library ${lib}, which does not exist")
    endif()
  endforeach()
  add_executable(${name} ${found})
  # The sanitizer defaults directly: an object library's objects do not pass
  # on through bv_test_support.
  target_link_libraries(${name} PRIVATE ${T_LIBS} bv_test_support bv_sanitizer_defaults GTest::gtest Threads::Threads)
  target_compile_definitions(${name} PRIVATE
    BV_SOURCE_DIR="${PROJECT_SOURCE_DIR}" BV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    TEST_PREFIX "${name}." PROPERTIES LABELS unit)
endfunction()

# bv_fuzzer(name SOURCE file LIBS lib...)
# A libFuzzer target, run under CTest for BV_FUZZ_SECONDS from its seed corpus.
function(bv_fuzzer name)
  cmake_parse_arguments(F "" "SOURCE" "LIBS" ${ARGN})
  if(NOT BV_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCE})
  target_link_libraries(${name} PRIVATE ${F_LIBS} bv_sanitizer_defaults)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus)
  set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${work})
  set(dirs ${work})
  if(EXISTS ${seeds})
    list(APPEND dirs ${seeds})
  endif()
  add_test(NAME fuzz.${name}
           COMMAND ${name} -max_total_time=${BV_FUZZ_SECONDS} -rss_limit_mb=2048 ${dirs}
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz)
endfunction()

# bv_benchmark(name SOURCE file... LIBS lib...)
# A Google Benchmark executable; under CTest it only runs once, briefly, so that it
# keeps working. Real figures come from scripts/bench.sh on an optimised build.
function(bv_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCE;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCE})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
  if(TARGET bv_sanitizer_defaults)
    target_link_libraries(${name} PRIVATE bv_sanitizer_defaults)
  endif()
  target_compile_definitions(${name} PRIVATE
    BV_SOURCE_DIR="${PROJECT_SOURCE_DIR}" BV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(BV_TESTS)
    add_test(NAME bench.${name} COMMAND ${name} --benchmark_min_time=0.001)
    set_tests_properties(bench.${name} PROPERTIES LABELS bench
      ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
endfunction()

find_package(Threads REQUIRED)
find_package(GTest)
find_package(benchmark)
include(GoogleTest)


# Sanitizer defaults linked into every executable of the project, so that a
# test, a fuzzer or a tool started by hand behaves the same as under CTest.
add_library(bv_sanitizer_defaults OBJECT ${PROJECT_SOURCE_DIR}/cmake/SanitizerDefaults.cpp)
