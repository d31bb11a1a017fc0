// libFuzzer: a Cabrillo header's category lines ("TAG: value", one a line)
// read into typed categories; what is kept grows no faster than the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "organiser/reading/Categories.h"

namespace {

// Each category text is at most the input, once per key and unknown.
constexpr std::size_t kMostCopies = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::pair<std::string, std::string>> tags;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos)
      tags.emplace_back(std::string(line.substr(0, colon)), std::string(line.substr(colon + 1)));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  const zeltra::organiser::DeclaredCategories categories = zeltra::organiser::CategoriesOf(tags);
  std::size_t kept = categories.Declared().size() + categories.Ranked().size();
  for (const std::string& unknown : categories.unknown) kept += unknown.size();
  if (kept > kMostCopies * (size + 64)) std::abort();
  return 0;
}
