# CMake generated Testfile for 
# Source directory: /work/wt/lean
# Build directory: /work/wt/lean/b390
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
subdirs("tests")
