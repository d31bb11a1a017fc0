#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace zeltra {

// Reads a stream line by line with a bound on a line's length, so that a
// file without line ends costs the bound in memory, not the file's size.
// Lines end with "\n"; a "\r" before it stays in the line.
class LineReader {
 public:
  enum class Result { kLine, kTooLong, kEnd };

  // firstLine: the number of the stream's first line in its file.
  LineReader(std::istream& in, std::size_t longestLine, std::size_t firstLine = 1);

  // The next line into line. kTooLong: the line was longer than the bound;
  // it is passed over to its end and line holds its start.
  Result Next(std::string& line);
  // The number of the line Next gave last, 1 for the first.
  std::size_t number() const { return number_; }

 private:
  std::istream& in_;
  std::size_t longestLine_;
  std::size_t number_ = 0;
  std::vector<char> buffer_;
};

}  // namespace zeltra
