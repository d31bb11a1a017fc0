#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace zeltra {

// The band and mode of every contact of one call sign recorded so far. In a
// replay by call sign a duplicate can only be among the contacts of its own
// call sign, so this small set, emptied at each new call sign, does the work
// of an index of the whole log. Compared byte for byte, as the index does.
class CallRunDuplicates {
 public:
  // Starts the next call sign.
  void Clear();
  // Adds band and mode unless they are present; answers whether added.
  bool Add(std::string_view band, std::string_view mode);

 private:
  // Few contacts share a call sign: they are compared one by one until
  // there are this many, then hashed, so that a log repeating one call
  // sign a million times costs no more than a long one.
  static constexpr std::size_t kComparedOneByOne = 16;

  static std::string KeyOf(std::string_view band, std::string_view mode);

  std::vector<std::string> keys_;
  std::unordered_set<std::string> hashed_;
};

}  // namespace zeltra
