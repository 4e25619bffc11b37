# kestrin_add_test(<target> PREFIX <name> SOURCES <files...> [LIBS <libs...>]
#                  [TIMEOUT <seconds>] [GUI])
#
# One GoogleTest executable of the suite. Every test target links the shared
# test support (builders, bit comparisons, the CLI runner, JSON) and reuses its
# precompiled headers, so the test targets must not add compile definitions of
# their own: paths the tests need are defined once on the support library.
# GUI targets get the workbench's test main (offscreen platform, settings in a
# directory of their own) and the Qt precompiled headers.
function(kestrin_add_test target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "GUI" "PREFIX;TIMEOUT" "SOURCES;LIBS")
  if(NOT arg_PREFIX)
    message(FATAL_ERROR "kestrin_add_test(${target}): PREFIX is required")
  endif()
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 120)
  endif()

  add_executable(${target} ${arg_SOURCES})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  if(arg_GUI)
    set(support kestrin_test_support_gui)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    set(environment ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    set(support kestrin_test_support)
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
    set(environment)
  endif()
  target_link_libraries(${target} PRIVATE ${support} ${arg_LIBS})
  if(KESTRIN_TEST_PCH)
    target_precompile_headers(${target} REUSE_FROM ${support})
  endif()

  gtest_discover_tests(${target} TEST_PREFIX "${arg_PREFIX}." DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT ${arg_TIMEOUT} ${environment})
endfunction()
