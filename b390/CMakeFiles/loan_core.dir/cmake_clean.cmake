file(REMOVE_RECURSE
  "CMakeFiles/loan_core.dir/src/cfg.cpp.o"
  "CMakeFiles/loan_core.dir/src/cfg.cpp.o.d"
  "CMakeFiles/loan_core.dir/src/console.cpp.o"
  "CMakeFiles/loan_core.dir/src/console.cpp.o.d"
  "CMakeFiles/loan_core.dir/src/loan.cpp.o"
  "CMakeFiles/loan_core.dir/src/loan.cpp.o.d"
  "CMakeFiles/loan_core.dir/src/power.cpp.o"
  "CMakeFiles/loan_core.dir/src/power.cpp.o.d"
  "CMakeFiles/loan_core.dir/src/text.cpp.o"
  "CMakeFiles/loan_core.dir/src/text.cpp.o.d"
  "libloan_core.a"
  "libloan_core.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/loan_core.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
