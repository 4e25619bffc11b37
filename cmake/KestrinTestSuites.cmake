# Run as a script after a GoogleTest executable is built: lists its tests and
# writes one CTest test per test suite (Suite.*), so that the many small tests
# of a suite share one process start instead of paying for one each (under
# the sanitizers and Qt's start-up that cost more than most tests do).
#
# Variables: EXE (the test program), PREFIX (prepended to every suite's
# name), OUT (the file written), TIMEOUT (seconds a suite may take),
# ENVIRONMENT (a ;-list of NAME=value), WORKDIR (the tests' working folder),
# EMULATOR (the program that runs a cross-compiled test, if any).
execute_process(COMMAND ${EMULATOR} "${EXE}" --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE listing_errors
                RESULT_VARIABLE status TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Listing the tests of ${EXE} failed (${status}):\n${listing}\n${listing_errors}")
endif()

set(command "")
foreach(word IN LISTS EMULATOR ITEMS "${EXE}")
  string(APPEND command " [==[${word}]==]")
endforeach()

# A suite's line starts in the first column and ends its name with a dot,
# perhaps followed by a comment on its type parameter; test lines are
# indented. (Matched in the whole text: the listing may hold brackets and
# semicolons that a CMake list would misread.)
string(REGEX MATCHALL "\n[^ \n#][^ \n]*\\." suite_lines "\n${listing}")
set(script "")
set(count 0)
foreach(suite_line IN LISTS suite_lines)
  string(REGEX REPLACE "^\n(.*)\\.$" "\\1" suite "${suite_line}")
  string(APPEND script
    "add_test([==[${PREFIX}${suite}]==]${command} [==[--gtest_filter=${suite}.*]==])\n"
    "set_tests_properties([==[${PREFIX}${suite}]==] PROPERTIES TIMEOUT ${TIMEOUT}"
    " WORKING_DIRECTORY [==[${WORKDIR}]==]")
  if(ENVIRONMENT)
    string(APPEND script " ENVIRONMENT [==[${ENVIRONMENT}]==]")
  endif()
  string(APPEND script ")\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${EXE} lists no test suite:\n${listing}")
endif()
file(WRITE "${OUT}" "${script}")
