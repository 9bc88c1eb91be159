# Empty dependencies file for loan_core.
# This may be replaced when dependencies are built.
