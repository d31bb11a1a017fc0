# Compiler warnings as an INTERFACE target: everything we build links it.
add_library(zeltra_warnings INTERFACE)
target_compile_options(zeltra_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  $<$<BOOL:${ZELTRA_WERROR}>:-Werror>)
