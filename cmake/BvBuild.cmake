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

# The code of tests, fuzz targets and benchmarks may be compiled with options
# of its own: the checked build compiles it unoptimised, since the code under
# test keeps its level and the tests' own code then compiles in a third of
# the time.
set(BV_TEST_CODE_OPTIONS "" CACHE STRING "Compile options for the code of tests, fuzz targets and benchmarks")

# Precompiled headers: the standard library, GoogleTest and Qt are parsed once
# per target instead of once per file.
option(BV_PCH "Precompile the standard, GoogleTest and Qt headers" ON)
set(BV_PCH_STD <string> <vector> <map> <set> <memory> <functional> <algorithm> <filesystem>
    <cstdio> <cstdint> <cstring> <cstdlib> <sstream> <fstream> <array> <string_view>)
set(BV_PCH_QT <QApplication> <QWidget> <QPainter> <QImage> <QTimer> <QString>)
# Qt's lower-case keywords (slots, signals, emit) are macros that would break
# ordinary names in a file that gets Qt only through the precompiled header.
add_compile_definitions(QT_NO_KEYWORDS)
if(BV_PCH AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # Without its time stamp a precompiled header can come out of the compiler
  # cache like any object.
  add_compile_options("SHELL:-Xclang -fno-pch-timestamp")
endif()

# bv_precompile(target [QT] [GTEST])
# The shared headers of a target precompiled; QT and GTEST add those
# libraries' headers for targets that use them.
function(bv_precompile target)
  cmake_parse_arguments(P "QT;GTEST" "" "" ${ARGN})
  if(NOT BV_PCH)
    return()
  endif()
  set(headers ${BV_PCH_STD})
  if(P_GTEST)
    list(APPEND headers <gtest/gtest.h>)
  endif()
  if(P_QT)
    list(APPEND headers ${BV_PCH_QT})
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# Unity builds: a target's sources compiled a batch at a time, which saves
# most of what every file repeats (headers, inline code). Libraries of windows
# keep each dialog's own names (its controls, its template) in a file of its
# own, and bvtool registers each command under one name: those stay apart.
option(BV_UNITY "Compile the logic libraries and the test programs in batches" OFF)
set(BV_UNITY_EXCLUDE "_ui$|^bvtool$|^BV[A-Z]" CACHE STRING "Targets that never build in batches")

# Whether a target links a library whose name matches pattern, directly or
# through the libraries it links.
function(bv_links_to out target pattern)
  set(seen)
  set(todo ${target})
  set(found FALSE)
  while(todo AND NOT found)
    list(POP_FRONT todo t)
    if(t IN_LIST seen OR NOT TARGET ${t})
      continue()
    endif()
    list(APPEND seen ${t})
    get_target_property(libs ${t} LINK_LIBRARIES)
    get_target_property(ilibs ${t} INTERFACE_LINK_LIBRARIES)
    foreach(l IN LISTS libs ilibs)
      if(l MATCHES "${pattern}")
        set(found TRUE)
      elseif(TARGET ${l} AND NOT l MATCHES "::")
        list(APPEND todo ${l})
      endif()
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# bv_compile_settings(dir...)
# Precompiled headers, and batches where BV_UNITY asks for them, for every
# library and program of the folders with more than a couple of sources (a
# single file gains nothing from them).
function(bv_compile_settings)
  foreach(dir IN LISTS ARGN)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    bv_compile_settings(${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t IN LISTS targets)
      get_target_property(type ${t} TYPE)
      if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
        continue()
      endif()
      get_target_property(sources ${t} SOURCES)
      list(FILTER sources INCLUDE REGEX "\\.cpp$")
      list(LENGTH sources count)
      if(count LESS 3)
        continue()
      endif()
      bv_links_to(qt ${t} "^Qt6::")
      bv_links_to(gtest ${t} "^GTest::")
      set(kinds)
      if(qt)
        list(APPEND kinds QT)
      endif()
      if(gtest)
        list(APPEND kinds GTEST)
      endif()
      bv_precompile(${t} ${kinds})
      if(BV_UNITY AND NOT t MATCHES "${BV_UNITY_EXCLUDE}")
        set_target_properties(${t} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
      endif()
    endforeach()
  endforeach()
endfunction()

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

# bv_test_dir(name DIRS path... [EXCLUDE path...] LIBS lib...)
# One GoogleTest executable made of the tests below the given folders of
# tests/ (which mirror the source folders), less the folders and files of
# EXCLUDE that other programs take; each test suite is a CTest test.
function(bv_test_dir name)
  cmake_parse_arguments(T "" "" "DIRS;EXCLUDE;LIBS" ${ARGN})
  set(found)
  foreach(d IN LISTS T_DIRS)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${d})
      file(GLOB_RECURSE in_dir CONFIGURE_DEPENDS "${d}/*.cpp" "${d}/*.h")
      list(APPEND found ${in_dir})
    elseif(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${d})
      list(APPEND found ${CMAKE_CURRENT_SOURCE_DIR}/${d})
    endif()
  endforeach()
  foreach(x IN LISTS T_EXCLUDE)
    list(FILTER found EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${x}(/|$)")
  endforeach()
  if(NOT found)
    return()
  endif()
  foreach(lib IN LISTS T_LIBS)
    if(NOT TARGET ${lib})
      message(FATAL_ERROR "tests in ${T_DIRS} need the library ${lib}, which does not exist")
    endif()
  endforeach()
  add_executable(${name} ${found})
  target_compile_options(${name} PRIVATE ${BV_TEST_CODE_OPTIONS})
  # The sanitizer defaults directly: an object library's objects do not pass
  # on through bv_test_support.
  target_link_libraries(${name} PRIVATE ${T_LIBS} bv_test_support bv_sanitizer_defaults GTest::gtest Threads::Threads)
  target_compile_definitions(${name} PRIVATE
    BV_SOURCE_DIR="${PROJECT_SOURCE_DIR}" BV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  bv_test_suites(${name})
endfunction()

# bv_test_suites(program)
# One CTest test per test suite of a GoogleTest program ("program.Suite"),
# listed each time the program is linked.
function(bv_test_suites name)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D EXE=$<TARGET_FILE:${name}> -D PREFIX=${name}
            -D WORKDIR=${CMAKE_CURRENT_BINARY_DIR} -D OUT=${list_file}
            -P ${PROJECT_SOURCE_DIR}/cmake/TestSuites.cmake
    COMMENT "Test suites of ${name}" VERBATIM)
  # Before the program is built there are no suites, and a test that fails
  # says so.
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_include.cmake)
  file(WRITE ${include_file}
    "if(EXISTS [=[${list_file}]=])\n"
    "  include([=[${list_file}]=])\n"
    "else()\n"
    "  add_test(${name}.NOT_BUILT ${name}_NOT_BUILT)\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()

# bv_fuzzer(name SOURCE file LIBS lib...)
# A libFuzzer target, run under CTest for BV_FUZZ_SECONDS from its seed corpus.
function(bv_fuzzer name)
  cmake_parse_arguments(F "" "SOURCE" "LIBS" ${ARGN})
  if(NOT BV_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCE})
  target_compile_options(${name} PRIVATE ${BV_TEST_CODE_OPTIONS})
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
  target_compile_options(${name} PRIVATE ${BV_TEST_CODE_OPTIONS})
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


# Sanitizer defaults linked into every executable of the project, so that a
# test, a fuzzer or a tool started by hand behaves the same as under CTest.
add_library(bv_sanitizer_defaults OBJECT ${PROJECT_SOURCE_DIR}/cmake/SanitizerDefaults.cpp)
