#pragma once

#include <string_view>

namespace zeltra {

// The station a call names, its designators set aside: "SP1AAA/P",
// "SP1AAA/QRP", "SP1AAA/3" and "OK/SP1AAA" are all SP1AAA. Of the parts
// between strokes it is the longest, the first of two as long, as a home
// call is longer than a prefix or a designator. A part of the call given,
// upper case as given.
std::string_view StationCall(std::string_view call);

}  // namespace zeltra
