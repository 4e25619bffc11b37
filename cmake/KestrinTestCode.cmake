# Test, benchmark and binding code compiled without optimisation where
# KESTRIN_UNOPTIMISED_TEST_CODE asks for it (the sanitizer tree): it builds in
# about 60 % of the time, while the libraries under test keep their
# optimisation level.
function(kestrin_unoptimised_test_code target)
  if(KESTRIN_UNOPTIMISED_TEST_CODE)
    target_compile_options(${target} PRIVATE -O0)
  endif()
endfunction()

# The tests' and benchmarks' own code in the sanitizer tree: every check but
# UndefinedBehaviorSanitizer's null-pointer and alignment checks, which at -O0
# guard each member access of GoogleTest's macros and cost a fifth of these
# files' compile time. A null dereference there still stops the test
# (AddressSanitizer reports it), and the libraries under test, the programs and
# the Python module keep both checks.
function(kestrin_test_code_checks target)
  if(KESTRIN_SANITIZE AND KESTRIN_UNOPTIMISED_TEST_CODE)
    target_compile_options(${target} PRIVATE -fno-sanitize=null,alignment)
  endif()
endfunction()

# The workbench's widgets and dialogs and the command line's reports in the
# sanitizer tree: light work next to the analyses they call, so built for
# debugging (-Og, about 70 % of -O1's compile time) while the computing
# libraries (core, platform, document, analysis) keep their optimisation.
function(kestrin_interface_code target)
  if(KESTRIN_UNOPTIMISED_TEST_CODE)
    target_compile_options(${target} PRIVATE -Og)
  endif()
endfunction()
