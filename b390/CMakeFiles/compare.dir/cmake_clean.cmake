file(REMOVE_RECURSE
  "CMakeFiles/compare"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/compare.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
