#pragma once

#include "core/logfile/CountryFile.h"

namespace zeltra::fuzz {

// A small country file, parsed once, for the readers that place calls.
inline const CountryFile& Countries() {
  static const CountryFile countries = CountryFile::Parse(
      "Poland: 15: 28: EU: 52.28: -18.67: -1.0: SP:\n    SN,SO,SP,SQ,SR,=SN0HQ{AS};\n"
      "United States of America: 05: 08: NA: 37.60: 91.87: 5.0: K:\n    AA,K,N,W;\n");
  return countries;
}

}  // namespace zeltra::fuzz
