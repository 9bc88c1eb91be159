
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/wt/lean/tests/cfg_test.cpp" "tests/CMakeFiles/loan_unit_tests.dir/cfg_test.cpp.o" "gcc" "tests/CMakeFiles/loan_unit_tests.dir/cfg_test.cpp.o.d"
  "/work/wt/lean/tests/power_test.cpp" "tests/CMakeFiles/loan_unit_tests.dir/power_test.cpp.o" "gcc" "tests/CMakeFiles/loan_unit_tests.dir/power_test.cpp.o.d"
  "/work/wt/lean/tests/text_test.cpp" "tests/CMakeFiles/loan_unit_tests.dir/text_test.cpp.o" "gcc" "tests/CMakeFiles/loan_unit_tests.dir/text_test.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/wt/lean/b390/CMakeFiles/loan_core.dir/DependInfo.cmake"
  "/work/wt/lean/b390/googletest/googletest/CMakeFiles/gtest_main.dir/DependInfo.cmake"
  "/work/wt/lean/b390/googletest/googletest/CMakeFiles/gtest.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
