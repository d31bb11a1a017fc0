#pragma once

#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace zeltra {

// UTF-16 text, as some Windows programs save a log, read as UTF-8 a chunk
// at a time from another stream buffer: surrogate pairs joined (across
// chunks too), a lone surrogate read as U+FFFD, an odd last byte dropped.
// The byte-order mark is the caller's to pass over.
class Utf16Text : public std::streambuf {
 public:
  Utf16Text(std::streambuf& source, bool bigEndian);

  // Converts until at least count bytes of UTF-8 are ready, or the source
  // ends, without consuming them; answers what is ready.
  std::string_view Start(std::size_t count);

 protected:
  int_type underflow() override;

 private:
  // Converts one chunk of the source onto the end of the get area's text;
  // false when the source has nothing more.
  bool ConvertChunk();

  std::streambuf& source_;
  bool bigEndian_;
  std::vector<char> bytes_;  // the source's bytes, one chunk
  std::string text_;         // UTF-8 ready to be read
  char16_t pendingHigh_ = 0;
};

}  // namespace zeltra
