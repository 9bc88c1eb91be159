file(REMOVE_RECURSE
  "CMakeFiles/loan.dir/src/main.cpp.o"
  "CMakeFiles/loan.dir/src/main.cpp.o.d"
  "loan"
  "loan.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/loan.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
