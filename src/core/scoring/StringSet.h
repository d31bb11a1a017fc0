#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/text/Ascii.h"

namespace zeltra {

// An unordered list of texts whose look-up ignores ASCII letter case. Each
// text is kept as it was first added, in the order of adding; a hash index
// that ignores case answers look-ups without scanning or copying.
class StringSet {
 public:
  bool Contains(std::string_view text) const;
  // Adds text unless a text equal to it but for letter case is present;
  // answers whether it was added.
  bool Add(std::string_view text);
  void Clear();

  const std::vector<std::string>& items() const { return items_; }
  std::size_t size() const { return items_.size(); }

 private:
  std::vector<std::string> items_;
  std::unordered_set<std::string, AsciiCaseInsensitiveHash, AsciiCaseInsensitiveEqual> index_;
};

}  // namespace zeltra
