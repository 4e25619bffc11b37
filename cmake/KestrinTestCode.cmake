# Test, benchmark and binding code compiled without optimisation where
# KESTRIN_UNOPTIMISED_TEST_CODE asks for it (the sanitizer tree): it builds in
# about 60 % of the time, while the libraries under test keep their
# optimisation level.
function(kestrin_unoptimised_test_code target)
  if(KESTRIN_UNOPTIMISED_TEST_CODE)
    target_compile_options(${target} PRIVATE -O0)
  endif()
endfunction()
