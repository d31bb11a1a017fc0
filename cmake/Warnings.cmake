# Compiler warnings as an INTERFACE target: everything we build links it.
add_library(zeltra_warnings INTERFACE)
target_compile_options(zeltra_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  # GCC 12 reports "literal + std::string" concatenations as overlapping
  # copies under optimisation (GCC bug 105329), a false positive.
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>
  $<$<BOOL:${ZELTRA_WERROR}>:-Werror>)
