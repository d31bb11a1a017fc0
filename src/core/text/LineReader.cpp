#include "core/text/LineReader.h"

#include <limits>

namespace zeltra {

LineReader::LineReader(std::istream& in, std::size_t longestLine, std::size_t firstLine)
    : in_(in), longestLine_(longestLine), number_(firstLine - 1), buffer_(longestLine + 1) {}

LineReader::Result LineReader::Next(std::string& line) {
  line.clear();
  if (!in_.good()) return Result::kEnd;
  // getline stops at the bound with failbit set and the line's end unread.
  in_.getline(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  const auto got = static_cast<std::size_t>(in_.gcount());
  if (got == 0 && in_.eof()) return Result::kEnd;
  ++number_;
  if (in_.fail() && !in_.eof() && got == longestLine_) {
    line.assign(buffer_.data(), got);
    in_.clear();
    in_.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    return Result::kTooLong;
  }
  // gcount counts the line end it took out.
  const bool ended = !in_.eof();
  line.assign(buffer_.data(), ended ? got - 1 : got);
  if (in_.eof()) in_.clear(std::ios::eofbit);
  return Result::kLine;
}

}  // namespace zeltra
