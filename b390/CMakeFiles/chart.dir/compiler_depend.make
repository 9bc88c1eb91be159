# Empty custom commands generated dependencies file for chart.
# This may be replaced when dependencies are built.
