# Run as a script after a GoogleTest executable is built: lists its tests and
# writes one CTest test per test suite (Suite.*), so that the many small tests
# of a suite share one process start instead of paying for one each (under
# the sanitizers and Qt's start-up that cost more than most tests do).
#
# Variables: EXE (the test program), PREFIX (prepended to every suite's
# name), OUT (the file written), TIMEOUT (seconds a suite may take),
# ENVIRONMENT (a ;-list of NAME=value), WORKDIR (the tests' working folder).
execute_process(COMMAND "${EXE}" --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE listing_errors
                RESULT_VARIABLE status TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Listing the tests of ${EXE} failed (${status}):\n${listing}\n${listing_errors}")
endif()

string(REPLACE "\n" ";" lines "${listing}")
set(script "")
set(count 0)
foreach(line IN LISTS lines)
  # A suite's line starts in the first column and ends its name with a dot,
  # perhaps followed by a comment on its type parameter; test lines are
  # indented.
  if(line MATCHES "^([^ #][^ ]*)\\.( |$)")
    set(suite "${CMAKE_MATCH_1}")
    string(APPEND script
      "add_test([==[${PREFIX}${suite}]==] [==[${EXE}]==] [==[--gtest_filter=${suite}.*]==])\n"
      "set_tests_properties([==[${PREFIX}${suite}]==] PROPERTIES TIMEOUT ${TIMEOUT}"
      " WORKING_DIRECTORY [==[${WORKDIR}]==]")
    if(ENVIRONMENT)
      string(APPEND script " ENVIRONMENT [==[${ENVIRONMENT}]==]")
    endif()
    string(APPEND script ")\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${EXE} lists no test suite:\n${listing}")
endif()
file(WRITE "${OUT}" "${script}")
