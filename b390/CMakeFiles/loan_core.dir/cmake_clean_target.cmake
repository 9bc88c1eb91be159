file(REMOVE_RECURSE
  "libloan_core.a"
)
