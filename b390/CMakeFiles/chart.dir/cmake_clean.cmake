file(REMOVE_RECURSE
  "CMakeFiles/chart"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/chart.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
