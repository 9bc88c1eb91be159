# Empty custom commands generated dependencies file for debian_changelog.
# This may be replaced when dependencies are built.
