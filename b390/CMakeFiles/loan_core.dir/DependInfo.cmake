
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/wt/lean/src/cfg.cpp" "CMakeFiles/loan_core.dir/src/cfg.cpp.o" "gcc" "CMakeFiles/loan_core.dir/src/cfg.cpp.o.d"
  "/work/wt/lean/src/console.cpp" "CMakeFiles/loan_core.dir/src/console.cpp.o" "gcc" "CMakeFiles/loan_core.dir/src/console.cpp.o.d"
  "/work/wt/lean/src/loan.cpp" "CMakeFiles/loan_core.dir/src/loan.cpp.o" "gcc" "CMakeFiles/loan_core.dir/src/loan.cpp.o.d"
  "/work/wt/lean/src/power.cpp" "CMakeFiles/loan_core.dir/src/power.cpp.o" "gcc" "CMakeFiles/loan_core.dir/src/power.cpp.o.d"
  "/work/wt/lean/src/text.cpp" "CMakeFiles/loan_core.dir/src/text.cpp.o" "gcc" "CMakeFiles/loan_core.dir/src/text.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
