#include "core/crosscheck/StationCall.h"

namespace zeltra {

std::string_view StationCall(std::string_view call) {
  std::string_view longest;
  std::size_t at = 0;
  while (at <= call.size()) {
    std::size_t end = call.find('/', at);
    if (end == std::string_view::npos) end = call.size();
    const std::string_view part = call.substr(at, end - at);
    if (part.size() > longest.size()) longest = part;
    at = end + 1;
  }
  return longest.empty() ? call : longest;
}

}  // namespace zeltra
