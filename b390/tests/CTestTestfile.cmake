# CMake generated Testfile for 
# Source directory: /work/wt/lean/tests
# Build directory: /work/wt/lean/b390/tests
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[unit_tests]=] "qemu-s390x" "-L" "/usr/s390x-linux-gnu" "/work/wt/lean/b390/tests/loan_unit_tests")
set_tests_properties([=[unit_tests]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/wt/lean/tests/CMakeLists.txt;13;add_test;/work/wt/lean/tests/CMakeLists.txt;0;")
subdirs("../googletest")
