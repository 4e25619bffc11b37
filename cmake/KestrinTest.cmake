# kestrin_add_test(<target> PREFIX <name> SOURCES <files...> [LIBS <libs...>]
#                  [TIMEOUT <seconds>] [GUI])
#
# One GoogleTest executable of the suite. Every test target links the shared
# test support (builders, bit comparisons, the CLI runner, JSON) and reuses its
# precompiled headers, so the test targets must not add compile definitions of
# their own: paths the tests need are defined once on the support library.
# GUI targets get the workbench's test main (offscreen platform, settings in a
# directory of their own) and the Qt precompiled headers. The tests declare no
# QObject classes of their own, so moc does not run on them (a test that needs
# one turns AUTOMOC on for its target). CTest runs each test
# suite of the program as one test (cmake/KestrinTestSuites.cmake).
set(KESTRIN_TEST_SUITES_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/KestrinTestSuites.cmake")

function(kestrin_add_test target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "GUI" "PREFIX;TIMEOUT" "SOURCES;LIBS")
  if(NOT arg_PREFIX)
    message(FATAL_ERROR "kestrin_add_test(${target}): PREFIX is required")
  endif()
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 600)
  endif()

  add_executable(${target} ${arg_SOURCES})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  if(arg_GUI)
    set(support kestrin_test_support_gui)
    set(environment "QT_QPA_PLATFORM=offscreen")
  else()
    set(support kestrin_test_support)
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
    # Compiled as its support library is, so that the precompiled headers
    # stay valid when the Python module turns position-independent code on.
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
    set(environment)
  endif()
  target_link_libraries(${target} PRIVATE ${support} ${arg_LIBS})
  if(KESTRIN_TEST_PCH)
    target_precompile_headers(${target} REUSE_FROM ${support})
  endif()

  kestrin_unoptimised_test_code(${target})
  kestrin_test_code_checks(${target})

  # One CTest test per test suite, listed after every build of the program.
  set(suites_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D "EXE=$<TARGET_FILE:${target}>" -D "PREFIX=${arg_PREFIX}."
            -D "OUT=${suites_file}" -D "TIMEOUT=${arg_TIMEOUT}" -D "ENVIRONMENT=${environment}"
            -D "WORKDIR=${CMAKE_CURRENT_BINARY_DIR}" -D "EMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
            -P "${KESTRIN_TEST_SUITES_SCRIPT}"
    BYPRODUCTS "${suites_file}"
    VERBATIM)
  file(WRITE "${include_file}"
    "if(EXISTS [==[${suites_file}]==])\n"
    "  include([==[${suites_file}]==])\n"
    "else()\n"
    "  add_test([==[${arg_PREFIX}.NOT_BUILT]==] [==[${target}_NOT_BUILT]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()

