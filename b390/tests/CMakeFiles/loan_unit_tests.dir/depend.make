# Empty dependencies file for loan_unit_tests.
# This may be replaced when dependencies are built.
