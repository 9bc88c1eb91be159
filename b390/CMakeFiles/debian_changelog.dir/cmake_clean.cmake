file(REMOVE_RECURSE
  "CMakeFiles/debian_changelog"
  "changelog.gz"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/debian_changelog.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
