file(REMOVE_RECURSE
  "CMakeFiles/loan_unit_tests.dir/cfg_test.cpp.o"
  "CMakeFiles/loan_unit_tests.dir/cfg_test.cpp.o.d"
  "CMakeFiles/loan_unit_tests.dir/power_test.cpp.o"
  "CMakeFiles/loan_unit_tests.dir/power_test.cpp.o.d"
  "CMakeFiles/loan_unit_tests.dir/text_test.cpp.o"
  "CMakeFiles/loan_unit_tests.dir/text_test.cpp.o.d"
  "loan_unit_tests"
  "loan_unit_tests.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/loan_unit_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
