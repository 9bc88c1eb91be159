# Empty custom commands generated dependencies file for compare.
# This may be replaced when dependencies are built.
