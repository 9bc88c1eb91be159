# Empty dependencies file for loan.
# This may be replaced when dependencies are built.
