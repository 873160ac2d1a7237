# Run after a GoogleTest program is linked: lists its test suites and writes
# a CTest file with one test per suite, so that a suite's cases share one
# process start (and show that they leave the process as they found it).
#
#   cmake -D EXE=program -D PREFIX=name -D WORKDIR=folder -D OUT=file -P TestSuites.cmake
execute_process(COMMAND ${EXE} --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status
                TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${EXE} --gtest_list_tests failed (${status}):\n${errors}")
endif()

string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(content "")
foreach(line IN LISTS lines)
  # A suite is a line of its own, not indented: "Suite." or "Table/Suite.  # TypeParam = ...".
  if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
    set(suite ${CMAKE_MATCH_1})
    set(test "${PREFIX}.${suite}")
    string(APPEND content
      "add_test([=[${test}]=] [=[${EXE}]=] [=[--gtest_filter=${suite}.*]=])\n"
      "set_tests_properties([=[${test}]=] PROPERTIES LABELS unit WORKING_DIRECTORY [=[${WORKDIR}]=])\n")
  endif()
endforeach()
if(content STREQUAL "")
  message(FATAL_ERROR "${EXE} lists no test suite")
endif()
file(WRITE ${OUT} "${content}")
